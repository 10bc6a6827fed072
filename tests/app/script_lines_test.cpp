// Script lines: what each is read as, and the lines that cannot be understood.
#include "app/script_lines.h"

#include <gtest/gtest.h>

namespace qv::app {
namespace {

using Kind = ScriptLine::Kind;

TEST(ScriptLines, ReadAsTheirKind) {
  struct Case {
    const char* line;
    Kind kind;
    std::string name, text;
  };
  const Case cases[] = {
      {"choose Install > Demo data", Kind::kChoose, "", "Install > Demo data"},
      {"  CHOOSE Help>About\r", Kind::kChoose, "", "Help>About"},
      {"set XXVTERMNO \"2\"", Kind::kSet, "XXVTERMNO", "\"2\""},
      {"eval MSG(0, \"a  b\", \"F\")", Kind::kEval, "", "MSG(0, \"a  b\", \"F\")"},
      {"close", Kind::kClose, "", ""},
  };
  for (const Case& c : cases) {
    Result<std::optional<ScriptLine>> line = ParseScriptLine(c.line);
    ASSERT_TRUE(line.ok() && line->has_value()) << c.line;
    EXPECT_EQ((*line)->kind, c.kind) << c.line;
    EXPECT_EQ((*line)->name, c.name) << c.line;
    EXPECT_EQ((*line)->text, c.text) << c.line;
  }
  ScriptLine answer = *ParseScriptLine("answer value 12/31/99").value();
  EXPECT_EQ(answer.kind, Kind::kAnswer);
  EXPECT_EQ(answer.answer.word, gui::Answer::Word::kValue);
  EXPECT_EQ(answer.answer.text, "12/31/99");
  ScriptLine press = *ParseScriptLine("press cancel after 3").value();
  EXPECT_EQ(press.count, 3);
  ScriptLine key = *ParseScriptLine("key enter down").value();
  EXPECT_TRUE(key.key == gui::Key::kEnter && key.on);
  ScriptLine notes = *ParseScriptLine("notes instant").value();
  EXPECT_TRUE(notes.kind == Kind::kNotes && notes.on);
}

TEST(ScriptLines, BlankLinesAndCommentsAreSkipped) {
  for (const char* line : {"", "   ", "# choose Help>About", "  # note"}) {
    Result<std::optional<ScriptLine>> parsed = ParseScriptLine(line);
    ASSERT_TRUE(parsed.ok()) << line;
    EXPECT_FALSE(parsed->has_value()) << line;
  }
}

TEST(ScriptLines, LinesThatCannotBeUnderstood) {
  for (const char* line :
       {"frobnicate", "choose", "answer", "answer maybe", "answer button x", "set", "set X",
        "set 1X 2", "eval", "press cancel", "press cancel after 0", "press ok after 2",
        "press cancel after 2x", "key esc", "key space down", "key esc sideways", "notes",
        "notes loud", "close now"}) {
    EXPECT_FALSE(ParseScriptLine(line).ok()) << line;
  }
}

}  // namespace
}  // namespace qv::app
