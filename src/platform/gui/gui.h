// The GUI toolkit interface the program is written against: main window and
// menu, dialogs from templates, message boxes, the meter, print jobs, pending
// messages, key state and the run-time error dialog (Quit, Retry, Default).
// Implemented by real windows (gui/qt) and the headless front end (gui/script);
// every modal answer first comes from answers(), so tests can feed any dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/gui/answers.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/dialog.h"
#include "platform/gui/dialog_template.h"
#include "platform/gui/main_window.h"
#include "platform/gui/meter.h"
#include "platform/gui/print_job.h"
#include "platform/runtime/date.h"
#include "platform/runtime/error.h"

namespace qv::gui {

// What every front end is given.
struct GuiOptions {
  // Reads files named by Windows paths (bitmaps, icons). Unset: nothing can
  // be read (NotFound).
  FileReader files;
  // GETWINDIR's answer.
  std::string windows_folder = "C:\\WINDOWS";
  // The two-digit-year window typed dates are read with; nullptr: 1900.
  // Not owned; must outlive the front end.
  const rt::DateSettings* dates = nullptr;
};

class Gui : public rt::ErrorHandler {
 public:
  explicit Gui(GuiOptions options);
  ~Gui() override = default;
  Gui(const Gui&) = delete;
  Gui& operator=(const Gui&) = delete;

  // --- main window ---
  // Creates (does not yet show) the main window; replaces an earlier one.
  virtual void OpenMainWindow(MainWindow window) = 0;
  // Shows it and runs its event loop until it closes. REQUIRES: OpenMainWindow.
  virtual void RunMainWindow() = 0;
  virtual bool MainWindowOpen() const = 0;
  virtual void CloseMainWindow() = 0;
  virtual void SetWindowTitle(std::string_view title) = 0;
  // The message bar's text, left-aligned; "" shows its default text again, centred.
  virtual void SetMessageBar(std::string_view text) = 0;
  virtual void EnableMenu(bool enabled) = 0;
  virtual void FocusMainWindow() = 0;
  virtual void RepaintMainWindow() = 0;

  // --- dialogs ---
  // A dialog from the registered template name; NotFound when there is none.
  Result<std::shared_ptr<Dialog>> NewDialog(std::string_view template_name);
  // Shows dialog modal and returns when it has ended.
  virtual void RunModal(Dialog& dialog) = 0;
  // Shows dialog without waiting; the front end keeps it until CloseDialog.
  // Showing an ended dialog again reopens it.
  virtual void ShowNonModal(std::shared_ptr<Dialog> dialog) = 0;
  virtual void HideDialog(Dialog& dialog) = 0;
  // Ends and removes a non-modal dialog (a closed one: nothing happens).
  virtual void CloseDialog(Dialog& dialog) = 0;
  // Shows a changed control value or title of a shown dialog.
  virtual void RefreshDialog(Dialog& dialog) = 0;

  // --- message boxes ---
  virtual void ShowMessage(MessageKind kind, std::string_view text) = 0;
  // "Select an option": true for Yes.
  virtual bool AskYesNo(std::string_view text, bool default_yes) = 0;
  virtual void Beep() = 0;
  // Runs action inside the meter dialog; true when its Cancel was pressed.
  virtual bool RunMeter(std::string_view text, std::string_view title,
                        const MeterAction& action) = 0;

  // --- printing ---
  // A job on the default printer, without printer dialog or preview; a job
  // that is not ready when there is no printer device.
  virtual std::shared_ptr<PrintJob> BeginPrint(std::string_view document) = 0;

  // --- system ---
  // Handles pending window messages (repaints, a pressed Cancel) and returns.
  virtual void ProcessPendingMessages() = 0;
  // True while the key is down.
  bool KeyDown(Key key) { return keys_.Down(key); }
  // A number naming the active window (0: none).
  virtual int64_t ActiveWindowHandle() = 0;
  const std::string& WindowsFolder() const { return options_.windows_folder; }

  // --- the run-time error dialog (rt::ErrorHandler) ---
  // Handle(info) asks Quit, Retry or Default.

  // --- shared parts ---
  TemplateRegistry& templates() { return templates_; }
  AnswerQueue& answers() { return answers_; }
  KeyState& keys() { return keys_; }
  // A bitmap file through the options' reader.
  Result<Bitmap> ReadBitmap(std::string_view windows_path) const;
  const rt::DateSettings& dates() const;

 private:
  GuiOptions options_;
  TemplateRegistry templates_;
  AnswerQueue answers_;
  KeyState keys_;
};

}  // namespace qv::gui
