#include "ui/text_helpers.h"

#include <gtest/gtest.h>

namespace qv::ui {
namespace {

TEST(ProperTest, CapitalisesNamesAndAddresses) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"main st nw", "Main St NW"},
      {"12 oak st se", "12 Oak St SE"},
      {"  mcdonald   road  ", "McDonald Road      "},
      {"emcee hall", "EMcEe Hall"},
      {"river falls,wi", "River Falls,wi"},
      {"north west,ne", "North West,NE"},
      {"TEXT ALREADY IN CAPITALS", "TEXT ALREADY IN CAPITALS"},
      {"st.paul sw.", "St.Paul SW."},
      {"", ""},
      {"   ", "   "},
      {"a", "A"},
      {"nw", "NW"},
      {"mc", "Mc"},
  };
  for (const Case& c : cases) EXPECT_EQ(Proper(c.in), c.out) << "\"" << c.in << "\"";
}

TEST(ProperTest, KeepsTheArgumentsLength) {
  const std::string in = "  mcdonald   road  ";
  ASSERT_EQ(in.size(), 19u);
  EXPECT_EQ(Proper(in).size(), 19u);
}

TEST(TextHelpersTest, DotsYesNoTrueFalse) {
  EXPECT_EQ(Dots("A B  C"), "A.B..C");
  EXPECT_EQ(Dots(""), "");
  EXPECT_EQ(YesNo(true), "Y");
  EXPECT_EQ(YesNo(false), "N");
  EXPECT_TRUE(TrueFalse("Yes"));
  EXPECT_TRUE(TrueFalse("Y"));
  EXPECT_FALSE(TrueFalse("y"));
  EXPECT_FALSE(TrueFalse(""));
  EXPECT_FALSE(TrueFalse("N"));
  EXPECT_FALSE(TrueFalse(" Y"));
}

}  // namespace
}  // namespace qv::ui
