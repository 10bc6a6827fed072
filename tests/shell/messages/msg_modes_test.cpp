// MSG by mode, through the headless front end: what each mode shows, what it
// returns, the "Y/N" rule, the value prompt, the argument variables and the
// rounds of pending-message processing before every message.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "message_fixture.h"
#include "shell/messages/msg.h"
#include "shell/messages/session_values.h"

namespace qv::shell {
namespace {

using testing::Line;

class MsgModeTest : public testing::MessageTest {};

const rt::Value kNil;

TEST_F(MsgModeTest, EachModeShowsItsDialogAndReturnsItsResult) {
  struct Case {
    const char* name;
    rt::Value mode;
    rt::Value que;
    const char* answer;  // queued before the call; "" for none
    rt::Value result;
    std::vector<std::string> transcript;
  };
  // The question line: default button, answer taken, whether by default.
  auto asked = [](const char* def, const char* answer, bool by_default) {
    std::string line = Line({"QUESTION", "Select an option", "Go", def, answer});
    return by_default ? line + "\t(default)" : line;
  };
  const std::string info = Line({"MESSAGE", "information", "Information", "Go"});
  const Case cases[] = {
      {"T, QUE Y", "T", "Y", "", "Y", {asked("yes", "yes", true)}},
      {"T, QUE N answered yes", "T", "N", "yes", "Y", {asked("no", "yes", false)}},
      {"T, QUE blank", "T", " ", "", "N", {asked("no", "no", true)}},
      {"T, QUE omitted", "T", kNil, "", "N", {asked("no", "no", true)}},
      {"T, QUE neither", "T", "X", "", kNil, {}},
      {"empty mode is contained in T", "", "Y", "no", "N", {asked("yes", "no", false)}},
      {"F", "F", kNil, "", kNil, {info}},
      {"mode not a string", rt::Value::Int(3), kNil, "", kNil, {info}},
      {"B", "B", kNil, "", kNil, {"BEEP", info}},
      {"P, QUE 5", "P", "5", "", kNil, {Line({"NOTE", "Alert", "Go", "5"})}},
      {"P, QUE omitted", "P", kNil, "", kNil, {Line({"NOTE", "Alert", "Go", "2"})}},
      {"J", "J", kNil, "", kNil, {}},
      {"other letter", "Z", kNil, "", kNil, {}},
      {"lower-case t is no question", "t", "Y", "", kNil, {}},
  };

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (*c.answer != '\0') Queue(c.answer);
    MsgArgs args;
    args.text = "  Go  ";
    args.mode = c.mode;
    args.question = c.que;
    const rt::Value result = Msg(ctx(), args);
    EXPECT_TRUE(result.SameAs(c.result)) << (result.IsString() ? result.str() : "not a string");
    EXPECT_EQ(Take(), c.transcript);
    EXPECT_EQ(session_.Find("EMESS")->str(), "Go");
  }
}

TEST_F(MsgModeTest, YesNoBecomesAQuestionMark) {
  Queue("no");
  MsgArgs args;
  args.text = "Lock on X FAILED...Retry Y/N";
  args.mode = "T";
  args.question = "Y";
  EXPECT_EQ(Msg(ctx(), args).str(), "N");
  args.text = " Exit ZENTHOR Now.   Y/N and more";
  EXPECT_EQ(Msg(ctx(), args).str(), "Y");
  EXPECT_EQ(Take(),
            (std::vector<std::string>{
                Line({"QUESTION", "Select an option", "Lock on X FAILED...Retry?", "yes", "no"}),
                Line({"QUESTION", "Select an option", "Exit ZENTHOR Now.?", "yes", "yes",
                      "(default)"})}));
  EXPECT_EQ(session_.Find("EMESS")->str(), "Exit ZENTHOR Now.?");
}

TEST_F(MsgModeTest, ValuePromptReturnsTheEditedValueOrNilWhenCancelled) {
  MsgArgs args;
  args.text = "Quantity";
  args.mode = "T";
  args.question = "How many";
  args.value = rt::Value::Int(3);
  Queue("value 12");
  Queue("ok");
  rt::Value edited = Msg(ctx(), args);
  ASSERT_TRUE(edited.IsNumber());
  EXPECT_EQ(edited.num(), 12);
  std::vector<std::string> lines = Take();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), Line({"DIALOG", "MSGGET2", "Quantity"}));

  Queue("value 99");
  Queue("cancel");
  EXPECT_TRUE(Msg(ctx(), args).IsNil());

  args.value = "a name longer";                        // a string goes to the string template
  EXPECT_EQ(Msg(ctx(), args).str(), "a name longer");  // unattended: confirmed unchanged
  lines = Take();
  EXPECT_NE(std::find(lines.begin(), lines.end(), Line({"DIALOG", "MSGGET1", "Quantity"})),
            lines.end());
}

TEST_F(MsgModeTest, ChoiceDialogGivesTheButtonLetterAndKeepsTheDialog) {
  const struct {
    const char* answer;
    const char* result;
  } cases[] = {{"button 102", " "}, {"button 103", "M"}, {"button 104", "Q"}, {"close", "H"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    Queue(c.answer);
    MsgArgs args;
    args.text = "Continue, menu or quit";
    args.mode = "H";
    EXPECT_EQ(Msg(ctx(), args).str(), c.result);
    std::vector<std::string> lines = Take();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], Line({"DIALOG", "MSGreturn", "Select an option"}));
    EXPECT_EQ(lines[1], Line({"LABEL", "101", "Continue, menu or quit"}));
    gui::Dialog* dialog = gui::DialogOf(*session_.Find("ODLGMSG"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->centred);
  }
  // Unattended, the dialog is closed; HHCTRL ran when it opened.
  MsgArgs args;
  args.mode = "H";
  EXPECT_EQ(Msg(ctx(), args).str(), "H");
  EXPECT_TRUE(session_.Find("HHCTRL")->IsNumber());
  // The next message sets ODLGMSG back to NIL.
  args.mode = "J";
  Msg(ctx(), args);
  EXPECT_TRUE(session_.Find("ODLGMSG")->IsNil());
}

TEST_F(MsgModeTest, ArgumentsAreVariablesOfMsgWhileItRuns) {
  // The message table's TITLE calls a routine that looks at them.
  std::map<std::string, std::string> seen;
  session_.procedures().Register("PEEK", [&seen](rt::Session& s, std::span<rt::Value>) {
    for (const char* name : {"NUM", "EMESSAGE", "ANSWER", "QUE", "OPTIONS", "MLINE", "NLEN"}) {
      const rt::Value* v = s.Find(name);
      seen[name] = v == nullptr ? "missing" : std::string(1, rt::TypeLetter(v->type()));
    }
    return rt::Value("peeked");
  });
  WriteTable("message", "field TITLE C 60\nrows ~\nPEEK()\n");
  EXPECT_TRUE(Call("MSG", {rt::Value::Int(1), "passed", "J"}).IsNil());
  EXPECT_EQ(seen, (std::map<std::string, std::string>{{"NUM", "N"},
                                                      {"EMESSAGE", "C"},
                                                      {"ANSWER", "C"},
                                                      {"QUE", "U"},
                                                      {"OPTIONS", "U"},
                                                      {"MLINE", "U"},
                                                      {"NLEN", "U"}}));
  EXPECT_EQ(session_.Find("EMESS")->str(), "peeked");
  for (const char* name : {"NUM", "EMESSAGE", "ANSWER", "QUE"}) {
    EXPECT_EQ(session_.Find(name), nullptr) << name << " outlived MSG";
  }
}

TEST_F(MsgModeTest, FiftyRoundsOfPendingMessagesComeBeforeTheMessage) {
  MsgArgs cancel;
  cancel.text = "Working";
  cancel.mode = "C";
  Msg(ctx(), cancel);  // no cancel dialog was shown during its own rounds
  MsgArgs quiet;
  quiet.mode = "J";
  gui_.PressCancelAfter(51);
  Msg(ctx(), quiet);
  EXPECT_FALSE(SwitchVar(session_, "XCANCEL")) << "pressed before the 51st round";
  Msg(ctx(), quiet);
  EXPECT_TRUE(SwitchVar(session_, "XCANCEL"));
}

}  // namespace
}  // namespace qv::shell
