// Printing through Qt: a recorded document is rendered page by page onto a
// printer or a PDF writer. PdfFolderSink turns finished documents into PDF
// files in a folder (QUORVANTA_PRINT_PDF); it needs a QGuiApplication.
#pragma once

#include <QPagedPaintDevice>
#include <memory>
#include <string>

#include "platform/gui/print_job.h"

namespace qv::gui {

// Draws every page of document on device, a new page per recorded page.
// Rows and columns are device pixels of the document's resolution, scaled
// to the device when its resolution differs.
void RenderDocument(QPagedPaintDevice& device, const PrintedDocument& document);

// Letter at 600 dpi, no margins: 5100 x 6600 device pixels.
inline constexpr int kPdfResolution = 600;

class PdfFolderSink : public PrintSink {
 public:
  explicit PdfFolderSink(std::string folder) : folder_(std::move(folder)) {}
  // Writes folder/NAME.pdf (NAME from the document name, with a number
  // added when the file exists). IOError when it cannot be written.
  Status Write(const PrintedDocument& document) override;

 private:
  std::string folder_;
};

// The path a document's PDF gets in folder: the name with characters
// unfit for file names replaced by '_', then "-2", "-3"... when taken.
std::string PdfPathFor(const std::string& folder, const std::string& document);

}  // namespace qv::gui
