#include "company/procedures.h"

#include "company/work_area_state.h"

namespace qv::company {

void RegisterCompanyProcedures(tables::Context& ctx) {
  rt::ProcedureRegistry& r = ctx.session().procedures();
  r.Register("SCRSAVE",
             [&ctx](rt::Session&, std::span<rt::Value>) -> rt::Value { return ScrSave(ctx); });
  r.Register("SCRRESTORE",
             [&ctx](rt::Session&, std::span<rt::Value>) -> rt::Value { return ScrRestore(ctx); });
}

}  // namespace qv::company
