// The operators of xBase on values: arithmetic with the widths an xBase
// runtime gives results, string + and -, date arithmetic, and the
// comparisons, including the non-exact string "=" (with EXACT off, "COMPANY"
// = "CO" holds and "CO" = "COMPANY" does not; "==" is always exact).
// Internal to platform/xbase.
#pragma once

#include <cstdint>
#include <string>

#include "platform/runtime/session.h"
#include "platform/runtime/value.h"
#include "platform/xbase/ast.h"

namespace qv::xb {

// Longest string an operator or library function builds; longer results are
// a run-time error ("String too long"), not an exhausted memory.
inline constexpr int64_t kMaxStringLength = 16 << 20;

// a op b for every BinaryOp except kNone. On a type mismatch or a zero
// divisor returns NIL and sets *error to the description ("Argument error",
// "Zero divisor", "String too long").
rt::Value ApplyBinary(BinaryOp op, const rt::Value& a, const rt::Value& b,
                      const rt::RuntimeSettings& settings, std::string* error);

// -a; NIL and *error when a is not a number.
rt::Value Negate(const rt::Value& a, std::string* error);

// Ordering of two values of one comparable type (string, number, date,
// logical): <0, 0, >0. Strings compare bytes; with exact false a right side
// that is a prefix of the left compares equal, as "=" does.
// REQUIRES: a.type() == b.type(), one of those four.
int CompareValues(const rt::Value& a, const rt::Value& b, bool exact);

}  // namespace qv::xb
