// The grammar: operator priorities from the one table, literal forms, names
// and aliases, and syntax errors that name the text and the position.
#include "platform/xbase/parser.h"

#include <gtest/gtest.h>

#include <string>

#include "xbase_testing.h"

namespace qv::xb {
namespace {

struct Row {
  const char* text;
  const char* shown;
};

using ParserTest = testing::ExprTest;

TEST_F(ParserTest, PrioritiesAndAssociativity) {
  const Row rows[] = {
      {"2 + 3 * 4", "N\t14"},
      {"2 * 3 + 4", "N\t10"},
      {"2 ** 3 ** 2", "N\t64.00"},  // left-associative
      {"-2 ** 2", "N\t4.00"},       // the sign binds tighter
      {"- - 3", "N\t3"},
      {"+3", "N\t3"},
      {"1 + 2 = 3", "L\t.T."},       // arithmetic before comparison
      {".NOT. 1 = 2", "L\t.T."},     // comparison inside .NOT.
      {"!.F. .AND. .F.", "L\t.F."},  // .NOT. before .AND.
      {".F. .AND. .T. .OR. .T.", "L\t.T."},
      {"\"A\" + \"B\" $ \"XABY\"", "L\t.T."},
      {"(1, 2, 3)", "N\t3"},  // a list gives its last value
      {"7 % 4 * 2", "N\t6"},
  };
  for (const Row& row : rows) EXPECT_EQ(Show(row.text), row.shown) << row.text;
}

TEST_F(ParserTest, LiteralsAndNames) {
  session_.Assign("ARR", rt::Value::Array({rt::Value("x"), rt::Value("y")}));
  const Row rows[] = {
      {"[brackets]", "C\tbrackets"},
      {"'single' + \"double\"", "C\tsingledouble"},
      {"arr[2]", "C\ty"},                  // "[" after a name indexes
      {"{{1, 2}, {3, 4}}[2, 1]", "N\t3"},  // a[i, j] is a[i][j]
      {".y. .and. .n.", "L\t.F."},
      {"nil", "U\tNIL"},
      {"{1, , 3}[2]", "U\tNIL"},
      {"LEN({})", "N\t0"},
      {".5 + 1", "N\t1.5"},
      {"3.", "N\t3"},
      {"'M'$'MIYH'.and..not.empty('x')", "L\t.T."},
      {"m->arr[1]", "C\tx"},
      {"memvar->ARR[1]", "C\tx"},
      {"upper(  'a'  )", "C\tA"},
  };
  for (const Row& row : rows) EXPECT_EQ(Show(row.text), row.shown) << row.text;
}

TEST_F(ParserTest, AssignmentForms) {
  EXPECT_EQ(Show("x := 2, x += 3, x"), "N\t5");
  EXPECT_EQ(Show("x -= 1"), "N\t4");
  EXPECT_EQ(Show("x++, x"), "N\t5");
  EXPECT_EQ(Show("--x"), "N\t4");
  EXPECT_EQ(Show("a := b := 7, a + b"), "N\t14");
  // "=" compares in an expression, and assigns where a statement is meant.
  EXPECT_EQ(Show("x = 4"), "L\t.T.");
  testing::Outcome statement = testing::Evaluate(host_, "y = 9, z = y + 1", ParseMode::kStatement);
  ASSERT_TRUE(statement.ok) << statement.error;
  EXPECT_EQ(session_.Find("Z")->num(), 10);
}

TEST_F(ParserTest, SyntaxErrorsNameTextAndPosition) {
  struct Bad {
    const char* text;
    const char* position;
  };
  const Bad rows[] = {
      {"1 +", "position 4"},
      {"(1", "position 3"},
      {"\"open", "position 1"},
      {"1 2", "position 3"},
      {"SUBSTR(\"a\", 1, 2, 3)", "position 1"},  // too many arguments
      {"5 := 1", "position 3"},
      {"{|a, 1| a}", "position 6"},
      {"a.b", "position 2"},
      {"@x", "position 1"},
      {"IIF(.T., 1)", "position 1"},
      {"", "position 1"},
      {"x ? 1", "position 3"},
  };
  for (const Bad& row : rows) {
    std::string shown = Show(row.text);
    EXPECT_NE(shown.find("syntax error at " + std::string(row.position)), std::string::npos)
        << row.text << " -> " << shown;
    EXPECT_NE(shown.find(std::string("in: ") + row.text), std::string::npos) << shown;
  }
}

TEST_F(ParserTest, DeepNestingIsRefusedNotFollowed) {
  std::string open(100000, '(');
  EXPECT_NE(Show(open + "1").find("nested too deeply"), std::string::npos);
  std::string chain = "1";
  for (int i = 0; i < 50000; ++i) chain += "+1";
  EXPECT_NE(Show(chain).find("nested too deeply"), std::string::npos);
  std::string minus(50000, '-');
  EXPECT_NE(Show(minus + "1").find("nested too deeply"), std::string::npos);
  // Moderate nesting still works.
  EXPECT_EQ(Show(std::string(50, '(') + "1" + std::string(50, ')')), "N\t1");
}

}  // namespace
}  // namespace qv::xb
