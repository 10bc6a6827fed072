// Start-up (MAIN): session variables and settings, the start folder, the copy
// of the 3-D controls library, the main window and its paint action.
#include <gtest/gtest.h>

#include "platform/gui/bitmap.h"
#include "platform/rdd/workspace.h"
#include "platform/xbase/expr.h"
#include "platform/xbase/value_text.h"
#include "shell/startup/copy_file.h"
#include "shell/startup/fonts.h"
#include "shell/startup/handles.h"
#include "shell/startup/main_proc.h"
#include "startup_fixture.h"

namespace qv::shell::testing {
namespace {

const std::vector<Row> kSmallMenu = {{"File", "File things", ""},
                                     {"  Open", "Open a file", R"({|| CHECK_PASS("OPEN")})", "O"}};

class StartTest : public StartupTest {
 protected:
  // type letter + ":" + the value as a transcript shows it
  std::string Var(const std::string& name) {
    rt::Value* v = session_.Find(name);
    if (v == nullptr) return "missing";
    return std::string(1, rt::TypeLetter(v->type())) + ":" + xb::ValueText(*v);
  }
  std::string Eval(const std::string& text) {
    rt::Value v = xb::EvalText(ctx_.host(), text);
    return std::string(1, rt::TypeLetter(v.type())) + ":" + xb::ValueText(v);
  }
};

TEST_F(StartTest, SessionVariablesHaveTheirInitialValues) {
  Menu(kSmallMenu);
  environment_ = {{"MULTIUSER", "yes"}, {"server", "srv01"}};
  std::map<std::string, std::string> seen;
  EXPECT_EQ(
      Run({[&] {
        for (const char* name :
             {"SOURCE_DRV",  "SAVE_DRIVE", "SAVE_DIR",  "AXX",       "XXVSHARE",   "XXVMLTUSR",
              "XXVKEY",      "DO_PROC",    "XCANCEL",   "OCONTINUE", "AVIEW1",     "APRINT",
              "XXCO",        "XXVCO",      "XXVCOID",   "XXVTERMNO", "DEBUGGER",   "XXVDEAD",
              "XXVSTATUS",   "XXVREADIT",  "NSCRSTACK", "HHCTRL",    "XXCALC_NUM", "XXVCURRPR",
              "AVIEWMAX",    "FILTER_ON2", "XCOMP",     "XXVMACRO",  "AMS",        "XXVMDATE",
              "XXVMDAY",     "QF10",       "XXVPAR9",   "XXTIME",    "XXNEWMENU",  "BSWITCH",
              "EXITONENTER", "OWNDMAIN"}) {
          seen[name] = Var(name);
        }
      }}),
      1);
  const std::map<std::string, std::string> want = {
      {"SOURCE_DRV", "C:D:\\\\"},  // started at the root: D:\ and a second backslash
      {"SAVE_DRIVE", "C:D:"},
      {"SAVE_DIR", "C:\\"},
      {"AXX", "C:srv01"},
      {"XXVSHARE", "N:1"},
      {"XXVMLTUSR", "C:YES"},
      {"XXVKEY", "C: "},
      {"DO_PROC", "C:"},
      {"XCANCEL", "L:.F."},
      {"OCONTINUE", "L:.F."},
      {"AVIEW1", "A:{array 0}"},
      {"APRINT", "U:NIL"},
      {"XXCO", "C:"},
      {"XXVCO", "C:Z"},
      {"XXVCOID", "C:"},
      {"XXVTERMNO", "C:1"},
      {"DEBUGGER", "L:.T."},
      {"XXVDEAD", "N:1"},
      {"XXVSTATUS", "C:             "},
      {"XXVREADIT", "L:.T."},
      {"NSCRSTACK", "N:0"},
      {"HHCTRL", "L:.F."},
      {"XXCALC_NUM", "N:0.00"},
      {"XXVCURRPR", "N:-1"},
      {"AVIEWMAX", "N:4000"},
      {"FILTER_ON2", "C:" + std::string(20, ' ')},
      {"XCOMP", "C:0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
      {"XXVMACRO", "A:{array 20}"},
      {"AMS", "A:{array 3}"},
      {"XXVMDATE", "D:12/11/26"},
      {"XXVMDAY", "C:Friday"},
      {"QF10", "L:.F."},
      {"XXVPAR9", "C:Y"},
      {"XXTIME", "N:32400"},
      {"XXNEWMENU", "C:M"},
      {"BSWITCH", "U:NIL"},
      {"EXITONENTER", "L:.T."},
      {"OWNDMAIN", "O:{object WINDOW}"},
  };
  for (const auto& [name, value] : want) EXPECT_EQ(seen[name], value) << name;
  for (const FontDef& font : StartupFonts()) {
    const rt::Value* v = session_.Find(font.variable);
    ASSERT_NE(v, nullptr) << font.variable;
    ASSERT_NE(gui::FontOf(*v), nullptr) << font.variable;
    EXPECT_EQ(*gui::FontOf(*v), font.font) << font.variable;
  }
  EXPECT_EQ(StartupFonts().size(), 14u);
}

TEST_F(StartTest, MultiUserUnsetMeansSingleUser) {
  Menu(kSmallMenu);
  Run();
  EXPECT_EQ(Var("XXVMLTUSR"), "C:");
  EXPECT_EQ(Var("AXX"), "C:");
}

TEST_F(StartTest, YearWindowStartsEightySevenYearsBack) {
  Menu(kSmallMenu);
  session_.set_clock(rt::Clock::Frozen(rt::Date::FromYmd(2004, 6, 1), 0));
  Run();
  EXPECT_EQ(session_.settings().dates.epoch, 1917);
  EXPECT_EQ(Eval(R"(YEAR(CTOD("01/01/17")))"), "N:1917");
  EXPECT_EQ(Eval(R"(YEAR(CTOD("01/01/16")))"), "N:2016");
}

TEST_F(StartTest, CopiesCtl3dIntoTheSystemFolderOfDriveC) {
  Menu(kSmallMenu);
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(qv::testing::ReadHostFile(C("WINDOWS/system/ctl3d.dll")), "3-D controls (test)");
  EXPECT_EQ(state_->copy_count, 1);
  EXPECT_TRUE(Lines({"ERROR"}).empty());
  // Deleted records are hidden and the exit code is 1 until a command changes it.
  EXPECT_TRUE(ctx_.workspace().settings().deleted);
}

TEST_F(StartTest, AMissingLibraryGoesToTheErrorDialogAndStartUpGoesOn) {
  Menu(kSmallMenu);
  ASSERT_TRUE(env_->Remove(D("exe/ctl3d.dll")).ok());
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(Lines({"ERROR"}), std::vector<std::string>{"ERROR\tOpen error\t"
                                                       R"(D:\\\\exe\\ctl3d.dll)"
                                                       "\tdefault\t(default)"});
  EXPECT_EQ(Lines({"WINDOW"}).size(), 1u);  // the window still opened
}

TEST_F(StartTest, QuitInTheErrorDialogEndsTheRun) {
  Menu(kSmallMenu);
  ASSERT_TRUE(env_->Remove(D("exe/ctl3d.dll")).ok());
  gui_.answers().Push(gui::ParseAnswer("quit").value());
  EXPECT_EQ(Run(), 1);
  EXPECT_TRUE(Lines({"WINDOW"}).empty());
}

TEST_F(StartTest, CopyFileCountsEveryCallAndMovesTheMeter) {
  Menu(kSmallMenu);
  Run();
  gui::Meter meter("Copying", "Install");
  meter.SetTotal(10);
  rt::Value ok = rt::Call(session_, "COPYFILE",
                          {rt::Value("ctl3d.dll"), rt::Value("D:\\exe\\"), rt::Value("\\WINDOWS"),
                           rt::Value("C"), MeterValue(meter)});
  EXPECT_TRUE(ok.logical());
  EXPECT_EQ(meter.position(), 2);  // the start-up copy was the first
  EXPECT_TRUE(fs_->Exists("C:\\WINDOWS\\ctl3d.dll"));
  // A missing source is counted too, and Default skips it.
  rt::Call(session_, "COPYFILE",
           {rt::Value("none.dll"), rt::Value("D:\\exe\\"), rt::Value("\\WINDOWS"), rt::Value("C"),
            MeterValue(meter)});
  EXPECT_EQ(meter.position(), 3);
  EXPECT_EQ(state_->copy_count, 3);
}

TEST_F(StartTest, MainWindowTitleMessageBarPlaceAndColours) {
  Menu(kSmallMenu);
  Run();
  const std::vector<std::string> lines = Lines({"WINDOW", "STATUS", "WINDOW_CLOSED"});
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "WINDOW\t  Install    Quorvanta Scheduler");
  EXPECT_EQ(lines[1], "STATUS\t" + std::string(kMessageBarDefault));
  EXPECT_EQ(lines[2], "WINDOW_CLOSED");
  EXPECT_EQ(state_->window.rect, (gui::Rect{200, 96, 416, 416}));
  EXPECT_EQ(state_->window.colors, "W+/B");
  ASSERT_TRUE(state_->window.brush.has_value());
  EXPECT_EQ(state_->window.brush->width, 8);
  EXPECT_FALSE(state_->window.icon.has_value());  // no fw\quorvanta.ico: no icon, no report
}

class RecordingCanvas : public gui::Canvas {
 public:
  void DrawBitmap(int x, int y, const gui::Bitmap& bitmap) override {
    drawn.push_back(std::to_string(x) + "," + std::to_string(y) + " " +
                    std::to_string(bitmap.width));
  }
  std::vector<std::string> drawn;
};

TEST_F(StartTest, PaintReadsThePictureFromTheCurrentFolderEachTime) {
  Menu(kSmallMenu);
  Run();
  RecordingCanvas canvas;
  state_->window.on_paint(canvas);
  EXPECT_EQ(canvas.drawn, std::vector<std::string>{"0,0 8"});
  // After a command made another folder current, that folder's picture counts.
  ASSERT_TRUE(env_->MakeDir(C("QUORVA~1")).ok());
  ASSERT_TRUE(fs_->ChangeDir("C:\\QUORVA~1").ok());
  state_->window.on_paint(canvas);
  EXPECT_EQ(canvas.drawn.size(), 1u);
  qv::testing::WriteHostFile(C("QUORVA~1/quorv.bmp"),
                             gui::EncodeBmp(3, 3, [](int, int) { return 0u; }));
  state_->window.on_paint(canvas);
  EXPECT_EQ(canvas.drawn.back(), "0,0 3");
}

// The installed product folder is shared by every workstation: the menu
// table is open shared, so a second workstation can start from it too.
TEST_F(StartTest, MenuTableIsOpenSharedWhileTheProgramRuns) {
  Menu(kSmallMenu);
  Status second_open = Status::NotFound("not tried");
  Status second_exclusive = Status::NotFound("not tried");
  Run({[&] {
    rdd::Workspace other(*env_);
    second_open = other.Use(rdd::UseArgs{D("menuset.dbf"), "", false, true, false});
    (void)other.CloseAll();
    second_exclusive = other.Use(rdd::UseArgs{D("menuset.dbf"), "", false, false, false});
  }});
  EXPECT_TRUE(second_open.ok()) << second_open.ToString();
  EXPECT_TRUE(second_exclusive.IsLockBusy()) << second_exclusive.ToString();
}

class StartInSubfolderTest : public StartupTest {
 protected:
  StartInSubfolderTest() : StartupTest("SETUP") {}
};

TEST_F(StartInSubfolderTest, StartFolderVariablesNameTheFolder) {
  Menu(kSmallMenu);
  Run();
  EXPECT_EQ(session_.Find("SOURCE_DRV")->str(), "D:\\SETUP\\");
  EXPECT_EQ(session_.Find("SAVE_DRIVE")->str(), "D:");
  EXPECT_EQ(session_.Find("SAVE_DIR")->str(), "\\SETUP");
  EXPECT_EQ(qv::testing::ReadHostFile(C("WINDOWS/system/ctl3d.dll")), "3-D controls (test)");
}

}  // namespace
}  // namespace qv::shell::testing
