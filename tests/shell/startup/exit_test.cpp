// Leaving through the menu: the exit command CANCELNOW (the message
// routines and the table layer registered as the program registers them).
#include <gtest/gtest.h>

#include "shell/messages/procedures.h"
#include "shell/startup/procedures.h"
#include "startup_fixture.h"
#include "tables/procedures.h"
#include "ui/procedures.h"

namespace qv::shell::testing {
namespace {

class ExitTest : public StartupTest {
 protected:
  ExitTest() {
    Menu({{"Help", "", ""},
          {"  Exit", "Leave", R"({|| CHECK_PASS("CANCELNOW")})"},
          {"  Other", "", R"({|| CHECK_PASS("OTHER")})"}});
    WriteMessageTable(*env_, D("message.dbf"), {{234, R"("Exit ZENTHOR Now. Y/N")"}});
    ui::RegisterUiProcedures(session_.procedures(), gui_);
    tables::RegisterTableProcedures(ctx_);
    RegisterMessageProcedures(ctx_);
    Command("OTHER");
  }
};

TEST_F(ExitTest, YesEndsAtOnceWithExitCodeZero) {
  gui_.answers().Push(gui::ParseAnswer("yes").value());
  EXPECT_EQ(Run({Choose("Help>Exit"), Choose("Help>Other")}), 0);
  EXPECT_EQ(Lines({"QUESTION"}),
            std::vector<std::string>{"QUESTION\tSelect an option\tExit ZENTHOR Now.?\tno\tyes"});
  EXPECT_TRUE(ran_.empty());
  EXPECT_TRUE(Lines({"WINDOW_CLOSED"}).empty());  // ended without closing the window
  EXPECT_EQ(session_.settings().exit_code, 0);
}

TEST_F(ExitTest, NoLeavesTheProgramRunning) {
  gui_.answers().Push(gui::ParseAnswer("no").value());
  EXPECT_EQ(Run({Choose("Help>Exit"), Choose("Help>Other")}), 1);
  ASSERT_EQ(ran_.size(), 1u);
  EXPECT_EQ(Lines({"WINDOW_CLOSED"}).size(), 1u);
}

// A front end whose event loop cannot carry the request gets it through
// StartupOptions::end_run instead.
TEST_F(ExitTest, EndRunHookReceivesTheRequest) {
  int ended = -1;
  StartupOptions options;
  options.end_run = [&](const rt::QuitRequest& request) {
    ended = request.exit_code;
    gui_.CloseMainWindow();
  };
  state_ = RegisterStartupProcedures(ctx_, std::move(options));
  gui_.answers().Push(gui::ParseAnswer("yes").value());
  EXPECT_EQ(Run({Choose("Help>Exit"), Choose("Help>Other")}), 0);
  EXPECT_EQ(ended, 0);
  EXPECT_TRUE(ran_.empty());
}

}  // namespace
}  // namespace qv::shell::testing
