// Builds the expression tree from text: recursive descent, binary operators
// read by priority from one table, code-block parameters resolved to depth
// and slot (library functions are left to the compiler). A fault gives
// InvalidArgument naming the text and the 1-based position of the offending
// token; deep nesting is refused rather than run into a stack overflow.
#pragma once

#include <string_view>

#include "platform/fs/status.h"
#include "platform/xbase/ast.h"

namespace qv::xb {

enum class ParseMode {
  kExpression,  // "=" compares everywhere
  kStatement,   // "=" assigns in the top-level comma items, as a statement does
};

// Parses a whole text: a comma list whose value is its last item.
Result<Node> Parse(std::string_view text, ParseMode mode = ParseMode::kExpression);

// Nesting beyond this many levels is a syntax error.
inline constexpr int kMaxParseDepth = 200;

}  // namespace qv::xb
