#include "platform/xbase/lib_args.h"

#include <cmath>

namespace qv::xb {

std::string& StrArg(Evaluator& ev, std::span<rt::Value> args, size_t i) {
  if (i >= args.size() || !args[i].IsString()) ev.ArgumentError();
  return args[i].str();
}

const rt::Number& NumArg(Evaluator& ev, std::span<rt::Value> args, size_t i) {
  if (i >= args.size() || !args[i].IsNumber()) ev.ArgumentError();
  return args[i].number();
}

rt::Date DateArg(Evaluator& ev, std::span<rt::Value> args, size_t i) {
  if (i >= args.size() || !args[i].IsDate()) ev.ArgumentError();
  return args[i].date();
}

bool LogicalArg(Evaluator& ev, std::span<rt::Value> args, size_t i) {
  if (i >= args.size() || !args[i].IsLogical()) ev.ArgumentError();
  return args[i].logical();
}

rt::ArrayRef ArrayArg(Evaluator& ev, std::span<rt::Value> args, size_t i) {
  if (i >= args.size() || !args[i].IsArray()) ev.ArgumentError();
  return args[i].array();
}

int64_t IntArg(Evaluator& ev, std::span<rt::Value> args, size_t i) {
  double v = NumArg(ev, args, i).value;
  constexpr double kLimit = static_cast<double>(kMaxStringLength) * 4;
  if (std::isnan(v)) return 0;
  if (v > kLimit) return static_cast<int64_t>(kLimit);
  if (v < -kLimit) return -static_cast<int64_t>(kLimit);
  return static_cast<int64_t>(v);
}

int64_t IntArgOr(Evaluator& ev, std::span<rt::Value> args, size_t i, int64_t fallback) {
  return Given(args, i) ? IntArg(ev, args, i) : fallback;
}

void CheckLength(Evaluator& ev, int64_t length) {
  if (length > kMaxStringLength) ev.Fail("String too long");
}

}  // namespace qv::xb
