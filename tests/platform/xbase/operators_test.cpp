// Comparison (the non-exact "=" and the exact "=="), string and date
// arithmetic, and the run-time errors of mismatched operands.
#include <gtest/gtest.h>

#include <string>

#include "xbase_testing.h"

namespace qv::xb {
namespace {

struct Row {
  const char* text;
  const char* exact_off;
  const char* exact_on;
};

using OperatorsTest = testing::ExprTest;

TEST_F(OperatorsTest, StringComparisonUnderExactOffAndOn) {
  const Row rows[] = {
      {"\"COMPANY\" = \"CO\"", ".T.", ".F."},
      {"\"CO\" = \"COMPANY\"", ".F.", ".F."},
      {"\"ABC\" = \"\"", ".T.", ".F."},
      {"\"ABC  \" = \"ABC\"", ".T.", ".T."},  // trailing blanks do not count when exact
      {"\"ABC\" = \"ABC  \"", ".F.", ".T."},
      {"\"COMPANY\" == \"CO\"", ".F.", ".F."},  // == is always exact
      {"\"ABC \" == \"ABC\"", ".F.", ".F."},
      {"\"COMPANY\" != \"CO\"", ".F.", ".T."},
      {"\"COMPANY\" <> \"CO\"", ".F.", ".T."},
      {"\"COMPANY\" # \"CO\"", ".F.", ".T."},
      {"\"ABC\" >= \"AB\"", ".T.", ".T."},
      {"\"ABC\" > \"AB\"", ".F.", ".T."},
      {"\"AB\" < \"ABC\"", ".T.", ".T."},
      {"\"a\" > \"Z\"", ".T.", ".T."},    // byte order
      {"\"D\" $ \"DSC\"", ".T.", ".T."},  // mode letters by containment
      {"\"\" $ \"DSC\"", ".F.", ".F."},
  };
  for (const Row& row : rows) {
    session_.settings().exact = false;
    EXPECT_EQ(Show(row.text), std::string("L\t") + row.exact_off) << row.text << " (exact off)";
    session_.settings().exact = true;
    EXPECT_EQ(Show(row.text), std::string("L\t") + row.exact_on) << row.text << " (exact on)";
  }
}

TEST_F(OperatorsTest, OtherTypesCompare) {
  const char* const rows[][2] = {
      {"1 = 1.0", "L\t.T."},
      {"2 > 10", "L\t.F."},
      {"STOD(\"20000101\") < STOD(\"20000102\")", "L\t.T."},
      {".T. = .T.", "L\t.T."},
      {".F. < .T.", "L\t.T."},
      {"NIL = NIL", "L\t.T."},
      {"NIL == 1", "L\t.F."},
      {"{1} == {1}", "L\t.F."},  // arrays by identity
      {"(a := {}, a == a)", "L\t.T."},
  };
  for (const auto& row : rows) EXPECT_EQ(Show(row[0]), row[1]) << row[0];
}

TEST_F(OperatorsTest, StringAndDateArithmetic) {
  const char* const rows[][2] = {
      {"\"ab  \" - \"cd\"", "C\tabcd  "},
      {"\"ab\" + \"cd\"", "C\tabcd"},
      {"STOD(\"20240228\") + 1", "D\t02/29/24"},
      {"1 + STOD(\"20240228\")", "D\t02/29/24"},
      {"STOD(\"20240301\") - 1", "D\t02/29/24"},
      {"STOD(\"20250101\") - STOD(\"20240101\")", "N\t366"},
      {"DTOS(CTOD(\"\") + 5)", "C\t        "},  // the empty date stays empty
      {"10 / 4", "N\t2.50"},
      {"100 / 10 / 2", "N\t5"},
      {"1.5 * 2", "N\t3.0"},
      {"-(2.25)", "N\t-2.25"},
  };
  for (const auto& row : rows) EXPECT_EQ(Show(row[0]), row[1]) << row[0];
}

TEST_F(OperatorsTest, MismatchedOperandsAreRunTimeErrorsWithPosition) {
  const char* const rows[][2] = {
      {"1 + \"a\"", "Argument error"}, {"\"a\" * 2", "Argument error"},
      {"1 / 0", "Zero divisor"},       {"5 % 0", "Zero divisor"},
      {"-\"a\"", "Argument error"},    {"1 = \"1\"", "Argument error"},
      {"\"a\" < 1", "Argument error"}, {"1 .AND. .T.", "logical expected"},
      {".NOT. 1", "logical expected"}, {"IIF(1, 2, 3)", "logical expected"},
  };
  for (const auto& row : rows) {
    std::string shown = Show(row[0]);
    EXPECT_NE(shown.find(row[1]), std::string::npos) << row[0] << " -> " << shown;
    EXPECT_NE(shown.find(std::string(row[0]) + " (position "), std::string::npos) << shown;
  }
  EXPECT_NE(Show("1 + 2 + \"x\"").find("(position 7)"), std::string::npos);
}

TEST_F(OperatorsTest, AndOrShortCircuit) {
  // The right side would fail; it is never evaluated.
  EXPECT_EQ(Show(".F. .AND. UNDEFINED_NAME"), "L\t.F.");
  EXPECT_EQ(Show(".T. .OR. 1 / 0 = 1"), "L\t.T.");
  EXPECT_EQ(Show("IIF(.T., 1, 1 / 0)"), "N\t1");
}

}  // namespace
}  // namespace qv::xb
