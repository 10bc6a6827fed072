#include "platform/xbase/expr.h"

#include "platform/xbase/compiler.h"
#include "platform/xbase/evaluator.h"

namespace qv::xb {

Result<Expr> Expr::Compile(std::string_view text, ParseMode mode) {
  QV_ASSIGN_OR_RETURN(std::shared_ptr<const Program> program, CompileProgram(text, mode));
  return Expr(std::move(program));
}

rt::Value Expr::Eval(Host& host) const {
  Evaluator ev(host, program_);
  return ev.Run();
}

const std::string& Expr::text() const { return program_->text; }

rt::ErrorInfo CompileErrorInfo(const Status& status) {
  rt::ErrorInfo info;
  info.description = "Syntax error";
  info.operation = status.message();
  info.gen_code = 2;
  return info;
}

rt::Value EvalText(Host& host, std::string_view text) {
  Result<Expr> expr = Expr::Compile(text);
  if (!expr.ok()) throw rt::RuntimeError(CompileErrorInfo(expr.status()));
  return expr->Eval(host);
}

}  // namespace qv::xb
