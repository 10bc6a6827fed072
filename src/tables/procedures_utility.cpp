// Registration of the settings, utility and filter routines.
#include "platform/runtime/number.h"
#include "tables/detail/args.h"
#include "tables/filters.h"
#include "tables/procedures.h"
#include "tables/settings.h"
#include "tables/utilities.h"

namespace qv::tables {

using detail::Arg;
using detail::Args;
using detail::NumArg;
using detail::TextArg;
using rt::Value;

namespace {

void RegisterFilters(Context& ctx, rt::ProcedureRegistry& r) {
  for (const char* name : {"CMFILTER", "CMREFILTER"}) {
    r.Register(
        name, [&ctx](rt::Session&, Args args) -> Value { return CmFilter(ctx, TextArg(args, 0)); });
  }
  r.Register("CMCLEAR", [&ctx](rt::Session&, Args) -> Value { return CmClear(ctx); });
  r.Register("CMCLRFILTER", [](rt::Session&, Args) -> Value { return true; });
  r.Register("CMSAVEFILTER", [&ctx](rt::Session&, Args) -> Value { return CmSaveFilter(ctx); });
  r.Register("CMRESTFILTER", [&ctx](rt::Session&, Args) -> Value { return CmRestFilter(ctx); });
  r.Register("CMDESTROYFILTER",
             [&ctx](rt::Session&, Args) -> Value { return CmDestroyFilter(ctx); });
  for (const char* name : {"CMXKEYNO", "CMKEYNO"}) {
    r.Register(name, [&ctx](rt::Session&, Args) -> Value { return Value::Int(CmKeyNo(ctx)); });
  }
}

}  // namespace

void RegisterUtilityProcedures(Context& ctx) {
  rt::ProcedureRegistry& r = ctx.session().procedures();
  r.Register("SETIT",
             [&ctx](rt::Session&, Args args) -> Value { return SetIt(ctx, TextArg(args, 0)); });
  r.Register("RECLAIM",
             [&ctx](rt::Session&, Args args) -> Value { return Reclaim(ctx, TextArg(args, 0)); });
  r.Register("FILLIT", [](rt::Session&, Args args) -> Value {
    return FillIt(TextArg(args, 0), static_cast<int>(NumArg(args, 1, 0)));
  });
  r.Register("ERASEFL", [&ctx](rt::Session&, Args args) -> Value {
    EraseFl(ctx, TextArg(args, 0));
    return Value();
  });
  r.Register("MG", [&ctx](rt::Session&, Args args) -> Value { return Mg(ctx, Arg(args, 0)); });
  r.Register("READIT", [&ctx](rt::Session&, Args args) -> Value {
    // An empty third position (NIL) is no centring request: callers skip it
    // to pass the init and valid actions.
    return ReadIt(ctx, Arg(args, 0), static_cast<int>(NumArg(args, 1, 0)), !Arg(args, 2).IsNil(),
                  Arg(args, 3), Arg(args, 4));
  });
  r.Register("CHECKIT", [&ctx](rt::Session&, Args args) -> Value {
    return CheckIt(ctx, Arg(args, 0), TextArg(args, 1), NumArg(args, 2, 2));
  });
  r.Register("CHECKDATA", [&ctx](rt::Session&, Args args) -> Value {
    return CheckData(ctx, TextArg(args, 0), TextArg(args, 1));
  });
  r.Register("GETIT", [](rt::Session&, Args) -> Value { return true; });
  r.Register("DBZAP", [&ctx](rt::Session&, Args) -> Value { return DbZap(ctx); });
  r.Register("MALIAS", [&ctx](rt::Session&, Args) -> Value { return MAlias(ctx); });
  r.Register("MGALIAS", [&ctx](rt::Session&, Args) -> Value { return MgAlias(ctx); });
  r.Register("MGD", [&ctx](rt::Session&, Args) -> Value { return MgD(ctx); });
  RegisterFilters(ctx, r);
}

}  // namespace qv::tables
