// Walks a compiled Program and computes its value. One Evaluator runs one
// evaluation (or one code-block call); the library functions receive it to
// reach the session, the work areas and the files, to call blocks and to
// report faults. Internal to platform/xbase: other layers use expr.h.
#pragma once

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/runtime/value.h"
#include "platform/xbase/compiler.h"
#include "platform/xbase/expr.h"

namespace qv::xb {

// The parameters of one code-block call, linked to the frame the block was
// made in, so an inner block sees the outer block's parameters.
struct Frame {
  std::vector<rt::Value> params;
  std::shared_ptr<Frame> parent;
};

// Nested evaluations (blocks calling blocks, macros, routines evaluating
// text) beyond this many levels fail with a run-time error, not a crash.
inline constexpr int kMaxEvalDepth = 1000;

class Evaluator {
 public:
  // REQUIRES: program and host outlive the evaluator.
  Evaluator(Host& host, const std::shared_ptr<const Program>& program,
            std::shared_ptr<Frame> frame = nullptr);

  rt::Value Eval(const Node& node);
  rt::Value Run() { return Eval(program_->root); }

  Host& host() { return host_; }
  rt::Session& session() { return host_.session; }

  // Throws rt::RuntimeError: description, and the text with the position
  // of the node being evaluated.
  [[noreturn]] void Fail(std::string_view description);
  // Fail("Argument error: NAME") for the library function being called.
  [[noreturn]] void ArgumentError();
  // Calls a code block value with args; a non-block fails.
  rt::Value CallBlock(const rt::Value& block, std::span<rt::Value> args);

 private:
  class DepthGuard;

  rt::Value EvalName(const Node& node);
  rt::Value EvalField(const Node& node);
  rt::Value EvalAliasExpr(const Node& node);
  rt::Value EvalIndex(const Node& node);
  rt::Value EvalCall(const Node& node);
  rt::Value EvalBlock(const Node& node);
  rt::Value EvalAssign(const Node& node);
  rt::Value EvalIncDec(const Node& node);
  rt::Value EvalMacro(const Node& node);
  rt::Value CallProcedure(const Node& node, std::span<rt::Value> args);
  rt::Value& ParamSlot(const Node& node);
  rt::Value Binary(const Node& node, BinaryOp op, const rt::Value& a, const rt::Value& b);
  // Stores value where target (an lvalue node) points.
  void Store(const Node& target, rt::Value value);
  // The area and field a name node reaches, cached per table layout; false
  // when it names no field.
  bool LookupField(const Node& node, int* area, int* index);
  std::shared_ptr<const Program> CompileMacro(const Node& node);
  bool Logical(const Node& node);

  Host& host_;
  const std::shared_ptr<const Program>& program_;
  std::shared_ptr<Frame> frame_;
  const Node* at_ = nullptr;  // the node being evaluated, for Fail()
};

}  // namespace qv::xb
