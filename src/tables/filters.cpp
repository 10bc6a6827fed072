#include "tables/filters.h"

#include "platform/rdd/orders.h"
#include "platform/runtime/mem_file.h"
#include "platform/runtime/text.h"
#include "platform/xbase/expr.h"
#include "tables/session_state.h"

namespace qv::tables {

namespace {

constexpr char kSaveVariable[] = "SAVEFILTER";

// The condition as the engine's predicate. A record whose condition fails to
// evaluate is reported and then shown, so that a bad filter cannot hide data.
rdd::Predicate MakePredicate(Context& ctx, xb::Expr expr) {
  return [&ctx, expr] {
    try {
      const rt::Value v = expr.Eval(ctx.host());
      return !v.IsLogical() || v.logical();
    } catch (const rt::RuntimeError& e) {
      rt::ErrorInfo info = e.info();
      info.can_default = true;
      (void)rt::RaiseOrQuit(ctx.session(), info);
      return true;
    }
  };
}

void ReportFileError(Context& ctx, const std::string& file, const Status& s) {
  rt::ErrorInfo info;
  info.description = "Read error";
  info.operation = file + ": " + s.ToString();
  info.can_default = true;
  (void)rt::RaiseOrQuit(ctx.session(), info);
}

}  // namespace

std::string SavedFilterFile(Context& ctx) { return "savflt" + TermNo(ctx.session()) + ".mem"; }

bool CmFilter(Context& ctx, std::string_view condition) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return true;
  if (rt::AllTrim(condition).empty()) {
    area->ClearFilter();
    return true;
  }
  Result<xb::Expr> expr = xb::Expr::Compile(condition);
  if (!expr.ok()) {
    rt::ErrorInfo info = xb::CompileErrorInfo(expr.status());
    info.can_default = true;
    (void)rt::RaiseOrQuit(ctx.session(), info);
    return true;
  }
  area->SetFilter(std::string(condition), MakePredicate(ctx, std::move(*expr)));
  return true;
}

bool CmClear(Context& ctx) {
  if (rdd::WorkArea* area = ctx.workspace().Area()) area->ClearFilter();
  return true;
}

bool CmSaveFilter(Context& ctx) {
  rt::Session& session = ctx.session();
  rdd::WorkArea* area = ctx.workspace().Area();
  session.DeclarePrivate(kSaveVariable, rt::Value(area ? area->FilterText() : std::string()));
  const std::string file = SavedFilterFile(ctx);
  Result<std::string> host = ctx.fs().Resolve(file);
  const Status s =
      host.ok() ? rt::SaveMem(ctx.env(), *host, session, kSaveVariable) : host.status();
  session.Release(kSaveVariable);
  if (!s.ok()) ReportFileError(ctx, file, s);
  return true;
}

bool CmRestFilter(Context& ctx) {
  const std::string file = SavedFilterFile(ctx);
  if (!ctx.fs().Exists(file)) return true;
  rt::Session& session = ctx.session();
  Result<std::string> host = ctx.fs().Resolve(file);
  if (!host.ok()) return true;
  session.DeclarePrivate(kSaveVariable);
  const Status s = rt::RestoreMem(ctx.env(), *host, session, true);
  const rt::Value saved = *session.Find(kSaveVariable);
  session.Release(kSaveVariable);
  if (!s.ok()) {
    ReportFileError(ctx, file, s);
    return true;
  }
  CmFilter(ctx, saved.IsString() ? saved.str() : std::string());
  return true;
}

bool CmDestroyFilter(Context& ctx) {
  (void)ctx.fs().Erase(SavedFilterFile(ctx));
  return true;
}

uint32_t CmKeyNo(Context& ctx) {
  rdd::WorkArea* area = ctx.workspace().Area();
  if (area == nullptr) return 0;
  if (area->order() == nullptr) return area->RecNo();
  Result<uint32_t> pos = rdd::KeyPosition(*area);
  return pos.ok() ? *pos : 0;
}

}  // namespace qv::tables
