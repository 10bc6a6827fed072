#include "platform/runtime/text.h"

#include <gtest/gtest.h>

namespace qv::rt {
namespace {

TEST(TextTest, CaseChangesOnlyAsciiLetters) {
  // e-acute, u-umlaut and the euro sign stay as they are (binary collation).
  EXPECT_EQ(Upper("abc xyz \xE9\xFC\x80 [`{@"), "ABC XYZ \xE9\xFC\x80 [`{@");
  EXPECT_EQ(Lower("ABC XYZ \xC9\xDC [`{@"), "abc xyz \xC9\xDC [`{@");
  EXPECT_EQ(CompareNoCase("abc", "ABD"), -1);
  EXPECT_EQ(CompareNoCase("ABC", "ab"), 1);
  EXPECT_EQ(CompareNoCase("\xE9", "\xC9"), 1);  // not folded
  EXPECT_LT(CompareNoCase("Z", "\x80"), 0);     // unsigned bytes
  EXPECT_TRUE(EqualsNoCase("SavEfilter", "SAVEFILTER"));
  EXPECT_FALSE(EqualsNoCase("SAVEFILTER", "SAVEFILTE"));
}

TEST(TextTest, TrimsBlanksOnly) {
  EXPECT_EQ(AllTrim("  a b  "), "a b");
  EXPECT_EQ(RTrim("  a  "), "  a");
  EXPECT_EQ(LTrim("  a  "), "a  ");
  EXPECT_EQ(AllTrim("     "), "");
  EXPECT_EQ(AllTrim("\ta\t"), "\ta\t");
}

TEST(TextTest, StringEqualsFollowsExactSetting) {
  struct Case {
    const char* left;
    const char* right;
    bool inexact;
    bool exact;
  };
  const Case cases[] = {
      {"ABCDEF", "ABC", true, false}, {"ABC", "ABCDEF", false, false}, {"ABC ", "ABC", true, true},
      {"ABC", "ABC  ", false, true},  {"COMPANY", "", true, false},    {"", "", true, true},
      {"abc", "ABC", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(XbaseEquals(c.left, c.right, false), c.inexact) << c.left << "=" << c.right;
    EXPECT_EQ(XbaseEquals(c.left, c.right, true), c.exact) << c.left << "=" << c.right;
  }
}

TEST(TextTest, WildcardMatchesNames) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Case cases[] = {
      {"*", "ANY", true},
      {"*", "", true},
      {"rent*", "RENTRATE", true},
      {"rent*", "XRENT", false},
      {"savefilter", "SAVEFILTER", true},
      {"savefilter", "SAVEFILTER2", false},
      {"X?Z", "XYZ", true},
      {"X?Z", "XZ", false},
      {"*A*B", "XAYAB", true},
      {"*A*B", "XAYABC", false},
      {"A**", "A", true},
      {"", "", true},
      {"", "A", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
  }
}

TEST(TextTest, CodePage1252RoundTripsEveryByte) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
  EXPECT_EQ(Cp1252ToUtf8("Gr\xFC\xDF"
                         "e \x80"),
            "Gr\u00fc\u00dfe \u20ac");
  EXPECT_EQ(Utf8ToCp1252("\u0152\u2122"), "\x8C\x99");
}

TEST(TextTest, Utf8ThatCodePage1252CannotHoldBecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1252("a\u4e2d\U0001F600b"), "a??b");
  EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");     // cut sequence
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");  // overlong form
  EXPECT_EQ(Utf8ToCp1252("\xFF"
                         "a"),
            "?a");
}

}  // namespace
}  // namespace qv::rt
