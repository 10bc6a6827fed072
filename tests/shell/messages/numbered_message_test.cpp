// Numbered messages: the text comes from the product's message table through
// USIT, TITLE is evaluated with MSG's arguments visible, and the table is
// closed again with the caller's work area selected, whatever happened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "message_fixture.h"
#include "shell/messages/message_table.h"

namespace qv::shell {
namespace {

using testing::Line;

class NumberedMessageTest : public testing::MessageTest {
 protected:
  // The text of the last information box or question shown.
  static std::string LastShown(const std::vector<std::string>& lines) {
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
      if (it->rfind("MESSAGE\t", 0) == 0 || it->rfind("QUESTION\t", 0) == 0) return *it;
    }
    return "";
  }
};

TEST_F(NumberedMessageTest, TextComesFromTheMessageTable) {
  WriteMessageTable();
  struct Case {
    int number;
    const char* passed;
    const char* mode;
    const char* que;
    std::string shown;
  };
  const std::string q = "Select an option";
  const Case cases[] = {
      {195, "Lock on INVEN FAILED...Retry Y/N", "T", "Y",
       Line({"QUESTION", q, "Lock on INVEN FAILED...Retry?", "yes", "yes", "(default)"})},
      {196, "ignored: the table has the text", "F", " ",
       Line({"MESSAGE", "information", "Information", "Leaving ZENTHOR..."})},
      {234, "", "T", " ", Line({"QUESTION", q, "Exit ZENTHOR Now.?", "no", "no", "(default)"})},
      {5, "no text in record 5", "F", " ",
       Line({"MESSAGE", "information", "Information",
             "NOTE: MESSAGE Database needs description at record:         5"})},
      {9999, "past the last record", "F", " ",
       Line({"MESSAGE", "information", "Information",
             "NOTE: MESSAGE Database needs description at record:      9999"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.number);
    Call("MSG", {rt::Value::Int(c.number), c.passed, c.mode, c.que});
    EXPECT_EQ(LastShown(Take()), c.shown);
    EXPECT_EQ(ws().AreaOf("MESSAGE"), 0) << "message table left open";
  }
}

TEST_F(NumberedMessageTest, CallersWorkAreaIsSelectedAgain) {
  WriteMessageTable();
  WriteTable("cust", "field NAME C 10\nrows ~\nAnn\nBob\n");
  WriteTable("other", "field CODE C 4\nrows ~\nX1\n");
  Open("cust");
  Open("other");
  ASSERT_TRUE(ws().SelectArea(ws().AreaOf("CUST")).ok());
  Call("MSG", {rt::Value::Int(196), "", "F"});
  EXPECT_EQ(ws().Alias(), "CUST");

  // An empty area stays the selected one.
  ASSERT_TRUE(ws().SelectArea(7).ok());
  Call("MSG", {rt::Value::Int(196), "", "F"});
  EXPECT_EQ(ws().current(), 7);
  EXPECT_EQ(ws().AreaOf("MESSAGE"), 0);
}

TEST_F(NumberedMessageTest, CallersMessageTableIsClosedByAnyCall) {
  WriteMessageTable();
  WriteTable("cust", "field NAME C 10\nrows ~\nAnn\n");
  Open("cust");
  Open("message");
  const int area = ws().current();
  Call("MSG", {rt::Value::Int(0), "plain", "J"});
  EXPECT_EQ(ws().AreaOf("MESSAGE"), 0);
  EXPECT_EQ(ws().current(), area);
  EXPECT_NE(ws().AreaOf("CUST"), 0);

  // A numbered message reopens and closes it again, and keeps RESOURCE.
  session_.DeclarePublic("RESOURCE") = rt::Value("INVEN");
  Open("message");
  ASSERT_TRUE(ws().SelectArea(ws().AreaOf("CUST")).ok());
  Call("MSG", {rt::Value::Int(196), "", "F"});
  EXPECT_EQ(LastShown(Take()),
            Line({"MESSAGE", "information", "Information", "Leaving ZENTHOR..."}));
  EXPECT_EQ(ws().AreaOf("MESSAGE"), 0);
  EXPECT_EQ(ws().Alias(), "CUST");
  EXPECT_EQ(session_.Find("RESOURCE")->str(), "INVEN");
}

TEST_F(NumberedMessageTest, BadTitleGoesToTheErrorDialogThenTheNote) {
  WriteTable("message", "field TITLE C 60\nrows ~\n1 +\n42\n\"fine\"\n");
  Call("MSG", {rt::Value::Int(1), "", "F"});
  std::vector<std::string> lines = Take();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0].rfind("ERROR\t", 0), 0u) << lines[0];
  EXPECT_EQ(lines.back(), Line({"MESSAGE", "information", "Information", NeedsDescription(1)}));

  // Not a text: reported, and Retry evaluates it again.
  Queue("retry");
  Call("MSG", {rt::Value::Int(2), "", "F"});
  lines = Take();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("ERROR\tArgument error\t", 0), 0u) << lines[0];
  EXPECT_EQ(lines[1].rfind("ERROR\tArgument error\t", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], Line({"MESSAGE", "information", "Information", NeedsDescription(2)}));

  Call("MSG", {rt::Value::Int(3), "", "F"});
  EXPECT_EQ(Take(),
            (std::vector<std::string>{Line({"MESSAGE", "information", "Information", "fine"})}));
  EXPECT_EQ(ws().AreaOf("MESSAGE"), 0);
}

TEST_F(NumberedMessageTest, MissingTableIsReportedThenTheNoteIsShown) {
  Call("MSG", {rt::Value::Int(196), "", "F"});
  const std::vector<std::string> lines = Take();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0].rfind("ERROR\t", 0), 0u) << lines[0];
  EXPECT_EQ(lines.back(), Line({"MESSAGE", "information", "Information", NeedsDescription(196)}));
  EXPECT_EQ(ws().AreaOf("MESSAGE"), 0);
}

}  // namespace
}  // namespace qv::shell
