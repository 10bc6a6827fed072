// The windowed front end: main window, dialogs, printing and the system
// calls. Message boxes, the meter and the error dialog are in qt_boxes.cpp.
#include "platform/gui/qt/qt_gui.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>
#include <iostream>

#include "platform/gui/qt/dialog_window.h"
#include "platform/gui/qt/main_frame.h"
#include "platform/gui/qt/qt_convert.h"
#include "platform/gui/qt/qt_print.h"

namespace qv::gui {

namespace {

// Follows Escape and Enter so the key state is what the keyboard says.
class KeyTracker : public QObject {
 public:
  explicit KeyTracker(KeyState& keys) : keys_(keys) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
      const auto* key = static_cast<QKeyEvent*>(event);
      const bool down = event->type() == QEvent::KeyPress;
      if (!key->isAutoRepeat()) {
        if (key->key() == Qt::Key_Escape) keys_.Set(Key::kEscape, down);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
          keys_.Set(Key::kEnter, down);
        }
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  KeyState& keys_;
};

}  // namespace

QtGui::QtGui(GuiOptions options, QtOptions qt)
    : Gui(std::move(options)), qt_(std::move(qt)), key_tracker_(new KeyTracker(keys())) {
  // Deleting the tracker with the front end also removes the filter.
  qApp->installEventFilter(key_tracker_.get());
}

QtGui::~QtGui() {
  for (auto& [model, entry] : non_modal_) delete entry.second;
  if (frame_ != nullptr) {
    frame_->setAttribute(Qt::WA_DeleteOnClose, false);
    delete frame_;
  }
}

QWidget* QtGui::Owner() const {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return window_open_ ? frame_ : nullptr;
}

// --- main window ---

void QtGui::OpenMainWindow(MainWindow window) {
  if (frame_ != nullptr) {
    frame_->setAttribute(Qt::WA_DeleteOnClose, false);
    delete frame_;
  }
  window_ = std::move(window);
  frame_ = new MainFrame(window_, [this] { window_open_ = false; });
  window_open_ = true;
}

void QtGui::RunMainWindow() {
  if (frame_ == nullptr) return;
  frame_->show();
  while (window_open_) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
}

bool QtGui::MainWindowOpen() const { return window_open_; }

void QtGui::CloseMainWindow() {
  if (frame_ != nullptr && window_open_) frame_->close();
  window_open_ = false;
}

void QtGui::SetWindowTitle(std::string_view title) {
  window_.title = std::string(title);
  if (frame_ != nullptr) frame_->setWindowTitle(ToQt(title));
}

void QtGui::SetMessageBar(std::string_view text) {
  if (frame_ != nullptr) frame_->SetMessage(text);
}

void QtGui::EnableMenu(bool enabled) {
  if (frame_ != nullptr) frame_->EnableMenu(enabled);
}

void QtGui::FocusMainWindow() {
  if (frame_ != nullptr) frame_->activateWindow();
}

void QtGui::RepaintMainWindow() {
  if (frame_ != nullptr && frame_->centralWidget() != nullptr) frame_->centralWidget()->update();
}

// --- dialogs ---

void QtGui::FeedAnswers(DialogWindow& window) {
  Dialog& model = window.model();
  while (!answers().empty() && !model.ended()) {
    window.SyncToModel();
    const Answer answer = answers().Pop();
    const Status s = ApplyAnswer(model, answer, dates(), keys());
    if (!s.ok()) std::cerr << "dropped: " << s.message() << "\n";
    window.SyncFromModel();
  }
  window.FinishIfEnded();
}

void QtGui::RunModal(Dialog& dialog) {
  keys().ClearPulses();
  if (dialog.ended()) dialog.Reopen();
  DialogWindow window(dialog, keys(), dates(), Owner());
  window.setModal(true);
  if (dialog.TakesAnswers() && !answers().empty()) {
    QTimer::singleShot(0, &window, [this, &window] { FeedAnswers(window); });
  }
  if (!dialog.ended()) window.exec();
}

DialogWindow* QtGui::WindowOf(const Dialog& dialog) const {
  auto it = non_modal_.find(&dialog);
  return it == non_modal_.end() ? nullptr : it->second.second;
}

void QtGui::ShowNonModal(std::shared_ptr<Dialog> dialog) {
  if (dialog->ended()) dialog->Reopen();
  DialogWindow* window = WindowOf(*dialog);
  if (window == nullptr) {
    window = new DialogWindow(*dialog, keys(), dates(), frame_);
    window->setModal(false);
    non_modal_[dialog.get()] = {dialog, window};
  }
  window->SyncFromModel();
  window->show();
  window->raise();
}

void QtGui::HideDialog(Dialog& dialog) {
  if (DialogWindow* window = WindowOf(dialog)) window->hide();
}

void QtGui::CloseDialog(Dialog& dialog) {
  auto it = non_modal_.find(&dialog);
  if (it == non_modal_.end()) return;
  dialog.End();
  if (!dialog.ended()) dialog.PressCloseBox();
  delete it->second.second;
  non_modal_.erase(it);
}

void QtGui::RefreshDialog(Dialog& dialog) {
  if (DialogWindow* window = WindowOf(dialog)) window->SyncFromModel();
}

// --- printing ---

std::shared_ptr<PrintJob> QtGui::BeginPrint(std::string_view document) {
  const std::string name(document);
  if (!qt_.printer_present) {
    return std::make_shared<RecordingPrintJob>(name, false, 0, 0, RecordingPrintJob::Hooks{});
  }
  RecordingPrintJob::Hooks hooks;
  if (!qt_.pdf_folder.empty()) {
    const std::string folder = qt_.pdf_folder;
    hooks.on_end = [folder](const PrintedDocument& d) {
      const Status s = PdfFolderSink(folder).Write(d);
      if (!s.ok()) std::cerr << s.ToString() << "\n";
    };
    constexpr int kLetterWidth = 85 * kPdfResolution / 10;  // 8.5 inches
    constexpr int kLetterHeight = 11 * kPdfResolution;
    return std::make_shared<RecordingPrintJob>(name, true, kLetterWidth, kLetterHeight,
                                               std::move(hooks));
  }
  if (QPrinterInfo::defaultPrinter().isNull()) {
    return std::make_shared<RecordingPrintJob>(name, false, 0, 0, RecordingPrintJob::Hooks{});
  }
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(ToQt(name));
  const int width = printer->width();
  const int height = printer->height();
  hooks.on_end = [printer](const PrintedDocument& d) { RenderDocument(*printer, d); };
  return std::make_shared<RecordingPrintJob>(name, true, width, height, std::move(hooks));
}

// --- system ---

void QtGui::ProcessPendingMessages() {
  keys().ClearPulses();
  QCoreApplication::processEvents();
}

int64_t QtGui::ActiveWindowHandle() {
  QWidget* active = QApplication::activeModalWidget();
  if (active == nullptr) active = QApplication::activeWindow();
  return active == nullptr ? 0 : static_cast<int64_t>(active->winId());
}

}  // namespace qv::gui
