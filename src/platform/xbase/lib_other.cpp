// Functions over any value: EVAL, EMPTY, LEN, VALTYPE, TYPE.
#include <string>

#include "platform/runtime/procedures.h"
#include "platform/xbase/compiler.h"
#include "platform/xbase/lib_args.h"
#include "platform/xbase/library.h"

namespace qv::xb {
namespace {

using rt::Value;
using Args = std::span<Value>;

Value FnEval(Evaluator& ev, Args a) {
  if (a.empty()) ev.ArgumentError();
  return ev.CallBlock(a[0], a.subspan(1));
}

bool IsEmpty(const Value& v) {
  switch (v.type()) {
    case rt::Type::kNil:
      return true;
    case rt::Type::kLogical:
      return !v.logical();
    case rt::Type::kNumber:
      return v.num() == 0;
    case rt::Type::kString:
      return v.str().find_first_not_of(" \t\r\n") == std::string::npos;
    case rt::Type::kDate:
      return v.date().empty();
    case rt::Type::kArray:
      return v.array()->items.empty();
    case rt::Type::kBlock:
    case rt::Type::kObject:
      return false;
  }
  return true;
}

Value FnEmpty(Evaluator&, Args a) { return Value(a.empty() || IsEmpty(a[0])); }

Value FnLen(Evaluator& ev, Args a) {
  if (!a.empty() && a[0].IsString()) return Value::Int(static_cast<int64_t>(a[0].str().size()));
  if (!a.empty() && a[0].IsArray()) {
    return Value::Int(static_cast<int64_t>(a[0].array()->items.size()));
  }
  ev.ArgumentError();
}

Value FnValType(Evaluator&, Args a) {
  return Value(std::string(1, rt::TypeLetter(a.empty() ? rt::Type::kNil : a[0].type())));
}

// A call of a name that is neither a library function nor a registered
// routine, anywhere in the tree.
bool CallsUnknown(const Node& node, rt::Session& session) {
  if (node.kind == NodeKind::kCall && node.builtin == nullptr &&
      !session.procedures().Contains(node.name)) {
    return true;
  }
  for (const Node& kid : node.kids) {
    if (CallsUnknown(kid, session)) return true;
  }
  return false;
}

// TYPE(text): the type letter of the text's value; "UE" when it does not
// compile, "UI" when it calls an unknown function, "U" when it fails.
Value FnType(Evaluator& ev, Args a) {
  Result<std::shared_ptr<const Program>> program =
      CompileProgram(StrArg(ev, a, 0), ParseMode::kExpression);
  if (!program.ok()) return Value("UE");
  if (CallsUnknown((*program)->root, ev.session())) return Value("UI");
  try {
    Evaluator inner(ev.host(), *program);
    return Value(std::string(1, rt::TypeLetter(inner.Run().type())));
  } catch (const rt::RuntimeError&) {
    return Value("U");
  }
}

constexpr Builtin kOtherLibrary[] = {
    {"EVAL", FnEval, 255},     {"EMPTY", FnEmpty, 1}, {"LEN", FnLen, 1},
    {"VALTYPE", FnValType, 1}, {"TYPE", FnType, 1},
};

}  // namespace

std::span<const Builtin> OtherLibrary() { return kOtherLibrary; }

}  // namespace qv::xb
