// The one application object the Qt tests share, on the offscreen platform,
// and helpers that act on a modal window once it is shown.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <string>

namespace qv::gui::testing {

inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "qv_qt_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Runs act on the modal window as soon as one is shown (polled from the
// event loop the modal window runs). Gives up after a bounded number of polls
// by closing whatever is modal, so a test cannot hang.
inline void WhenModalShown(std::function<void(QWidget*)> act, int polls_left = 500) {
  QTimer::singleShot(10, [act = std::move(act), polls_left]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
      act(modal);
    } else if (polls_left > 0) {
      WhenModalShown(std::move(act), polls_left - 1);
    }
  });
}

// Saves a picture of widget as NAME.png in the build folder; returns the path.
inline std::string SaveScreenshot(QWidget* widget, const std::string& name) {
  const std::string path = std::string(QV_SCREENSHOT_DIR) + "/" + name + ".png";
  widget->grab().save(QString::fromStdString(path));
  return path;
}

}  // namespace qv::gui::testing
