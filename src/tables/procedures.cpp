#include "tables/procedures.h"

#include "tables/detail/args.h"
#include "tables/lock_report.h"
#include "tables/standard_tables.h"
#include "tables/usit.h"

namespace qv::tables {

using detail::Arg;
using detail::Args;
using detail::TextArg;
using rt::Value;

void RegisterTableProcedures(Context& ctx) {
  RegisterOpeningProcedures(ctx);
  RegisterLockProcedures(ctx);
  RegisterUtilityProcedures(ctx);
  RegisterEngineProcedures(ctx);
}

void RegisterOpeningProcedures(Context& ctx) {
  rt::ProcedureRegistry& r = ctx.session().procedures();
  r.Register("USIT", [&ctx](rt::Session&, Args args) -> Value {
    const std::span<const Value> further =
        args.size() > 2 ? std::span<const Value>(args.subspan(2)) : std::span<const Value>();
    return Usit(ctx, TextArg(args, 0), Arg(args, 1), further);
  });
  r.Register("USIT_ERR",
             [&ctx](rt::Session&, Args args) -> Value { return UsitErr(ctx, TextArg(args, 0)); });
  r.Register("SELECTIT",
             [&ctx](rt::Session&, Args args) -> Value { return SelectIt(ctx, TextArg(args, 0)); });
  r.Register("CLOSEXCEPT", [&ctx](rt::Session&, Args args) -> Value {
    return CloseExcept(ctx, TextArg(args, 0));
  });
  r.Register("ALWAYS", [&ctx](rt::Session&, Args) -> Value { return Always(ctx); });
  r.Register("CHKFILE",
             [&ctx](rt::Session&, Args args) -> Value { return ChkFile(ctx, TextArg(args, 0)); });
}

}  // namespace qv::tables
