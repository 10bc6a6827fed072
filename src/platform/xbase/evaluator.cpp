#include "platform/xbase/evaluator.h"

#include <string>
#include <utility>

#include "platform/runtime/error.h"
#include "platform/runtime/procedures.h"
#include "platform/xbase/library.h"
#include "platform/xbase/operators.h"

namespace qv::xb {

using rt::Value;

class Evaluator::DepthGuard {
 public:
  explicit DepthGuard(Evaluator& ev) : host_(ev.host_) {
    if (++host_.eval_depth > kMaxEvalDepth) {
      --host_.eval_depth;
      ev.Fail("Evaluation nested too deeply");
    }
  }
  ~DepthGuard() { --host_.eval_depth; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  Host& host_;
};

namespace {

// A code block made from text: the tree stays alive with its program, and
// the frame it was made in stays alive with the block.
class CompiledBlock : public rt::Block {
 public:
  CompiledBlock(Host& host, std::shared_ptr<const Program> program, const Node& node,
                std::shared_ptr<Frame> captured)
      : host_(host), program_(std::move(program)), node_(node), captured_(std::move(captured)) {}

  Value Call(rt::Session& session, std::span<Value> args) override {
    (void)session;  // the Host's session: a block stays with the session it was made in
    auto frame = std::make_shared<Frame>();
    frame->parent = captured_;
    frame->params.resize(static_cast<size_t>(node_.slot));
    for (size_t i = 0; i < frame->params.size() && i < args.size(); ++i) {
      frame->params[i] = args[i];
    }
    if (node_.kids.empty()) return Value();
    Evaluator ev(host_, program_, std::move(frame));
    return ev.Eval(node_.kids[0]);
  }

  std::string_view Text() const override { return node_.name; }

 private:
  Host& host_;
  std::shared_ptr<const Program> program_;
  const Node& node_;
  std::shared_ptr<Frame> captured_;
};

// Restores the selected area when an aliased expression ends, also by an
// exception.
class AreaRestorer {
 public:
  AreaRestorer(TableAccess& tables, int area) : tables_(tables), saved_(tables.CurrentArea()) {
    tables_.SelectArea(area);
  }
  ~AreaRestorer() { tables_.SelectArea(saved_); }
  AreaRestorer(const AreaRestorer&) = delete;
  AreaRestorer& operator=(const AreaRestorer&) = delete;

 private:
  TableAccess& tables_;
  int saved_;
};

constexpr size_t kInlineArgs = 4;

}  // namespace

Evaluator::Evaluator(Host& host, const std::shared_ptr<const Program>& program,
                     std::shared_ptr<Frame> frame)
    : host_(host), program_(program), frame_(std::move(frame)) {}

void Evaluator::Fail(std::string_view description) {
  rt::ErrorInfo info;
  info.description = std::string(description);
  uint32_t pos = at_ != nullptr ? at_->pos : 0;
  info.operation = program_->text + " (position " + std::to_string(pos + 1) + ")";
  info.gen_code = 1;
  throw rt::RuntimeError(std::move(info));
}

void Evaluator::ArgumentError() {
  Fail("Argument error: " + (at_ != nullptr ? at_->name : std::string()));
}

Value Evaluator::Eval(const Node& node) {
  DepthGuard guard(*this);
  at_ = &node;
  switch (node.kind) {
    case NodeKind::kConst:
      return node.value;
    case NodeKind::kName:
      return EvalName(node);
    case NodeKind::kMemvar:
    case NodeKind::kRef: {
      Value* var = host_.session.Find(node.name);
      if (var == nullptr) Fail("Variable does not exist: " + node.name);
      return *var;
    }
    case NodeKind::kField:
      return EvalField(node);
    case NodeKind::kAliasExpr:
      return EvalAliasExpr(node);
    case NodeKind::kParam:
      return ParamSlot(node);
    case NodeKind::kIndex:
      return EvalIndex(node);
    case NodeKind::kCall:
      return EvalCall(node);
    case NodeKind::kBlock:
      return EvalBlock(node);
    case NodeKind::kArray: {
      std::vector<Value> items;
      items.reserve(node.kids.size());
      for (const Node& kid : node.kids) items.push_back(Eval(kid));
      return Value::Array(std::move(items));
    }
    case NodeKind::kList: {
      Value last;
      for (const Node& kid : node.kids) last = Eval(kid);
      return last;
    }
    case NodeKind::kAssign:
      return EvalAssign(node);
    case NodeKind::kIncDec:
      return EvalIncDec(node);
    case NodeKind::kNegate: {
      Value v = Eval(node.kids[0]);
      std::string error;
      Value r = Negate(v, &error);
      if (!error.empty()) {
        at_ = &node;
        Fail(error);
      }
      return r;
    }
    case NodeKind::kNot:
      return Value(!Logical(node.kids[0]));
    case NodeKind::kBinary: {
      Value a = Eval(node.kids[0]);
      Value b = Eval(node.kids[1]);
      // Keys are concatenations evaluated for every record: append in place.
      if (node.op == BinaryOp::kAdd && a.IsString() && b.IsString() &&
          a.str().size() + b.str().size() <= static_cast<size_t>(kMaxStringLength)) {
        a.str() += b.str();
        return a;
      }
      return Binary(node, node.op, a, b);
    }
    case NodeKind::kAnd:
      return Value(Logical(node.kids[0]) && Logical(node.kids[1]));
    case NodeKind::kOr:
      return Value(Logical(node.kids[0]) || Logical(node.kids[1]));
    case NodeKind::kIif:
      return Logical(node.kids[0]) ? Eval(node.kids[1]) : Eval(node.kids[2]);
    case NodeKind::kMacro:
      return EvalMacro(node);
  }
  return Value();
}

bool Evaluator::Logical(const Node& node) {
  Value v = Eval(node);
  if (!v.IsLogical()) {
    at_ = &node;
    Fail("Argument error: logical expected");
  }
  return v.logical();
}

Value Evaluator::Binary(const Node& node, BinaryOp op, const Value& a, const Value& b) {
  std::string error;
  Value r = ApplyBinary(op, a, b, host_.session.settings(), &error);
  if (!error.empty()) {
    at_ = &node;
    Fail(error);
  }
  return r;
}

bool Evaluator::LookupField(const Node& node, int* area, int* index) {
  TableAccess* tables = host_.tables;
  if (tables == nullptr) return false;
  uint64_t stamp = tables->LayoutStamp();
  // The weak pointer keeps the identity's control block, so a new object at a
  // dead one's address never matches it.
  const std::shared_ptr<const char>& owner = tables->identity();
  bool same_owner = !node.cache_owner.owner_before(owner) && !owner.owner_before(node.cache_owner);
  if (!same_owner || node.cache_stamp != stamp) {
    int a = node.alias.empty() ? tables->CurrentArea() : tables->AreaOf(node.alias);
    node.cache_area = a;
    node.cache_field = a > 0 ? tables->FieldIndex(a, node.name) : -1;
    node.cache_owner = owner;
    node.cache_stamp = stamp;
  }
  *area = node.cache_area;
  *index = node.cache_field;
  return *index >= 0;
}

Value Evaluator::EvalName(const Node& node) {
  int area = 0;
  int index = 0;
  if (LookupField(node, &area, &index)) return host_.tables->GetField(area, index);
  Value* var = host_.session.Find(node.name);
  if (var == nullptr) Fail("Variable does not exist: " + node.name);
  return *var;
}

Value Evaluator::EvalField(const Node& node) {
  int area = 0;
  int index = 0;
  if (!LookupField(node, &area, &index)) {
    if (!node.alias.empty() && area == 0) Fail("Alias does not exist: " + node.alias);
    Fail("Variable does not exist: " + node.name);
  }
  return host_.tables->GetField(area, index);
}

Value Evaluator::EvalAliasExpr(const Node& node) {
  int area = host_.tables != nullptr ? host_.tables->AreaOf(node.alias) : 0;
  if (area == 0) Fail("Alias does not exist: " + node.alias);
  AreaRestorer restore(*host_.tables, area);
  return Eval(node.kids[0]);
}

Value& Evaluator::ParamSlot(const Node& node) {
  Frame* frame = frame_.get();
  for (int d = 0; d < node.depth && frame != nullptr; ++d) frame = frame->parent.get();
  if (frame == nullptr || static_cast<size_t>(node.slot) >= frame->params.size()) {
    Fail("Parameter outside its block: " + node.name);
  }
  return frame->params[static_cast<size_t>(node.slot)];
}

Value Evaluator::EvalIndex(const Node& node) {
  Value array = Eval(node.kids[0]);
  Value index = Eval(node.kids[1]);
  at_ = &node;
  if (!array.IsArray() || !index.IsNumber()) Fail("Argument error: array access");
  const std::vector<Value>& items = array.array()->items;
  double i = index.num();
  if (!(i >= 1 && i <= static_cast<double>(items.size()))) Fail("Bound error: array access");
  return items[static_cast<size_t>(i) - 1];
}

Value Evaluator::EvalCall(const Node& node) {
  size_t n = node.kids.size();
  Value inline_args[kInlineArgs];
  std::vector<Value> heap_args;
  std::span<Value> args;
  if (n <= kInlineArgs) {
    args = std::span<Value>(inline_args, n);
  } else {
    heap_args.resize(n);
    args = std::span<Value>(heap_args);
  }
  for (size_t i = 0; i < n; ++i) args[i] = Eval(node.kids[i]);
  at_ = &node;
  if (node.builtin != nullptr) return node.builtin->fn(*this, args);
  return CallProcedure(node, args);
}

Value Evaluator::CallProcedure(const Node& node, std::span<Value> args) {
  Value result = rt::Call(host_.session, node.name, args);
  // By-reference arguments go back to the variables they came from.
  for (size_t i = 0; i < args.size(); ++i) {
    if (node.kids[i].kind == NodeKind::kRef) host_.session.Assign(node.kids[i].name, args[i]);
  }
  return result;
}

Value Evaluator::CallBlock(const Value& block, std::span<Value> args) {
  if (!block.IsBlock()) Fail("Argument error: code block expected");
  DepthGuard guard(*this);
  return block.block()->Call(host_.session, args);
}

Value Evaluator::EvalBlock(const Node& node) {
  return Value(rt::BlockRef(std::make_shared<CompiledBlock>(host_, program_, node, frame_)));
}

void Evaluator::Store(const Node& target, Value value) {
  at_ = &target;
  switch (target.kind) {
    case NodeKind::kName:
    case NodeKind::kField: {
      int area = 0;
      int index = 0;
      if (LookupField(target, &area, &index)) {
        Status status = host_.tables->PutField(area, index, value);
        if (!status.ok()) Fail("Field assignment failed: " + status.message());
        return;
      }
      if (target.kind == NodeKind::kField) {
        Fail("Variable does not exist: " + target.name);
      }
      host_.session.Assign(target.name, std::move(value));
      return;
    }
    case NodeKind::kMemvar:
      host_.session.Assign(target.name, std::move(value));
      return;
    case NodeKind::kParam:
      ParamSlot(target) = std::move(value);
      return;
    case NodeKind::kIndex: {
      Value array = Eval(target.kids[0]);
      Value index = Eval(target.kids[1]);
      at_ = &target;
      if (!array.IsArray() || !index.IsNumber()) Fail("Argument error: array assignment");
      std::vector<Value>& items = array.array()->items;
      double i = index.num();
      if (!(i >= 1 && i <= static_cast<double>(items.size()))) {
        Fail("Bound error: array assignment");
      }
      items[static_cast<size_t>(i) - 1] = std::move(value);
      return;
    }
    case NodeKind::kMacro: {
      std::shared_ptr<const Program> macro = CompileMacro(target);
      const Node& root = macro->root;
      if (root.kind != NodeKind::kName && root.kind != NodeKind::kMemvar &&
          root.kind != NodeKind::kField && root.kind != NodeKind::kIndex) {
        Fail("Macro does not name a variable");
      }
      Evaluator inner(host_, macro);
      inner.Store(root, std::move(value));
      return;
    }
    default:
      Fail("Cannot assign to this");
  }
}

Value Evaluator::EvalAssign(const Node& node) {
  Value value = Eval(node.kids[1]);
  if (node.op != BinaryOp::kNone) value = Binary(node, node.op, Eval(node.kids[0]), value);
  Store(node.kids[0], value);
  return value;
}

Value Evaluator::EvalIncDec(const Node& node) {
  Value old = Eval(node.kids[0]);
  Value updated = Binary(node, node.op, old, Value::Int(1));
  Store(node.kids[0], updated);
  return node.slot != 0 ? updated : old;
}

std::shared_ptr<const Program> Evaluator::CompileMacro(const Node& node) {
  Value text = Eval(node.kids[0]);
  at_ = &node;
  if (!text.IsString()) Fail("Argument error: macro text expected");
  if (node.macro_program != nullptr && node.macro_program->text == text.str()) {
    return node.macro_program;
  }
  Result<std::shared_ptr<const Program>> compiled =
      CompileProgram(text.str(), ParseMode::kExpression);
  if (!compiled.ok()) Fail("Syntax error in macro: " + compiled.status().message());
  node.macro_program = *compiled;
  return node.macro_program;
}

Value Evaluator::EvalMacro(const Node& node) {
  std::shared_ptr<const Program> macro = CompileMacro(node);
  Evaluator inner(host_, macro);
  return inner.Run();
}

}  // namespace qv::xb
