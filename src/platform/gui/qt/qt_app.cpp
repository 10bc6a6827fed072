#include "platform/gui/qt/qt_app.h"

#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>

namespace qv::gui {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

std::unique_ptr<QtApp> QtApp::ForWindows() {
  std::unique_ptr<QtApp> app(new QtApp());
  app->app_ = std::make_unique<QApplication>(app->argc_, app->argv_);
  return app;
}

std::unique_ptr<QtApp> QtApp::ForOffscreenPrinting() {
  std::unique_ptr<QtApp> app(new QtApp());
  // Only the headless front end prints through Qt: never a window.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  app->app_ = std::make_unique<QGuiApplication>(app->argc_, app->argv_);
  return app;
}

QtApp::~QtApp() = default;

bool DisplayAvailable() {
  return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM");
}

}  // namespace qv::gui
