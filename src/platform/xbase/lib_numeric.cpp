// Numeric functions. Results carry the widths an xBase runtime gives them,
// so STR() without a width prints them the same way.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/runtime/number.h"
#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"
#include "platform/xbase/operators.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

Value FnAbs(Evaluator& ev, Args a) {
  rt::Number n = NumArg(ev, a, 0);
  n.value = std::fabs(n.value);
  return Value(n);
}

Value FnInt(Evaluator& ev, Args a) {
  return Value(rt::IntegerNumber(std::trunc(NumArg(ev, a, 0).value)));
}

// Rounds half away from zero on the decimal digits, as STR() does, so
// ROUND(1.005, 2) is 1.01 although the double is a little below it.
Value FnRound(Evaluator& ev, Args a) {
  double v = NumArg(ev, a, 0).value;
  int64_t places = std::clamp<int64_t>(IntArg(ev, a, 1), -30, 30);
  if (!std::isfinite(v) || std::fabs(v) >= 1e30) return Value(rt::DecimalNumber(v, 0));
  if (places >= 0) {
    int d = static_cast<int>(places);
    double r = std::strtod(rt::Str(v, 100, d).c_str(), nullptr);
    return Value(rt::DecimalNumber(r, d));
  }
  double scale = std::pow(10.0, static_cast<double>(-places));
  double r = std::strtod(rt::Str(v / scale, 100, 0).c_str(), nullptr) * scale;
  return Value(rt::IntegerNumber(r));
}

// MOD() takes the divisor's sign (MOD(-7, 3) is 2), unlike "%".
Value FnMod(Evaluator& ev, Args a) {
  double x = NumArg(ev, a, 0).value;
  double y = NumArg(ev, a, 1).value;
  if (y == 0) return a[0];
  double r = std::fmod(x, y);
  if (r != 0 && ((r < 0) != (y < 0))) r += y;
  return Value(rt::DecimalNumber(r, ev.session().settings().decimals));
}

Value FnSqrt(Evaluator& ev, Args a) {
  double v = NumArg(ev, a, 0).value;
  return Value(rt::DecimalNumber(v > 0 ? std::sqrt(v) : 0, ev.session().settings().decimals));
}

// MAX/MIN of two numbers, dates or strings: the chosen argument itself.
Value Extreme(Evaluator& ev, Args a, bool want_max) {
  if (a.size() < 2 || a[0].type() != a[1].type() ||
      !(a[0].IsNumber() || a[0].IsDate() || a[0].IsString() || a[0].IsLogical())) {
    ev.ArgumentError();
  }
  int c = CompareValues(a[0], a[1], true);
  return (want_max ? c >= 0 : c <= 0) ? a[0] : a[1];
}

Value FnMax(Evaluator& ev, Args a) { return Extreme(ev, a, true); }
Value FnMin(Evaluator& ev, Args a) { return Extreme(ev, a, false); }

constexpr Builtin kNumericLibrary[] = {
    {"ABS", FnAbs, 1},   {"INT", FnInt, 1}, {"ROUND", FnRound, 2}, {"MOD", FnMod, 2},
    {"SQRT", FnSqrt, 1}, {"MAX", FnMax, 2}, {"MIN", FnMin, 2},
};

}  // namespace

std::span<const Builtin> NumericLibrary() { return kNumericLibrary; }

}  // namespace qv::xb
