// The procedure registry: every routine of the program registers under its
// name and is called by name with positional arguments, as xBase code calls
// it, also when a call goes up a layer (the table layer showing a message).
// Each call pushes a call frame (procedure name and the C++ line of the call)
// and a private-variable scope, and pops both when the call ends.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/value.h"

namespace qv::rt {

// A routine: args holds one Value per position the caller passed; a missing
// argument is NIL (the callee checks args.size() and IsNil()). By-reference
// arguments: the callee assigns args[i]; the caller passes a span over its own
// storage and afterwards writes back the positions it passed by reference
// (e.g. to the variable named there). Positions passed by value are copies
// the callee may change freely.
using Procedure = std::function<Value(Session& session, std::span<Value> args)>;

class ProcedureRegistry {
 public:
  // Registers or replaces name (case-insensitive, stored upper-case).
  void Register(std::string_view name, Procedure fn);
  // nullptr when name is not registered. The pointer stays valid until name
  // is registered again.
  const Procedure* Find(std::string_view name) const;
  bool Contains(std::string_view name) const { return Find(name) != nullptr; }
  // Upper-case names, sorted.
  std::vector<std::string> Names() const;

 private:
  std::map<std::string, Procedure> procedures_;
};

// Positional argument i as a routine reads it: NIL when the caller passed
// fewer arguments.
const Value& ArgAt(std::span<const Value> args, size_t i);

// Calls the registered procedure name with frame {name, line} and a new
// private scope, both popped on return and when an exception unwinds.
// An unknown name raises "Undefined function" (operation = name) through the
// session's error handler: Retry looks the name up again, Default returns NIL,
// Quit throws QuitRequest.
Value Call(Session& session, std::string_view name, std::span<Value> args,
           int line = __builtin_LINE());
// Arguments by value only.
Value Call(Session& session, std::string_view name, std::initializer_list<Value> args,
           int line = __builtin_LINE());

// PARAMETERS a, b, c: makes each argument a private variable of the current
// routine, named in order; a name without an argument gets NIL. For a
// position passed by reference the routine copies the variable back into
// args[i] before it returns (WriteBackParameters).
void BindParameters(Session& session, std::span<const Value> args,
                    std::initializer_list<std::string_view> names);
// args[i] := the variable names[i], for every position args holds.
void WriteBackParameters(Session& session, std::span<Value> args,
                         std::initializer_list<std::string_view> names);

}  // namespace qv::rt
