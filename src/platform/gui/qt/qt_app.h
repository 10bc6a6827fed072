// The process's Qt application object, for the two uses the program has:
// the windowed front end (a QApplication on the display) and PDF printing
// from the headless front end (a QGuiApplication on the offscreen platform,
// which PdfFolderSink needs). One per process; destroy it last.
#pragma once

#include <memory>

class QCoreApplication;

namespace qv::gui {

class QtApp {
 public:
  // A QApplication on the platform Qt chooses. REQUIRES: DisplayAvailable().
  static std::unique_ptr<QtApp> ForWindows();
  // A QGuiApplication on the offscreen platform (no display needed).
  static std::unique_ptr<QtApp> ForOffscreenPrinting();
  ~QtApp();
  QtApp(const QtApp&) = delete;
  QtApp& operator=(const QtApp&) = delete;

 private:
  QtApp() = default;
  int argc_ = 1;
  char name_[16] = "quorvanta-setup";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QCoreApplication> app_;
};

// Whether windows can be shown: $DISPLAY or $WAYLAND_DISPLAY is set, or
// QT_QPA_PLATFORM names a platform (offscreen, for tests).
bool DisplayAvailable();

}  // namespace qv::gui
