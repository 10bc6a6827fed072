// Argument access for the library functions: a missing or NIL argument is
// told apart from a given one, and an argument of the wrong type is an
// "Argument error" naming the function. Counts and positions are clamped so
// that no text can make a function index outside a string or allocate
// without bound. Internal to platform/xbase.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "platform/runtime/value.h"
#include "platform/xbase/evaluator.h"
#include "platform/xbase/operators.h"

namespace qv::xb {

inline bool Given(std::span<rt::Value> args, size_t i) {
  return i < args.size() && !args[i].IsNil();
}

// REQUIRES for each: on the wrong type they fail through ev (throw).
std::string& StrArg(Evaluator& ev, std::span<rt::Value> args, size_t i);
const rt::Number& NumArg(Evaluator& ev, std::span<rt::Value> args, size_t i);
rt::Date DateArg(Evaluator& ev, std::span<rt::Value> args, size_t i);
bool LogicalArg(Evaluator& ev, std::span<rt::Value> args, size_t i);
rt::ArrayRef ArrayArg(Evaluator& ev, std::span<rt::Value> args, size_t i);
// A whole number (truncated toward zero), clamped to +-kMaxStringLength * 4.
int64_t IntArg(Evaluator& ev, std::span<rt::Value> args, size_t i);
// IntArg, or fallback when the argument is missing or NIL.
int64_t IntArgOr(Evaluator& ev, std::span<rt::Value> args, size_t i, int64_t fallback);
// Fails unless 0 <= length <= kMaxStringLength.
void CheckLength(Evaluator& ev, int64_t length);

}  // namespace qv::xb
