// Turns text into a Program: parses it, then binds every call of a library
// function to its entry (so evaluation never looks one up by name) and
// rejects calls with more arguments than the function takes. Calls of other
// names stay unbound and go to the procedure registry when evaluated.
// Internal to platform/xbase: other layers use expr.h.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/fs/status.h"
#include "platform/xbase/ast.h"
#include "platform/xbase/parser.h"

namespace qv::xb {

// Immutable once compiled, apart from the per-node field caches; shared by
// the Expr and by every code block made from it.
struct Program {
  std::string text;
  Node root;
};

// InvalidArgument naming the text and the 1-based position of the fault.
Result<std::shared_ptr<const Program>> CompileProgram(std::string_view text, ParseMode mode);

}  // namespace qv::xb
