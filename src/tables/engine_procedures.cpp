// The table engine's routines that the product and its data call by name
// and that the expression library does not bind itself (ui's work-area
// keeper calls ALIAS, SELECT and DBSELECTAREA through the registry).
#include "platform/runtime/text.h"
#include "tables/detail/args.h"
#include "tables/procedures.h"

namespace qv::tables {

using detail::Arg;
using detail::Args;
using detail::NumArg;
using rt::Value;

namespace {

// The area a routine's first argument names: a number, an alias, or the
// current one (NIL).
int AreaArg(rdd::Workspace& ws, Args args) {
  const Value& v = Arg(args, 0);
  if (v.IsNumber()) return static_cast<int>(v.num());
  if (v.IsString()) return ws.AreaOf(rt::AllTrim(v.str()));
  return ws.current();
}

// Runs op on the current area when there is one; true when it was there.
template <typename Op>
Value OnArea(Context& ctx, Op op) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return false;
  return op(*area);
}

void RegisterSelection(Context& ctx, rt::ProcedureRegistry& r) {
  rdd::Workspace& ws = ctx.workspace();
  r.Register("ALIAS", [&ws](rt::Session&, Args args) -> Value {
    return Value(ws.Alias(static_cast<int>(NumArg(args, 0, 0))));
  });
  r.Register("SELECT", [&ws](rt::Session&, Args args) -> Value {
    return Value::Int(Arg(args, 0).IsNil() ? ws.current() : AreaArg(ws, args));
  });
  r.Register("DBSELECTAREA", [&ws](rt::Session&, Args args) -> Value {
    const int area = AreaArg(ws, args);
    if (area > 0 || Arg(args, 0).IsNumber()) (void)ws.SelectArea(area);
    return Value();
  });
  r.Register("USED", [&ws](rt::Session&, Args) -> Value { return ws.Used(); });
  r.Register("DBCLOSEAREA", [&ws](rt::Session&, Args) -> Value {
    (void)ws.CloseArea();
    return Value();
  });
  r.Register("DBCLOSEALL", [&ws](rt::Session&, Args) -> Value {
    (void)ws.CloseAll();
    return Value();
  });
  r.Register("DBCOMMITALL", [&ws](rt::Session&, Args) -> Value {
    (void)ws.CommitAll();
    return Value();
  });
}

void RegisterMoves(Context& ctx, rt::ProcedureRegistry& r) {
  r.Register("DBGOTOP", [&ctx](rt::Session&, Args) -> Value {
    return OnArea(ctx, [](rdd::WorkArea& a) { return a.GoTop().ok(); });
  });
  r.Register("DBGOBOTTOM", [&ctx](rt::Session&, Args) -> Value {
    return OnArea(ctx, [](rdd::WorkArea& a) { return a.GoBottom().ok(); });
  });
  r.Register("DBGOTO", [&ctx](rt::Session&, Args args) -> Value {
    const double n = NumArg(args, 0, 0);
    return OnArea(
        ctx, [n](rdd::WorkArea& a) { return a.GoTo(n < 0 ? 0 : static_cast<uint32_t>(n)).ok(); });
  });
  r.Register("DBSKIP", [&ctx](rt::Session&, Args args) -> Value {
    const double n = NumArg(args, 0, 1);
    return OnArea(ctx, [n](rdd::WorkArea& a) { return a.Skip(static_cast<int64_t>(n)).ok(); });
  });
}

void RegisterLocks(Context& ctx, rt::ProcedureRegistry& r) {
  r.Register("FLOCK", [&ctx](rt::Session&, Args) -> Value {
    return OnArea(ctx, [](rdd::WorkArea& a) {
      Result<bool> got = a.FLock();
      return got.ok() && *got;
    });
  });
  r.Register("RLOCK", [&ctx](rt::Session&, Args) -> Value {
    return OnArea(ctx, [](rdd::WorkArea& a) {
      Result<bool> got = a.RLock();
      return got.ok() && *got;
    });
  });
  r.Register("DBUNLOCK", [&ctx](rt::Session&, Args) -> Value {
    return OnArea(ctx, [](rdd::WorkArea& a) { return a.Unlock().ok(); });
  });
  r.Register("DBFILTER", [&ctx](rt::Session&, Args) -> Value {
    rdd::WorkArea* area = ctx.workspace().Area();
    return Value(area ? area->FilterText() : std::string());
  });
}

}  // namespace

void RegisterEngineProcedures(Context& ctx) {
  rt::ProcedureRegistry& r = ctx.session().procedures();
  RegisterSelection(ctx, r);
  RegisterMoves(ctx, r);
  RegisterLocks(ctx, r);
}

}  // namespace qv::tables
