#include "shell/startup/menu_action.h"

#include <vector>

#include "platform/runtime/number.h"
#include "platform/runtime/text.h"
#include "platform/xbase/expr.h"

namespace qv::shell {

namespace {

// Reports a fault of the menu table's action text at start-up.
void ReportBadAction(rt::Session& session, rt::ErrorInfo info) {
  info.can_default = true;
  info.can_retry = false;
  rt::RaiseOrQuit(session, info);
}

// Runs a chosen item's block. A run-time error that no routine handled ends
// the action and goes to the error dialog; a request to end the run leaves
// through the state's EndRun, since the event loop that called the action
// may not carry exceptions.
void RunAction(tables::Context& ctx, ShellState& state, rt::Block& block) {
  try {
    try {
      std::vector<rt::Value> no_args;
      block.Call(ctx.session(), no_args);
    } catch (const rt::RuntimeError& error) {
      ReportBadAction(ctx.session(), error.info());
    }
  } catch (const rt::QuitRequest& request) {
    EndRunFromAction(state, request);
  }
}

}  // namespace

std::string BuiltActionText(std::string_view action, uint32_t recno) {
  std::string_view text = rt::RTrim(action);
  text = text.substr(0, text.size() >= 2 ? text.size() - 2 : 0);
  return std::string(text) + "," + rt::Str(static_cast<double>(recno), 10, 0) + ")}";
}

std::function<void()> MakeMenuAction(tables::Context& ctx, ShellState& state, const MenuRow& row) {
  if (rt::RTrim(row.action).empty()) return nullptr;
  const std::string text = BuiltActionText(row.action, row.recno);
  Result<xb::Expr> expr = xb::Expr::Compile(text);
  if (!expr.ok()) {
    ReportBadAction(ctx.session(), xb::CompileErrorInfo(expr.status()));
    return nullptr;
  }
  rt::Value value;
  try {
    value = expr->Eval(ctx.host());
  } catch (const rt::RuntimeError& error) {
    ReportBadAction(ctx.session(), error.info());
    return nullptr;
  }
  if (!value.IsBlock()) {
    rt::ErrorInfo info;
    info.description = "Menu action is not a code block";
    info.operation = text;
    info.gen_code = 1;
    ReportBadAction(ctx.session(), info);
    return nullptr;
  }
  return [&ctx, &state, block = value.block()] { RunAction(ctx, state, *block); };
}

void EndRunFromAction(ShellState& state, const rt::QuitRequest& request) {
  if (!state.options.end_run) throw request;
  state.options.end_run(request);
}

}  // namespace qv::shell
