// Numbers as an xBase runtime formats them: STR() with and without a width,
// VAL(), the text of numeric (N) fields, and the width/decimals that literals
// and arithmetic results carry. A Number's width is the full STR() width;
// its decimals are the digits STR() shows after the point.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/runtime/value.h"

namespace qv::rt {

// Integer part width of every number that is not wider than that.
inline constexpr int kIntegerWidth = 10;
// SET DECIMALS default: decimals of division and power results.
inline constexpr int kDefaultDecimals = 2;

// The full STR() width for an integer part of integer_width columns:
// integer_width, plus decimals + 1 when decimals > 0.
int FullWidth(int integer_width, int decimals);

// A computed whole number (decimals 0): width 10, or 20 when the value needs
// more than 10 columns (10^10 and above, -10^9 and below).
Number IntegerNumber(double whole);
// A computed number with decimals: integer part 10 columns (20 when it needs
// more, as above) + point + decimals (at most 255). decimals 0 gives
// IntegerNumber().
Number DecimalNumber(double value, int decimals);
// A numeric literal as the lexer reads it ("42", "3.5", ".5", "1234567890123"):
// decimals = digits after the point; integer part 10 columns, or digits + 1
// when the literal has more than 10 integer digits. REQUIRES: digits with at
// most one point (no sign).
Number LiteralNumber(std::string_view text);

// STR(n) without a width: n.width columns with n.decimals decimals.
std::string Str(const Number& n);
// STR(value, width, decimals): right-aligned in width columns, rounded half
// away from zero on the decimal text (15 significant digits, so 1.005 -> 1.01);
// width asterisks when it does not fit. A negative value that rounds to zero
// shows no sign. width < 1 gives "". decimals < 0 counts as 0.
std::string Str(double value, int width, int decimals);
// Str() by rounding the 15-digit decimal text in every case: what Str()
// gives, without its fast path for the common case (tests compare the two).
std::string StrExact(double value, int width, int decimals);
// The text of an N field of len columns and dec decimals (same as Str()).
std::string FieldText(const Number& n, int len, int dec);
// Same, from a plain double.
std::string FieldText(double value, int len, int dec);

// VAL(text): leading blanks, an optional sign, digits, an optional point and
// digits; reading stops at the first other byte ("1,5" -> 1, " " -> 0).
// Width = length of text (at least what the digits need), decimals = digits
// read after the point.
Number Val(std::string_view text);
// The number stored in an N field: its text read as VAL() does, carrying the
// field's width and decimals. Blank text is 0.
Number FieldNumber(std::string_view stored, int len, int dec);

// Arithmetic results with the width/decimals an xBase runtime gives them.
// + and -: decimals = the larger of the operands'; whole numbers stay whole.
Number Add(const Number& a, const Number& b);
Number Subtract(const Number& a, const Number& b);
// *: decimals = sum of the operands' decimals.
Number Multiply(const Number& a, const Number& b);
// /: a whole quotient of two whole numbers stays whole (100/10/2 -> 5), any
// other quotient gets set_decimals decimals (10/4 -> 2.50).
// REQUIRES: b.value != 0 (division by zero is the caller's run-time error).
Number Divide(const Number& a, const Number& b, int set_decimals);
// %: sign of the dividend (-7 % 3 -> -1); decimals as for +.
// REQUIRES: b.value != 0.
Number Modulus(const Number& a, const Number& b);
// ** and ^: always set_decimals decimals (3 * 2 ** 2 -> 12.00).
Number Power(const Number& a, const Number& b, int set_decimals);
// Unary minus keeps width and decimals, unless the sign no longer fits: then
// the width of a computed value.
Number Negate(const Number& a);

}  // namespace qv::rt
