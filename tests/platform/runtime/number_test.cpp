#include "platform/runtime/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/runtime/text.h"

namespace qv::rt {
namespace {

struct StrCase {
  double value;
  int width;
  int decimals;
  const char* text;
};

TEST(NumberTest, StrWithWidthRoundsHalfAwayAndOverflowsToStars) {
  const StrCase cases[] = {
      {1.0 / 3, 10, 4, "    0.3333"},
      {99999, 4, 0, "****"},
      {0.005, 5, 2, " 0.01"},
      {123.456, 7, 1, "  123.5"},
      {-1.25, 6, 1, "  -1.3"},  // half away from zero, not to even
      {1.005, 6, 2, "  1.01"},  // rounded as the decimal text reads
      {2.5, 3, 0, "  3"},
      {-2.5, 3, 0, " -3"},
      {-0.001, 5, 2, " 0.00"},  // no sign on a zero
      {0.004, 1, 0, "0"},       // far below the last place: still a zero
      {0.00001, 6, 2, "  0.00"},
      {9.99, 4, 1, "10.0"},     // carry into a new digit
      {99.99, 4, 1, "****"},    // ... which then does not fit
      {-5, 2, 0, "-5"},
      {-15, 2, 0, "**"},
      {0.5, 1, 0, "1"},
      {1e15, 16, 0, "1000000000000000"},
      {42, 0, 0, ""},
  };
  for (const StrCase& c : cases) {
    EXPECT_EQ(Str(c.value, c.width, c.decimals), c.text)
        << c.value << " " << c.width << " " << c.decimals;
  }
}

TEST(NumberTest, WidthsOfLiteralsAndComputedValues) {
  EXPECT_EQ(Str(LiteralNumber("42")), "        42");
  EXPECT_EQ(Str(Negate(LiteralNumber("42"))), "       -42");
  EXPECT_EQ(Str(LiteralNumber("3.5")), "         3.5");
  EXPECT_EQ(Str(LiteralNumber("3.14159")), "         3.14159");
  EXPECT_EQ(Str(Negate(LiteralNumber("0.5"))), "        -0.5");
  EXPECT_EQ(Str(LiteralNumber("1234.56")), "      1234.56");
  EXPECT_EQ(Str(LiteralNumber("1234567890123")), " 1234567890123");
  EXPECT_EQ(AllTrim(Str(Negate(LiteralNumber("1234567890")))), "-1234567890");
  EXPECT_EQ(LiteralNumber(".5").decimals, 1);
  EXPECT_EQ(LiteralNumber(".5").value, 0.5);

  EXPECT_EQ(IntegerNumber(123).width, 10);
  EXPECT_EQ(IntegerNumber(9999999999.0).width, 10);
  EXPECT_EQ(IntegerNumber(1e10).width, 20);
  EXPECT_EQ(IntegerNumber(-999999999).width, 10);
  EXPECT_EQ(IntegerNumber(-1e9).width, 20);
  EXPECT_EQ(DecimalNumber(2.5, 2).width, 13);
  EXPECT_EQ(Value::Int(42).number().width, 10);

  // Products add decimals; a loop of them must not wrap the width around.
  Number x = LiteralNumber("1.5");
  for (int i = 0; i < 300; ++i) x = Multiply(x, LiteralNumber("1.0"));
  EXPECT_EQ(x.decimals, 255);
  EXPECT_EQ(Str(x).size(), static_cast<size_t>(x.width));
  EXPECT_EQ(Val(std::string(70000, ' ')).width, 32767);
}

TEST(NumberTest, ArithmeticCarriesWidthAndDecimals) {
  Number ten = LiteralNumber("10");
  Number three = LiteralNumber("3");
  EXPECT_EQ(Str(Divide(ten, three, kDefaultDecimals)), "         3.33");
  EXPECT_EQ(Divide(ten, three, kDefaultDecimals).width, 13);  // as the .mem fixture stores it
  EXPECT_EQ(Str(Divide(ten, LiteralNumber("4"), 2)), "         2.50");
  Number five = Divide(Divide(LiteralNumber("100"), ten, 2), LiteralNumber("2"), 2);
  EXPECT_EQ(Str(five), "         5");
  EXPECT_EQ(Str(Divide(LiteralNumber("1.0"), LiteralNumber("1"), 4)), "         1.0000");
  // 3 * 2 ** 2 and (3 * 2) ** 2
  EXPECT_EQ(Str(Multiply(three, Power(LiteralNumber("2"), LiteralNumber("2"), 2))),
            "        12.00");
  EXPECT_EQ(Str(Power(Multiply(three, LiteralNumber("2")), LiteralNumber("2"), 2)),
            "        36.00");
  Number rem = Modulus(Negate(LiteralNumber("7")), three);
  EXPECT_EQ(rem.value, -1);
  EXPECT_EQ(Str(rem), "        -1");
  EXPECT_EQ(Str(Add(LiteralNumber("1.5"), LiteralNumber("1.25"))), "         2.75");
  EXPECT_EQ(Str(Subtract(LiteralNumber("1.5"), LiteralNumber("1.5"))), "         0.0");
  EXPECT_EQ(Str(Multiply(LiteralNumber("1.5"), LiteralNumber("1.25"))), "         1.875");
  EXPECT_EQ(Str(Add(LiteralNumber("9999999999"), LiteralNumber("1"))), "         10000000000");
}

// The width is the text's length, widened when STR() needs more ("-.5").
TEST(NumberTest, ValReadsTheLeadingNumber) {
  struct Case {
    const char* text;
    double value;
    int width;
    int decimals;
  };
  const Case cases[] = {
      {"0012", 12, 4, 0}, {"3.", 3, 2, 0}, {"-.5", -0.5, 4, 1},  {"1,5", 1, 3, 0},
      {"+7", 7, 2, 0},    {" ", 0, 1, 0},  {"", 0, 1, 0},        {"  12.50xy", 12.5, 9, 2},
      {"abc", 0, 3, 0},   {"-", 0, 1, 0},  {"1.15", 1.15, 4, 2}, {"1e5", 1, 3, 0},
  };
  for (const Case& c : cases) {
    Number n = Val(c.text);
    EXPECT_DOUBLE_EQ(n.value, c.value) << '"' << c.text << '"';
    EXPECT_EQ(n.width, c.width) << '"' << c.text << '"';
    EXPECT_EQ(n.decimals, c.decimals) << '"' << c.text << '"';
  }
}

TEST(NumberTest, FieldTextAndBack) {
  EXPECT_EQ(FieldText(Number{12.5, 10, 1}, 10, 2), "     12.50");
  EXPECT_EQ(FieldText(-99999999.99, 12, 2), "-99999999.99");
  EXPECT_EQ(FieldText(1e12, 12, 2), "************");
  Number n = FieldNumber("     12.50", 10, 2);
  EXPECT_EQ(n.value, 12.5);
  EXPECT_EQ(Str(n), "     12.50");
  EXPECT_EQ(Str(FieldNumber("     ", 5, 0)), "    0");
  EXPECT_EQ(FieldNumber("  -0.01", 7, 2).value, -0.01);
}

// Str() rounds most values without decimal text; it must agree with the
// decimal-text rounding everywhere, ties and near-ties included.
TEST(NumberTest, StrFastPathAgreesWithDecimalTextRounding) {
  std::mt19937_64 random(20261211);
  std::uniform_real_distribution<double> magnitude(-12, 12);
  std::uniform_int_distribution<int> decimals(0, 9);
  for (int i = 0; i < 200000; ++i) {
    int dec = decimals(random);
    double value = std::pow(10.0, magnitude(random)) * (random() % 2 ? 1 : -1);
    if (i % 3 == 0) {  // a tie in decimal text, e.g. 1.005 or 2.5
      value = std::round(value * std::pow(10.0, dec + 1)) / std::pow(10.0, dec + 1);
      value += 5 / std::pow(10.0, dec + 1) * (value < 0 ? -1 : 1);
    }
    ASSERT_EQ(Str(value, 24, dec), StrExact(value, 24, dec)) << value << " dec " << dec;
  }
}

}  // namespace
}  // namespace qv::rt
