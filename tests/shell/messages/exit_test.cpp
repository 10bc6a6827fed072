// Leaving the program: NORMAL_DOWN releases this workstation's marker and
// sets exit code 0, CANCELNOW asks message 234 and on Yes ends the run with
// rt::QuitRequest; ABOUT and SOON are plain information boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "message_fixture.h"

namespace qv::shell {
namespace {

using testing::Line;

class ExitTest : public testing::MessageTest {
 protected:
  void Touch(const std::string& name) { qv::testing::WriteHostFile(DataFile(name), ""); }
  bool Exists(const std::string& name) { return std::filesystem::exists(DataFile(name)); }
};

TEST_F(ExitTest, EveryRoutineIsRegistered) {
  for (const char* name : {"MSG", "SOON", "CANCELIT", "CANCEL_NOW", "FCANCEL", "CLEARIT", "ERRMSG",
                           "CANCELNOW", "NORMAL_DOWN", "ABOUT"}) {
    EXPECT_TRUE(session_.procedures().Contains(name)) << name;
  }
  EXPECT_NE(gui_.templates().Find("MSGCONT"), nullptr);
}

TEST_F(ExitTest, NormalDownReleasesOnlyThisWorkstationsMarker) {
  session_.DeclarePublic("RESOURCE") = rt::Value("INVEN");
  Touch("0001.1");
  Touch("0002.2");
  Touch("INVEN.1");
  Call("NORMAL_DOWN", {});
  EXPECT_FALSE(Exists("0001.1"));
  EXPECT_TRUE(Exists("0002.2"));
  EXPECT_TRUE(Exists("INVEN.1"));
  EXPECT_EQ(session_.settings().exit_code, 0);
  EXPECT_EQ(session_.Find("RESOURCE")->str(), "INVEN") << "the caller's RESOURCE is kept";
}

TEST_F(ExitTest, CancelNowAnsweredNoKeepsTheProgramRunning) {
  WriteMessageTable();
  Touch("0001.1");
  Queue("no");
  Call("CANCELNOW", {});
  EXPECT_EQ(session_.settings().exit_code, 1);
  EXPECT_TRUE(Exists("0001.1"));
  EXPECT_EQ(Take(), (std::vector<std::string>{
                        Line({"QUESTION", "Select an option", "Exit ZENTHOR Now.?", "no", "no"})}));
}

TEST_F(ExitTest, CancelNowAnsweredYesEndsTheRunWithCodeZero) {
  WriteMessageTable();
  Touch("0001.1");
  Queue("yes");
  try {
    Call("CANCELNOW", {});
    FAIL() << "the run did not end";
  } catch (const rt::QuitRequest& request) {
    EXPECT_EQ(request.exit_code, 0);
  }
  EXPECT_FALSE(Exists("0001.1"));
  EXPECT_EQ(session_.settings().exit_code, 0);
  EXPECT_EQ(session_.Frames().size(), 0u) << "every call frame was unwound";
}

TEST_F(ExitTest, AboutAndSoonAreInformationBoxes) {
  WriteMessageTable();
  EXPECT_TRUE(Call("ABOUT", {}).logical());
  EXPECT_TRUE(Call("SOON", {"TERMINAL"}).IsNil());
  Call("SOON", {});
  EXPECT_EQ(Take(), (std::vector<std::string>{
                        Line({"MESSAGE", "information", "Information",
                              "A nice picture of TEAM ZENTHOR will be shown"}),
                        Line({"MESSAGE", "information", "Information", "Coming Soon...TERMINAL"}),
                        Line({"MESSAGE", "information", "Information", "Coming Soon..."})}));
}

}  // namespace
}  // namespace qv::shell
