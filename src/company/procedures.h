// The registration of the company subsystem's routines under their names:
// SCRSAVE and SCRRESTORE (work-area state, work_area_state.h).
#pragma once

#include "tables/context.h"

namespace qv::company {

// ctx must outlive the registry's use of these routines.
void RegisterCompanyProcedures(tables::Context& ctx);

}  // namespace qv::company
