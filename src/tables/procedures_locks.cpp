// Registration of the lock, seek and state-test routines.
#include "tables/detail/args.h"
#include "tables/procedures.h"
#include "tables/record_locks.h"
#include "tables/seek.h"
#include "tables/semaphores.h"
#include "tables/state_tests.h"

namespace qv::tables {

using detail::Arg;
using detail::Args;
using detail::TextArg;
using rt::Value;

void RegisterLockProcedures(Context& ctx) {
  rt::ProcedureRegistry& r = ctx.session().procedures();
  r.Register("LOCKIT", [&ctx](rt::Session&, Args) -> Value { return LockIt(ctx); });
  r.Register("LOCKITA", [&ctx](rt::Session&, Args) -> Value { return LockItA(ctx); });
  r.Register("UNLOCKIT", [&ctx](rt::Session&, Args) -> Value { return UnlockIt(ctx); });
  r.Register("RLOCKIT", [&ctx](rt::Session&, Args) -> Value { return RLockIt(ctx); });
  r.Register("RUNLOCKIT", [&ctx](rt::Session&, Args) -> Value { return RUnlockIt(ctx); });
  r.Register("SEEKIT", [&ctx](rt::Session&, Args args) -> Value {
    return SeekIt(ctx, Arg(args, 0), TextArg(args, 1), Arg(args, 2));
  });
  r.Register("SOFTSEEKIT", [&ctx](rt::Session&, Args args) -> Value {
    return SoftSeekIt(ctx, Arg(args, 0), TextArg(args, 1), Arg(args, 2));
  });
  r.Register("IS_EXCL", [&ctx](rt::Session&, Args) -> Value { return IsExcl(ctx); });
  r.Register("IS_UPDATE",
             [&ctx](rt::Session&, Args args) -> Value { return IsUpdate(ctx, TextArg(args, 0)); });
  r.Register("IS_DOC", [&ctx](rt::Session&, Args) -> Value { return IsDoc(ctx); });
  r.Register("IS_GLOBAL",
             [&ctx](rt::Session&, Args args) -> Value { return IsGlobal(ctx, TextArg(args, 0)); });
  r.Register("IS_FREE", [&ctx](rt::Session&, Args args) -> Value {
    return IsFree(ctx, TextArg(args, 0), TextArg(args, 1));
  });
}

}  // namespace qv::tables
