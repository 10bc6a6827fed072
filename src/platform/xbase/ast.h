// The tree the parser builds and the evaluator walks. The compiler resolves
// it in place (library functions to pointers, arity checked), so evaluating
// a node never parses and never looks a library function up by name.
// Internal to platform/xbase: other layers use expr.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/value.h"

namespace qv::xb {

struct Builtin;
struct Program;

enum class NodeKind : uint8_t {
  kConst,      // value
  kName,       // NAME: a field of the current area, else a variable
  kMemvar,     // M->NAME, MEMVAR->NAME: a variable only
  kField,      // ALIAS->NAME (alias "" for FIELD->NAME): a field only
  kAliasExpr,  // ALIAS->(list): kids[0] evaluated with ALIAS selected
  kParam,      // a code-block parameter: depth blocks out, slot
  kIndex,      // kids[0][kids[1]]
  kCall,       // name(kids...): builtin when the library has it, else a procedure
  kRef,        // @NAME as a call argument
  kBlock,      // {|params| kids...}; slot = parameter count, name = source text
  kArray,      // {kids...}
  kList,       // (kids...): the value of the last
  kAssign,     // kids[0] := kids[1]; op is kNone or the compound operator
  kIncDec,     // kids[0]++ / -- (op kAdd or kSub); pre = slot != 0
  kNegate,     // -kids[0]
  kNot,        // .NOT. kids[0]
  kBinary,     // kids[0] op kids[1]
  kAnd,        // short-circuit
  kOr,         // short-circuit
  kIif,        // IIF(kids[0], kids[1], kids[2]): only one branch runs
  kMacro,      // &NAME or &(kids[0]): compile the text and evaluate it
};

enum class BinaryOp : uint8_t {
  kNone,
  kAdd,
  kSub,
  kMul,
  kDiv,
  kMod,
  kPow,
  kEq,
  kExactEq,
  kNe,
  kLt,
  kLe,
  kGt,
  kGe,
  kIn,
};

struct Node {
  NodeKind kind = NodeKind::kConst;
  BinaryOp op = BinaryOp::kNone;
  uint32_t pos = 0;   // byte offset in the source text, for errors
  int depth = 0;      // kParam
  int slot = 0;       // kParam slot; kBlock parameter count; kIncDec prefix flag
  rt::Value value;    // kConst
  std::string name;   // upper-cased names; kBlock: its source text
  std::string alias;  // kField, kAliasExpr
  std::vector<Node> kids;
  uint16_t height = 1;               // levels of this subtree, bounded by the parser
  const Builtin* builtin = nullptr;  // kCall, set by the compiler

  // Field lookups remembered per table layout (see TableAccess::LayoutStamp).
  mutable std::weak_ptr<const char> cache_owner;  // TableAccess::identity()
  mutable uint64_t cache_stamp = 0;
  mutable int cache_area = 0;
  mutable int cache_field = -1;
  // kMacro: the last text compiled, reused while the text stays the same.
  mutable std::shared_ptr<const Program> macro_program;
};

}  // namespace qv::xb
