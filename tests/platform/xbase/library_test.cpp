// The function library beyond the reference cases: formatting (STR, VAL,
// STRZERO, TRANSFORM), dates and the year window with a fixed today, string
// edges, arrays, and argument errors.
#include <gtest/gtest.h>

#include <string>

#include "xbase_testing.h"

namespace qv::xb {
namespace {

using LibraryTest = testing::ExprTest;

TEST_F(LibraryTest, NumberFormatting) {
  ExpectAll({
      {"STR(12345678901)", "C\t 12345678901"},  // wide literals get a column more
      {"STR(3.5, 5)", "C\t    4"},              // a width alone means no decimals
      {"STR(-0.001, 6, 2)", "C\t  0.00"},       // no sign on a rounded zero
      {"STR(1, 0)", "C\t"},
      {"STR(VAL(\"12.50\"))", "C\t12.50"},  // VAL keeps the decimals it read
      {"VAL(\"abc\")", "N\t0"},
      {"VAL(\"  -3.25xyz\")", "N\t-3.25"},
      {"STRZERO(-5, 4)", "C\t-005"},
      {"STRZERO(7, 3)", "C\t007"},
      {"ROUND(-2.5, 0)", "N\t-3"},  // half away from zero
      {"ROUND(2.345, 2)", "N\t2.35"},
      {"ROUND(123456789012345678901234567890.5, 30) > 0", "L\t.T."},
      {"INT(-0.5)", "N\t0"},
      {"MOD(7, -3)", "N\t-2.00"},
      {"MAX(3, 7) + MIN(3, 7)", "N\t10"},
      {"MAX(\"abc\", \"abd\")", "C\tabd"},
  });
}

TEST_F(LibraryTest, TransformPictures) {
  ExpectAll({
      {"TRANSFORM(1234.5, \"9,999.99\")", "C\t1,234.50"},
      {"TRANSFORM(12.5, \"9,999.99\")", "C\t   12.50"},
      {"TRANSFORM(12345, \"999\")", "C\t***"},
      {"TRANSFORM(0, \"@Z 999\")", "C\t   "},
      {"TRANSFORM(-5, \"@( 999\")", "C\t (5)"},
      {"TRANSFORM(42, \"@B 99999\")", "C\t42   "},
      {"TRANSFORM(7, \"$$$9\")", "C\t$$$7"},
      {"TRANSFORM(\"abc\", \"@!\")", "C\tABC"},
      {"TRANSFORM(\"ab\", \"XXXX\") + \"|\"", "C\tab  |"},
      {"TRANSFORM(\"5551234\", \"@R 999-9999\")", "C\t555-1234"},
      {"TRANSFORM(\"abcdef\", \"@S3\")", "C\tabc"},
      {"TRANSFORM(.F., \"Y\")", "C\tN"},
      {"TRANSFORM(.T., \"L\")", "C\tT"},
      {"TRANSFORM(STOD(\"19850115\"), \"@E\")", "C\t15/01/85"},
      {"TRANSFORM(CTOD(\"\"), \"@D\")", "C\t  /  /  "},
      {"TRANSFORM(42)", "C\t        42"},
  });
}

TEST_F(LibraryTest, DatesAndTheYearWindow) {
  ExpectAll({
      {"DATE()", "D\t12/11/26"},
      {"TIME()", "C\t10:20:30"},
      {"DTOS(DATE())", "C\t20261211"},
      {"YEAR(CTOD(\"01/01/39\"))", "N\t1939"},    // the window's first year
      {"YEAR(CTOD(\"12/31/38\"))", "N\t2038"},    // and its last
      {"YEAR(CTOD(\"01/01/1850\"))", "N\t1850"},  // four digits are taken as written
      {"DTOS(CTOD(\"13/01/20\"))", "C\t        "},
      {"DTOS(STOD(\"20230229\"))", "C\t        "},
      {"DAY(CTOD(\"\")) + MONTH(CTOD(\"\")) + YEAR(CTOD(\"\"))", "N\t0"},
      {"DOW(CTOD(\"\"))", "N\t0"},
      {"CDOW(CTOD(\"\")) + CMONTH(CTOD(\"\")) + \"|\"", "C\t|"},
      {"EMPTY(STOD(\"\"))", "L\t.T."},
  });
  session_.settings().dates.epoch = 1950;
  EXPECT_EQ(Show("YEAR(CTOD(\"01/01/39\"))"), "N\t2039");
}

TEST_F(LibraryTest, StringEdges) {
  ExpectAll({
      {"SUBSTR(\"ABC\", 5)", "C\t"},
      {"SUBSTR(\"ABC\", -10)", "C\tABC"},
      {"SUBSTR(\"ABC\", 2, -1)", "C\t"},
      {"SUBSTR(\"ABC\", 2, 100)", "C\tBC"},
      {"LEFT(\"ABC\", -1)", "C\t"},
      {"RIGHT(\"ABC\", 2)", "C\tBC"},
      {"PADC(\"ab\", 6, \"*\")", "C\t**ab**"},
      {"PADL(STOD(\"20000101\"), 9)", "C\t 01/01/00"},
      {"STRTRAN(\"a.b.c.d\", \".\", \"-\", 2, 1)", "C\ta.b-c.d"},
      {"STRTRAN(\"abc\", \"\", \"x\")", "C\tabc"},
      {"STUFF(\"ABCDEF\", 2, 3, \"xy\")", "C\tAxyEF"},
      {"STUFF(\"ABC\", 10, 1, \"Z\")", "C\tABCZ"},
      {"ASC(CHR(200))", "N\t200"},
      {"LEN(CHR(0))", "N\t1"},
      {"ALLTRIM(\"  a b  \") + \"|\"", "C\ta b|"},
      {"UPPER(\"\xe4\" + \"a\")",
       "C\t\xe4"
       "A"},  // only a-z change
      {"EMPTY(\" \t\r\n\")", "L\t.T."},
  });
  EXPECT_NE(Show("REPLICATE(\"x\", 100000000)").find("String too long"), std::string::npos);
  EXPECT_NE(Show("SPACE(1000000000000)").find("String too long"), std::string::npos);
}

TEST_F(LibraryTest, Arrays) {
  ExpectAll({
      {"a := {1, 2, 3}, AADD(a, 4), LEN(a)", "N\t4"},
      {"ATAIL(a)", "N\t4"},
      {"ADEL(a, 1), a[1] + a[3]", "N\t6"},  // {2, 3, 4, NIL}
      {"VALTYPE(a[4])", "C\tU"},
      {"AINS(a, 1), a[1] = NIL .AND. a[2] = 2", "L\t.T."},
      {"ASIZE(a, 2), LEN(a)", "N\t2"},
      {"ASCAN({\"CO\", \"COMPANY\"}, \"COMP\")", "N\t2"},
      {"ASCAN({5, 6, 7}, {|x| x > 5})", "N\t2"},
      {"ASCAN({5, 6, 7}, 9)", "N\t0"},
      {"b := {{1}}, c := ACLONE(b), c[1][1] := 9, b[1][1]", "N\t1"},
      {"d := b, d[1][1] := 8, b[1][1]", "N\t8"},  // shared by reference
      {"LEN(AFILL(ARRAY(3), 0))", "N\t3"},
      {"e := ARRAY(2), AFILL(e, \"z\"), e[2]", "C\tz"},
  });
  EXPECT_NE(Show("{1, 2}[3]").find("Bound error"), std::string::npos);
  EXPECT_NE(Show("{1, 2}[0]").find("Bound error"), std::string::npos);
  EXPECT_NE(Show("ARRAY(1000000000)").find("Array too large"), std::string::npos);
}

TEST_F(LibraryTest, TypeOfText) {
  session_.Assign("KNOWN", rt::Value("x"));
  ExpectAll({
      {"TYPE(\"KNOWN\")", "C\tC"},
      {"TYPE(\"1 + 1\")", "C\tN"},
      {"TYPE(\"UNKNOWN_VAR\")", "C\tU"},
      {"TYPE(\"1 +\")", "C\tUE"},
      {"TYPE(\"NO_SUCH_FN()\")", "C\tUI"},
      {"VALTYPE(NIL)", "C\tU"},
  });
}

TEST_F(LibraryTest, ArgumentErrorsNameTheFunction) {
  const char* const rows[][2] = {
      {"SUBSTR(1, 2)", "Argument error: SUBSTR"}, {"UPPER()", "Argument error: UPPER"},
      {"LEN(5)", "Argument error: LEN"},          {"DTOS(\"20000101\")", "Argument error: DTOS"},
      {"EVAL(1)", "code block expected"},         {"AADD(\"x\", 1)", "Argument error: AADD"},
  };
  for (const auto& row : rows) {
    EXPECT_NE(Show(row[0]).find(row[1]), std::string::npos) << row[0] << " -> " << Show(row[0]);
  }
}

}  // namespace
}  // namespace qv::xb
