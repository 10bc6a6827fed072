#include "platform/gui/edit_text.h"

#include <gtest/gtest.h>

#include "platform/runtime/number.h"

namespace qv::gui {
namespace {

rt::DateSettings Dates() { return rt::DateSettings{1939}; }

TEST(EditTextTest, ShowsValuesAsTheFieldWould) {
  EXPECT_EQ(EditTextOf(rt::Value("abc  "), ""), "abc  ");
  EXPECT_EQ(EditTextOf(rt::Value(rt::Date::FromYmd(1999, 12, 31)), ""), "12/31/99");
  EXPECT_EQ(EditTextOf(rt::Value::Int(42), ""), "        42");
  EXPECT_EQ(EditTextOf(rt::Value("12345"), "999-99"), "123-45");
}

TEST(EditTextTest, TypedStringIsPaddedOrCutToTheEditedLength) {
  auto v = ValueFromTyping(rt::Value("        "), "abc", "", Dates());
  ASSERT_TRUE(v.ok());
  EXPECT_EQ(v.value().str(), "abc     ");
  v = ValueFromTyping(rt::Value("ab"), "abcdef", "", Dates());
  EXPECT_EQ(v.value().str(), "ab");
  v = ValueFromTyping(rt::Value("      "), "abc", "@!", Dates());
  EXPECT_EQ(v.value().str(), "ABC   ");
}

TEST(EditTextTest, TypedDatesAndNumbers) {
  auto d = ValueFromTyping(rt::Value(rt::Date()), "01/02/03", "", Dates());
  ASSERT_TRUE(d.ok());
  EXPECT_EQ(d.value().date(), rt::Date::FromYmd(2003, 1, 2));
  d = ValueFromTyping(rt::Value(rt::Date::FromYmd(2000, 1, 1)), "  /  /  ", "", Dates());
  ASSERT_TRUE(d.ok());
  EXPECT_TRUE(d.value().date().empty());
  EXPECT_TRUE(
      ValueFromTyping(rt::Value(rt::Date()), "13/45/99", "", Dates()).status().IsInvalidArgument());

  const rt::Value n = rt::Value::Num(1.5, 8, 2);
  auto typed = ValueFromTyping(n, "12.25", "", Dates());
  ASSERT_TRUE(typed.ok());
  EXPECT_DOUBLE_EQ(typed.value().num(), 12.25);
  EXPECT_EQ(typed.value().number().width, 8);
  EXPECT_EQ(typed.value().number().decimals, 2);
  EXPECT_TRUE(ValueFromTyping(rt::Value(true), "x", "", Dates()).status().IsInvalidArgument());
}

TEST(EditTextTest, PictureTemplateFiltersTyping) {
  struct Case {
    const char* typed;
    const char* picture;
    const char* shown;
  };
  const Case cases[] = {
      {"a1b2", "99", "12"},  // letters refused by digit positions
      {"ab", "!X", "Ab"},    // ! raises one position
      {"5551234", "999-9999", "555-1234"},
      {"555-1234", "999-9999", "555-1234"},  // the literal typed over itself
      {"x", "@! XX", "X "},
      {"12", "AA", "  "},  // digits refused by letter positions
  };
  for (const Case& c : cases) EXPECT_EQ(ApplyPicture(c.typed, c.picture), c.shown) << c.typed;
}

}  // namespace
}  // namespace qv::gui
