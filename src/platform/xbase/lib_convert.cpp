// Conversions between numbers and text: STR, STRZERO, VAL, TRANSFORM.
#include <algorithm>

#include "platform/runtime/number.h"
#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"
#include "platform/xbase/picture.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

// STR(n) uses the number's own width; a width without decimals means none.
std::string StrOf(Evaluator& ev, Args a) {
  const rt::Number& n = NumArg(ev, a, 0);
  if (!Given(a, 1)) return rt::Str(n);
  int64_t width = IntArg(ev, a, 1);
  CheckLength(ev, width);
  int64_t decimals = std::clamp<int64_t>(IntArgOr(ev, a, 2, 0), 0, 64);
  return rt::Str(n.value, static_cast<int>(width), static_cast<int>(decimals));
}

Value FnStr(Evaluator& ev, Args a) { return Value(StrOf(ev, a)); }

// STRZERO: STR with the leading blanks as zeros and the sign in front.
Value FnStrZero(Evaluator& ev, Args a) {
  std::string s = StrOf(ev, a);
  bool negative = false;
  for (char& c : s) {
    if (c == '-') {
      negative = true;
      c = '0';
    } else if (c == ' ') {
      c = '0';
    }
  }
  if (negative && !s.empty()) s[0] = '-';
  return Value(std::move(s));
}

Value FnVal(Evaluator& ev, Args a) { return Value(rt::Val(StrArg(ev, a, 0))); }

Value FnTransform(Evaluator& ev, Args a) {
  if (a.empty()) ev.ArgumentError();
  std::string picture = Given(a, 1) ? StrArg(ev, a, 1) : std::string();
  return Value(Transform(a[0], picture));
}

constexpr Builtin kConvertLibrary[] = {
    {"STR", FnStr, 3},
    {"STRZERO", FnStrZero, 3},
    {"VAL", FnVal, 1},
    {"TRANSFORM", FnTransform, 2},
};

}  // namespace

std::span<const Builtin> ConvertLibrary() { return kConvertLibrary; }

}  // namespace qv::xb
