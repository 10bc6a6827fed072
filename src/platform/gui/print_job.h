// A print job on the default printer: pages of text placed at device-pixel
// positions. A job without a printer device is not ready and prints nothing.
// PrintSink lets a front end also write each job as a document file (PDF),
// without this layer knowing how.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"
#include "platform/gui/types.h"
#include "platform/runtime/value.h"

namespace qv::gui {

class PrintJob : public rt::Object {
 public:
  std::string_view ClassName() const override { return "PRINTER"; }

  // False when there is no printer device: every other call then does nothing.
  virtual bool ready() const = 0;
  // Printable width and height in device pixels (0 when not ready).
  virtual int horz_res() const = 0;
  virtual int vert_res() const = 0;
  virtual void PageBegin() = 0;
  virtual void PageEnd() = 0;
  // Text at a device-pixel position (row down, column across); the printer's
  // default font when font is nullptr.
  virtual void Say(int row, int column, std::string_view text, const Font* font) = 0;
  // Sends the document. Later calls do nothing.
  virtual void End() = 0;
};

// One placed text of a recorded page.
struct PrintedText {
  int row = 0;
  int column = 0;
  std::string text;  // code page 1252
  std::optional<Font> font;
};

// A finished job as recorded: pages of placed texts.
struct PrintedDocument {
  std::string name;
  int horz_res = 0;
  int vert_res = 0;
  std::vector<std::vector<PrintedText>> pages;
};

// A print job that records its pages and reports each step to hooks; the
// front ends build theirs on it (a transcript, a printer or PDF at the end).
class RecordingPrintJob : public PrintJob {
 public:
  struct Hooks {
    std::function<void(int page)> on_page;  // a page begins (1-based)
    std::function<void(int page, const PrintedText&)> on_text;
    std::function<void(const PrintedDocument&)> on_end;  // End() of a ready job
  };
  // ready false: no printer device; the sizes are then reported as 0.
  RecordingPrintJob(std::string document, bool ready, int horz_res, int vert_res, Hooks hooks);

  bool ready() const override { return ready_; }
  int horz_res() const override { return ready_ ? document_.horz_res : 0; }
  int vert_res() const override { return ready_ ? document_.vert_res : 0; }
  // A second PageBegin() without PageEnd() starts a new sheet.
  void PageBegin() override;
  void PageEnd() override;
  // Text outside a page goes onto a new page.
  void Say(int row, int column, std::string_view text, const Font* font) override;
  void End() override;

  const PrintedDocument& document() const { return document_; }

 private:
  bool ready_;
  bool ended_ = false;
  bool page_open_ = false;
  Hooks hooks_;
  PrintedDocument document_;
};

// Receives each finished document (e.g. to write a PDF file).
class PrintSink {
 public:
  virtual ~PrintSink() = default;
  virtual Status Write(const PrintedDocument& document) = 0;
};

}  // namespace qv::gui
