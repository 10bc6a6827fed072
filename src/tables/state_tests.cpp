#include "tables/state_tests.h"

#include "platform/xbase/expr.h"
#include "tables/files.h"
#include "tables/notices.h"
#include "tables/session_state.h"

namespace qv::tables {

namespace {

// The exit code a run left by the repeated-default rule must not keep.
constexpr int kStuckExitCode = 3;

bool Holds(Context& ctx, std::string_view condition) {
  const rt::Value v = xb::EvalText(ctx.host(), condition);
  return v.IsLogical() && v.logical();
}

}  // namespace

bool IsExcl(Context& ctx) {
  if (!MultiUser(ctx.session())) return false;
  EraseMatching(ctx, "L1??." + TermNo(ctx.session()));
  return AnyMatching(ctx, "L1??.??");
}

bool IsUpdate(Context& ctx, std::string_view code) {
  if (!MultiUser(ctx.session())) return false;
  if (HasTextVar(ctx.session(), "SINGLE"))
    return AnyMatching(ctx, "L0" + std::string(code) + ".??");
  return AnyMatching(ctx, "L0??.??");
}

bool IsDoc(Context& ctx) { return MultiUser(ctx.session()) && AnyMatching(ctx, "K???.??"); }

bool IsGlobal(Context& ctx, std::string_view) {
  return MultiUser(ctx.session()) && AnyMatching(ctx, "????.??");
}

bool IsFree(Context& ctx, std::string_view condition, std::string_view message) {
  if (!MultiUser(ctx.session()) || !Holds(ctx, condition)) return true;
  int& exit_code = ctx.session().settings().exit_code;
  if (exit_code == kStuckExitCode) exit_code = 1;
  ProgressNote(ctx, message, 193);
  while (Holds(ctx, condition)) {
    WaitStep step(ctx);
    TimedNote(ctx, message, 5);
    step.Finish();
  }
  return true;
}

}  // namespace qv::tables
