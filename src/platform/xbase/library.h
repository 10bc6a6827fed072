// The function library's entry table. Each family (string, numeric, date,
// conversion, array, table, file, other) lives in its own lib_*.cpp with one
// table of {name, function, most arguments}; the compiler binds calls to the
// entries, so a library function is never looked up by name per call.
// Internal to platform/xbase.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/runtime/value.h"

namespace qv::xb {

class Evaluator;

// Arguments arrive evaluated, one per position written (missing ones NIL);
// the function may take them apart (move strings out). Faults go through
// Evaluator::Fail(), which throws.
using BuiltinFn = rt::Value (*)(Evaluator& ev, std::span<rt::Value> args);

struct Builtin {
  const char* name;  // upper case
  BuiltinFn fn;
  uint8_t max_args;
};

// The entry for an upper-case name, nullptr when the library has none.
const Builtin* FindBuiltin(std::string_view name);

// One table per family, each defined in its lib_*.cpp.
std::span<const Builtin> StringLibrary();
std::span<const Builtin> NumericLibrary();
std::span<const Builtin> DateLibrary();
std::span<const Builtin> ConvertLibrary();
std::span<const Builtin> ArrayLibrary();
std::span<const Builtin> TableLibrary();
std::span<const Builtin> FileLibrary();
std::span<const Builtin> OtherLibrary();

}  // namespace qv::xb
