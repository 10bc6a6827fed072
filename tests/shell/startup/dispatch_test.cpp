// Choosing menu items: CHECK_PASS runs the named command with the row's
// mode key, disables the menu meanwhile and restores the message bar;
// STATUSLINE; the menu table reopened after a command closed it.
#include <gtest/gtest.h>

#include "shell/startup/main_proc.h"
#include "startup_fixture.h"

namespace qv::shell::testing {
namespace {

const std::vector<Row> kMenu = {
    {"Install", "Install things", ""},
    {"  Demo", "With demo data", R"({|| CHECK_PASS("INSTALL_S")})", "D"},
    {"  Update", "Update", R"({|| CHECK_PASS("INSTALL_S")})", "U"},
    {"  Report", "", R"({|| CHECK_PASS("REPORT")})", "R"},
    {"  Nothing", "No action", ""},
    {"  Closer", "", R"({|| CHECK_PASS("CLOSER")})", "C"},
    {"  Missing", "", R"({|| CHECK_PASS("NO_SUCH_COMMAND")})", "M"},
    {"  Failing", "", R"({|| CHECK_PASS("FAILING")})", "F"},
    {"  Expression", "", R"({|| COUNTER := 41, COUNTER := COUNTER + 1, CHECK_PASS("REPORT")})",
     "E"},
};

class DispatchTest : public StartupTest {
 protected:
  DispatchTest() {
    Menu(kMenu);
    Command("INSTALL_S");
    Command("REPORT", [this] { rt::Call(session_, "STATUSLINE", {rt::Value("Report 5")}); });
  }
};

TEST_F(DispatchTest, ChoosingItemsRunsTheirCommandsWithTheRowsModeKey) {
  EXPECT_EQ(Run({Choose("Install>Demo"), Choose("Install>Update"), Choose("Install>Nothing")}), 1);
  ASSERT_EQ(ran_.size(), 2u);
  EXPECT_EQ(ran_[0].key, "D");
  EXPECT_EQ(ran_[1].key, "U");
  for (const Ran& r : ran_) {
    EXPECT_EQ(r.do_proc, "INSTALL_S");
    EXPECT_EQ(r.menulevel, 1);
    EXPECT_FALSE(r.menu_enabled);
  }
  // Idle again: the menu is enabled, MENULEVEL gone, XXVKEY and DO_PROC kept.
  EXPECT_TRUE(gui_.menu_enabled());
  EXPECT_EQ(session_.Find("MENULEVEL"), nullptr);
  EXPECT_EQ(session_.Find("XXVKEY")->str(), "U");
  EXPECT_EQ(session_.Find("DO_PROC")->str(), "INSTALL_S");
}

TEST_F(DispatchTest, StatusLineShowsUntilTheCommandEnds) {
  Run({Choose("Install>Report")});
  EXPECT_EQ(Lines({"STATUS"}), (std::vector<std::string>{
                                   "STATUS\t" + std::string(kMessageBarDefault),
                                   "STATUS\t Report 5",
                                   "STATUS\t" + std::string(kMessageBarDefault),
                               }));
}

TEST_F(DispatchTest, ActionsMayBeAnyExpression) {
  double counter = 0;
  Command("REPORT", [&] {
    if (const rt::Value* v = session_.Find("COUNTER"); v != nullptr && v->IsNumber())
      counter = v->num();
  });
  Run({Choose("Install>Expression")});
  ASSERT_EQ(ran_.size(), 1u);
  EXPECT_EQ(ran_[0].key, "E");
  EXPECT_EQ(counter, 42);  // the block's variables are visible to the command it calls
}

TEST_F(DispatchTest, TheMenuTableIsReopenedAfterACommandClosedIt) {
  Command("CLOSER", [this] { ASSERT_TRUE(ctx_.workspace().CloseAll().ok()); });
  Run({Choose("Install>Closer"), Choose("Install>Update")});
  ASSERT_EQ(ran_.size(), 2u);
  EXPECT_EQ(ran_[1].key, "U");
  EXPECT_TRUE(Lines({"ERROR"}).empty());
}

TEST_F(DispatchTest, FailuresOfACommandGoToTheErrorDialogAndTheMenuComesBack) {
  session_.procedures().Register("FAILING", [](rt::Session&, std::span<rt::Value>) -> rt::Value {
    rt::ErrorInfo info;
    info.description = "Argument error";
    info.operation = "FAILING";
    throw rt::RuntimeError(info);
  });
  Run({Choose("Install>Missing"), Choose("Install>Failing"), Choose("Install>Demo")});
  EXPECT_EQ(Lines({"ERROR"}), (std::vector<std::string>{
                                  "ERROR\tUndefined function\tNO_SUCH_COMMAND\tdefault\t(default)",
                                  "ERROR\tArgument error\tFAILING\tdefault\t(default)"}));
  ASSERT_EQ(ran_.size(), 1u);
  EXPECT_TRUE(ran_[0].key == "D");
  EXPECT_TRUE(gui_.menu_enabled());
}

TEST_F(DispatchTest, ClosingTheWindowBetweenCommandsEndsWithExitCodeOne) {
  EXPECT_EQ(Run({Choose("Install>Demo"), [this] { gui_.CloseMainWindow(); },
                 [] { ADD_FAILURE() << "ran after the window closed"; }}),
            1);
}

TEST_F(DispatchTest, ACommandThatEndsTheRunLeavesWithItsExitCode) {
  Command("INSTALL_S", [this] {
    session_.settings().exit_code = 0;
    throw rt::QuitRequest{0};
  });
  EXPECT_EQ(Run({Choose("Install>Demo"), [] { ADD_FAILURE() << "ran after the end"; }}), 0);
  EXPECT_TRUE(Lines({"WINDOW_CLOSED"}).empty());
}

}  // namespace
}  // namespace qv::shell::testing
