// The registration of the table layer's routines under their names, so that
// commands, expressions held in data and the layers above call them by name:
// USIT, USIT_ERR, SELECTIT, CLOSEXCEPT, ALWAYS, CHKFILE (opening tables);
// LOCKIT, LOCKITA, UNLOCKIT, RLOCKIT, RUNLOCKIT, SEEKIT, SOFTSEEKIT, IS_EXCL,
// IS_UPDATE, IS_DOC, IS_GLOBAL, IS_FREE (locks and seeks); SETIT, RECLAIM,
// FILLIT, ERASEFL, MG, READIT, CHECKIT, CHECKDATA, GETIT, DBZAP, MALIAS,
// MGALIAS, MGD (settings and utilities); CMFILTER, CMREFILTER, CMCLEAR,
// CMCLRFILTER, CMSAVEFILTER, CMRESTFILTER, CMDESTROYFILTER, CMXKEYNO,
// CMKEYNO (filters); and the engine routines called by name (ALIAS, SELECT,
// DBSELECTAREA ..., engine_procedures.cpp).
#pragma once

#include "tables/context.h"

namespace qv::tables {

// ctx must outlive the registry's use of these routines.
void RegisterTableProcedures(Context& ctx);

// The parts, one registration file each.
void RegisterOpeningProcedures(Context& ctx);
void RegisterLockProcedures(Context& ctx);
void RegisterUtilityProcedures(Context& ctx);
void RegisterEngineProcedures(Context& ctx);

}  // namespace qv::tables
