// The main window through the Qt front end, offscreen, on the sample media
// built from media/: the same title, menu and message bar as headless, and
// a screenshot in the build folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "app/program.h"
#include "app/registration.h"
#include "media_tree.h"
#include "menu_tables.h"
#include "platform/fs/win_fs.h"
#include "platform/gui/qt/main_frame.h"
#include "platform/gui/qt/qt_gui.h"
#include "platform/gui/qt/qt_test_app.h"
#include "testing/testing.h"

namespace qv::app {
namespace {

// Drive C a prepared Windows drive in dir/c, drive D (current) dir/d_folder.
fs::WinFs Drives(fs::Env& env, const qv::testing::TempDir& dir, const std::string& d_folder) {
  fs::DriveMap map;
  map.roots = {{'C', dir.Sub("c")}, {'D', dir.Sub(d_folder)}};
  map.current = 'D';
  EXPECT_TRUE(fs::PrepareDriveC(env, dir.Sub("c"), "C:\\WINDOWS").ok());
  return fs::WinFs(env, map);
}

TEST(MainWindowQt, ShowsTheSampleMediaMenu) {
  gui::testing::TestApp();
  qv::testing::TempDir dir;
  std::unique_ptr<fs::Env> env = fs::NewHostEnv();
  ASSERT_TRUE(media::BuildTree(*env, std::string(QV_MEDIA_DIR) + "/cd", dir.Sub("cd"),
                               rt::Date::FromYmd(2026, 12, 11))
                  .ok());
  fs::WinFs win_fs = Drives(*env, dir, "cd");
  rt::Session session(rt::Clock::Frozen(rt::Date::FromYmd(2026, 12, 11), 9 * 3600));
  gui::QtGui gui(gui::GuiOptions{}, gui::QtOptions{});
  tables::Context ctx(session, win_fs, gui);
  RegisterAllProcedures(ctx, shell::StartupOptions{});

  std::string title, message;
  std::vector<std::string> bar;
  bool menu_enabled = false;
  QTimer::singleShot(50, [&] {
    gui::MainFrame* frame = gui.main_frame();
    ASSERT_NE(frame, nullptr);
    title = frame->windowTitle().toStdString();
    for (QAction* a : frame->menuBar()->actions()) bar.push_back(a->text().toStdString());
    if (auto* label = frame->statusBar()->findChild<QLabel*>())
      message = label->text().toStdString();
    menu_enabled = frame->menuBar()->isEnabled();
    gui::testing::SaveScreenshot(frame, "main_window_media");
    frame->close();
  });
  rt::Call(session, "MAIN", {});
  EXPECT_EQ(title, "  Install    Quorvanta Scheduler");
  EXPECT_EQ(bar, (std::vector<std::string>{"Install", "Conversion", "Company", "Help"}));
  EXPECT_EQ(message, "Quorvanta Scheduler setup: choose a task from the menu");
  EXPECT_TRUE(menu_enabled);
  EXPECT_EQ(session.settings().exit_code, 1);
}

// Help > Exit answered Yes ends the run with exit code 0 out of Qt's event
// loop; answered No, the program goes on until its window closes (1).
TEST(MainWindowQt, ExitThroughTheMenu) {
  gui::testing::TestApp();
  for (const char* answer : {"yes", "no"}) {
    qv::testing::TempDir dir;
    std::unique_ptr<fs::Env> env = fs::NewHostEnv();
    ASSERT_TRUE(env->MakeDir(dir.Sub("d")).ok());
    ASSERT_TRUE(env->MakeDir(dir.Sub("d/exe")).ok());
    qv::testing::WriteHostFile(dir.Sub("d/exe/ctl3d.dll"), "3-D controls (test)");
    shell::testing::WriteMenuTable(
        *env, dir.Sub("d/menuset.dbf"),
        {{"Help", "", ""}, {"  Exit", "", R"({|| CHECK_PASS("CANCELNOW")})"}});
    shell::testing::WriteMessageTable(*env, dir.Sub("d/message.dbf"),
                                      {{234, R"("Exit ZENTHOR Now. Y/N")"}});
    fs::WinFs win_fs = Drives(*env, dir, "d");
    rt::Session session(rt::Clock::Frozen(rt::Date::FromYmd(2026, 12, 11), 9 * 3600));
    gui::QtGui gui(gui::GuiOptions{}, gui::QtOptions{});
    gui.answers().Push(gui::ParseAnswer(answer).value());
    bool chosen = false;
    QTimer::singleShot(50, [&] {
      ASSERT_NE(gui.main_frame(), nullptr);
      for (QAction* a : gui.main_frame()->findChildren<QAction*>()) {
        if (a->text() == "Exit") {
          chosen = true;
          a->trigger();
        }
      }
      if (gui.MainWindowOpen()) gui.main_frame()->close();
    });
    const int code = RunWithWindows(session, win_fs, gui);
    EXPECT_TRUE(chosen) << answer;
    EXPECT_EQ(code, std::string(answer) == "yes" ? 0 : 1) << answer;
  }
}

}  // namespace
}  // namespace qv::app
