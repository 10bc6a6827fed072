// Positional arguments of registered routines as the adapters read them:
// a missing position is NIL, a text position that holds no text reads as "".
// Internal to src/tables.
#pragma once

#include <span>
#include <string>

#include "platform/runtime/procedures.h"
#include "platform/runtime/value.h"

namespace qv::tables::detail {

using Args = std::span<rt::Value>;

inline const rt::Value& Arg(Args args, size_t i) { return rt::ArgAt(args, i); }

inline std::string TextArg(Args args, size_t i) {
  const rt::Value& v = Arg(args, i);
  return v.IsString() ? v.str() : std::string();
}

// A number position; fallback when it holds no number.
inline double NumArg(Args args, size_t i, double fallback) {
  const rt::Value& v = Arg(args, i);
  return v.IsNumber() ? v.num() : fallback;
}

}  // namespace qv::tables::detail
