#include "platform/gui/answers.h"

#include <gtest/gtest.h>

namespace qv::gui {
namespace {

using Word = Answer::Word;

TEST(AnswersTest, ParsesEveryWordAndRoundTrips) {
  struct Case {
    const char* line;
    Word word;
    const char* canonical;
  };
  const Case cases[] = {
      {"yes", Word::kYes, "yes"},
      {"NO", Word::kNo, "no"},
      {"ok", Word::kOk, "ok"},
      {"cancel", Word::kCancel, "cancel"},
      {"esc", Word::kEsc, "esc"},
      {"close", Word::kClose, "close"},
      {"button 102", Word::kButton, "button 102"},
      {"value 12/31/99", Word::kValue, "value 12/31/99"},
      {"drive d", Word::kDrive, "drive D"},
      {"folder \\QUORVA~1\\", Word::kFolder, "folder \\QUORVA~1\\"},
      {"shortcut OFF", Word::kShortcut, "shortcut off"},
      {"select 1,3,10", Word::kSelect, "select 1,3,10"},
      {"retry", Word::kRetry, "retry"},
      {"default", Word::kDefault, "default"},
      {"quit", Word::kQuit, "quit"},
  };
  for (const Case& c : cases) {
    auto a = ParseAnswer(c.line);
    ASSERT_TRUE(a.ok()) << c.line << ": " << a.status().ToString();
    EXPECT_EQ(a.value().word, c.word) << c.line;
    EXPECT_EQ(AnswerText(a.value()), c.canonical);
  }
}

TEST(AnswersTest, ValueKeepsItsBlanks) {
  auto a = ParseAnswer("value  two  words ");
  ASSERT_TRUE(a.ok());
  EXPECT_EQ(a.value().text, " two  words ");
  EXPECT_TRUE(a.value().IsFieldAnswer());
  auto empty = ParseAnswer("value");
  ASSERT_TRUE(empty.ok());
  EXPECT_EQ(empty.value().text, "");
}

TEST(AnswersTest, RefusesMalformedAnswers) {
  for (const char* line : {"maybe", "button", "button x", "button 0", "drive", "drive CD",
                           "shortcut maybe", "select", "select 1,,2", "select 0", "yes please"}) {
    EXPECT_TRUE(ParseAnswer(line).status().IsInvalidArgument()) << line;
  }
}

TEST(AnswersTest, QueueIsFirstInFirstOut) {
  AnswerQueue q;
  q.Push(ParseAnswer("value 5").value());
  q.Push(ParseAnswer("ok").value());
  EXPECT_EQ(q.Peek()->word, Word::kValue);
  EXPECT_EQ(q.Pop().text, "5");
  EXPECT_EQ(q.Pop().word, Word::kOk);
  EXPECT_TRUE(q.empty());
}

TEST(KeyStateTest, HeldKeysStayDownPulsesLastOneRead) {
  KeyState keys;
  keys.Set(Key::kEnter, true);
  EXPECT_TRUE(keys.Down(Key::kEnter));
  EXPECT_TRUE(keys.Down(Key::kEnter));
  EXPECT_FALSE(keys.Down(Key::kEscape));
  keys.Pulse(Key::kEscape);
  EXPECT_TRUE(keys.Down(Key::kEscape));
  EXPECT_FALSE(keys.Down(Key::kEscape));
  keys.Pulse(Key::kEscape);
  keys.ClearPulses();
  EXPECT_FALSE(keys.Down(Key::kEscape));
  keys.Set(Key::kEnter, false);
  EXPECT_FALSE(keys.Down(Key::kEnter));
}

}  // namespace
}  // namespace qv::gui
