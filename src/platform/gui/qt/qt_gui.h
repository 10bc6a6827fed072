// The windowed front end: real Qt windows, menus, message boxes, progress
// dialogs and printing. REQUIRES: a QApplication exists for the front end's
// lifetime. Queued answers (answers()) are applied to dialogs and questions
// as soon as they are shown, so tests can drive this front end the same way
// as the headless one.
#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <string>

#include "platform/gui/gui.h"

namespace qv::gui {

class DialogWindow;
class MainFrame;

struct QtOptions {
  bool printer_present = true;  // false: QUORVANTA_PRINTER=none
  std::string pdf_folder;       // QUORVANTA_PRINT_PDF: print jobs become PDF files there
};

class QtGui : public Gui {
 public:
  QtGui(GuiOptions options, QtOptions qt);
  ~QtGui() override;

  void OpenMainWindow(MainWindow window) override;
  void RunMainWindow() override;
  bool MainWindowOpen() const override;
  void CloseMainWindow() override;
  void SetWindowTitle(std::string_view title) override;
  void SetMessageBar(std::string_view text) override;
  void EnableMenu(bool enabled) override;
  void FocusMainWindow() override;
  void RepaintMainWindow() override;
  void RunModal(Dialog& dialog) override;
  void ShowNonModal(std::shared_ptr<Dialog> dialog) override;
  void HideDialog(Dialog& dialog) override;
  void CloseDialog(Dialog& dialog) override;
  void RefreshDialog(Dialog& dialog) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool AskYesNo(std::string_view text, bool default_yes) override;
  void Beep() override;
  bool RunMeter(std::string_view text, std::string_view title, const MeterAction& action) override;
  std::shared_ptr<PrintJob> BeginPrint(std::string_view document) override;
  void ProcessPendingMessages() override;
  int64_t ActiveWindowHandle() override;
  rt::ErrorChoice Handle(const rt::ErrorInfo& info) override;

  // The main window's widget (nullptr before OpenMainWindow), for tests.
  MainFrame* main_frame() const { return frame_; }
  // The window of a shown non-modal dialog, nullptr when none.
  DialogWindow* WindowOf(const Dialog& dialog) const;

 private:
  QWidget* Owner() const;
  // Applies queued answers to an open dialog window.
  void FeedAnswers(DialogWindow& window);

  QtOptions qt_;
  std::unique_ptr<QObject> key_tracker_;  // an application event filter
  MainWindow window_;
  MainFrame* frame_ = nullptr;  // owned by Qt (deletes on close)
  bool window_open_ = false;
  std::map<const Dialog*, std::pair<std::shared_ptr<Dialog>, DialogWindow*>> non_modal_;
};

}  // namespace qv::gui
