#include "platform/runtime/number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "platform/runtime/text.h"

namespace qv::rt {

namespace {

// Integer part width of a computed value: 10, or 20 once 10 columns do not
// hold it (the sign counts as a column).
int ComputedIntegerWidth(double value) {
  return (value >= 1e10 || value <= -1e9) ? 20 : kIntegerWidth;
}

// Widths and decimals are stored in 16 bits; an absurd one (a 70000-byte VAL
// argument) saturates instead of wrapping to a negative width.
int16_t Narrow(int n) { return static_cast<int16_t>(std::clamp(n, 0, 32767)); }

// Repeated products add up decimals; past this they mean nothing.
constexpr int kMaxDecimals = 255;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Rounds the decimal digit string of |value| half away from zero to
// decimals places. The digits come from 15 significant figures, which is
// the precision a double holds for sure, so 1.005 rounds up as it reads.
std::string RoundedDigits(double magnitude, int decimals, int* int_digits) {
  char buf[64];
  // d.dddddddddddddde+XX
  std::snprintf(buf, sizeof buf, "%.14e", magnitude);
  std::string mantissa;
  const char* p = buf;
  for (; *p != 'e'; ++p) {
    if (IsDigit(*p)) mantissa.push_back(*p);
  }
  int exponent = std::atoi(p + 1);
  // digits[0] has place value 10^exponent. Keep exponent + 1 + decimals digits.
  int keep = exponent + 1 + decimals;
  if (keep < 0) {  // too small to reach the last decimal: zero
    *int_digits = 1;
    return std::string(static_cast<size_t>(decimals) + 1, '0');
  }
  std::string digits = mantissa;
  if (static_cast<int>(digits.size()) < keep) digits.append(keep - digits.size(), '0');
  bool round_up = static_cast<int>(digits.size()) > keep && digits[keep] >= '5';
  digits.resize(static_cast<size_t>(keep));
  if (round_up) {
    int i = keep - 1;
    for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits.insert(digits.begin(), '1');
      ++exponent;
    }
  }
  // Put leading zeros in front so that the integer part has >= 1 digit.
  int ints = exponent + 1;
  if (ints < 1) {
    digits.insert(0, static_cast<size_t>(1 - ints), '0');
    ints = 1;
  }
  *int_digits = ints;
  return digits;
}

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// The common case, without decimal text: |value| scaled to its last decimal
// is below 1e11 and not near a rounding tie. There the 15-digit decimal text
// that RoundedDigits() rounds lies within 5e-4 of the scaled binary value,
// so rounding the binary value gives the same digits. Ties go the slow way.
bool FastScaled(double magnitude, int decimals, uint64_t* scaled) {
  if (decimals >= static_cast<int>(std::size(kPow10))) return false;
  double s = magnitude * kPow10[decimals];
  if (!(s < 1e11)) return false;
  double whole = std::floor(s);
  double fraction = s - whole;
  if (std::fabs(fraction - 0.5) < 1e-3) return false;
  *scaled = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
  return true;
}

// Right-aligns [-]int.dec of scaled / 10^decimals in width columns.
std::string FormatScaled(bool negative, uint64_t scaled, int width, int decimals) {
  char buf[40];
  char* end = buf + sizeof buf;
  char* p = end;
  for (int i = 0; i < decimals; ++i) {
    *--p = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  }
  if (decimals > 0) *--p = '.';
  do {
    *--p = static_cast<char>('0' + scaled % 10);
    scaled /= 10;
  } while (scaled != 0);
  bool zero = std::find_if(p, end, [](char c) { return c > '0' && c <= '9'; }) == end;
  if (negative && !zero) *--p = '-';
  auto length = static_cast<int>(end - p);
  if (length > width) return std::string(static_cast<size_t>(width), '*');
  std::string text(static_cast<size_t>(width - length), ' ');
  text.append(p, end);
  return text;
}

// The number VAL() reads: blanks, an optional sign, digits, an optional
// point and digits; the first other byte ends it (*end: its offset). Table
// scans read every N field through this, so up to 15 digits it builds an
// exact integer and divides by an exact power of ten, which rounds as strtod
// does; longer texts go to strtod.
double ValueOf(std::string_view text, size_t* end, int* decimals) {
  static constexpr double kPow10Exact[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const size_t start = i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint64_t mantissa = 0;
  int digits = 0;
  *decimals = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
    mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
  }
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits, ++*decimals) {
      mantissa = mantissa * 10 + static_cast<uint64_t>(text[i] - '0');
    }
  }
  *end = i;
  if (digits > 15) {
    std::string copy(text.substr(start, i - start));
    return std::strtod(copy.c_str(), nullptr);
  }
  double value = static_cast<double>(mantissa) / kPow10Exact[*decimals];
  return negative ? -value : value;
}

}  // namespace

int FullWidth(int integer_width, int decimals) {
  return decimals > 0 ? integer_width + decimals + 1 : integer_width;
}

Number IntegerNumber(double whole) { return Number{whole, Narrow(ComputedIntegerWidth(whole)), 0}; }

Number DecimalNumber(double value, int decimals) {
  if (decimals <= 0) return IntegerNumber(value);
  decimals = std::min(decimals, kMaxDecimals);
  return Number{value, Narrow(FullWidth(ComputedIntegerWidth(value), decimals)), Narrow(decimals)};
}

Number LiteralNumber(std::string_view text) {
  size_t point = text.find('.');
  int int_digits = static_cast<int>(point == std::string_view::npos ? text.size() : point);
  int decimals = point == std::string_view::npos ? 0 : static_cast<int>(text.size() - point - 1);
  int integer_width = int_digits > kIntegerWidth ? int_digits + 1 : kIntegerWidth;
  double value = std::strtod(std::string(text).c_str(), nullptr);
  return Number{value, Narrow(FullWidth(integer_width, decimals)), Narrow(decimals)};
}

std::string Str(const Number& n) { return Str(n.value, n.width, n.decimals); }

std::string Str(double value, int width, int decimals) {
  if (width < 1) return "";
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(value)) return std::string(static_cast<size_t>(width), '*');
  uint64_t scaled = 0;
  if (FastScaled(std::fabs(value), decimals, &scaled)) {
    return FormatScaled(value < 0, scaled, width, decimals);
  }
  return StrExact(value, width, decimals);
}

std::string StrExact(double value, int width, int decimals) {
  if (width < 1) return "";
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(value)) return std::string(static_cast<size_t>(width), '*');
  int int_digits = 0;
  std::string digits = RoundedDigits(std::fabs(value), decimals, &int_digits);
  bool all_zero = digits.find_first_not_of('0') == std::string::npos;
  std::string text;
  if (value < 0 && !all_zero) text.push_back('-');
  text.append(digits, 0, static_cast<size_t>(int_digits));
  if (decimals > 0) {
    text.push_back('.');
    text.append(digits, static_cast<size_t>(int_digits), std::string::npos);
  }
  if (static_cast<int>(text.size()) > width) return std::string(static_cast<size_t>(width), '*');
  return std::string(static_cast<size_t>(width) - text.size(), ' ') + text;
}

std::string FieldText(const Number& n, int len, int dec) { return Str(n.value, len, dec); }
std::string FieldText(double value, int len, int dec) { return Str(value, len, dec); }

Number Val(std::string_view text) {
  size_t end = 0;
  int decimals = 0;
  double value = ValueOf(text, &end, &decimals);
  // The width is the text's, but never less than the digits need.
  int width = static_cast<int>(text.size());
  int needed = static_cast<int>(AllTrim(Str(value, 64, decimals)).size());
  return Number{value, Narrow(std::max(width, needed)), Narrow(decimals)};
}

Number FieldNumber(std::string_view stored, int len, int dec) {
  size_t end = 0;
  int decimals = 0;
  return Number{ValueOf(stored, &end, &decimals), Narrow(len), Narrow(dec)};
}

Number Add(const Number& a, const Number& b) {
  return DecimalNumber(a.value + b.value, std::max(a.decimals, b.decimals));
}

Number Subtract(const Number& a, const Number& b) {
  return DecimalNumber(a.value - b.value, std::max(a.decimals, b.decimals));
}

Number Multiply(const Number& a, const Number& b) {
  return DecimalNumber(a.value * b.value, a.decimals + b.decimals);
}

Number Divide(const Number& a, const Number& b, int set_decimals) {
  double q = a.value / b.value;
  if (a.decimals == 0 && b.decimals == 0 && std::trunc(q) == q) return IntegerNumber(q);
  return DecimalNumber(q, set_decimals);
}

Number Modulus(const Number& a, const Number& b) {
  return DecimalNumber(std::fmod(a.value, b.value), std::max(a.decimals, b.decimals));
}

Number Power(const Number& a, const Number& b, int set_decimals) {
  return DecimalNumber(std::pow(a.value, b.value), set_decimals);
}

Number Negate(const Number& a) {
  Number n{-a.value, a.width, a.decimals};
  // The sign may need the column a positive value left free (-1234567890).
  if (Str(n).starts_with('*')) n = DecimalNumber(n.value, n.decimals);
  return n;
}

}  // namespace qv::rt
