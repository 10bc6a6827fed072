// Filters of the current table and the position of its current record. A
// filter is an xBase condition; its text is what DBFILTER reports. The saved
// filter lives in the per-workstation memory file "savflt" + XXVTERMNO +
// ".mem" in the data folder (one variable, SAVEFILTER), so a temporary
// filter can be set for a seek and the previous one brought back.
// None of these move the record pointer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tables/context.h"

namespace qv::tables {

// CMFILTER / CMREFILTER: sets the condition ("" clears). A condition that
// does not compile goes to the run-time error dialog; the filter is then
// left as it was. Returns true.
bool CmFilter(Context& ctx, std::string_view condition);
// CMCLEAR: clears the current table's filter. Returns true.
bool CmClear(Context& ctx);
// CMSAVEFILTER: writes the current filter text to the saved-filter file.
bool CmSaveFilter(Context& ctx);
// CMRESTFILTER: sets (or clears) the saved filter when the file exists.
bool CmRestFilter(Context& ctx);
// CMDESTROYFILTER: erases the saved-filter file.
bool CmDestroyFilter(Context& ctx);
// CMXKEYNO / CMKEYNO: the current record's position in the controlling
// order; its record number without an order; 0 without a table.
uint32_t CmKeyNo(Context& ctx);

// "savflt" + XXVTERMNO + ".mem"
std::string SavedFilterFile(Context& ctx);

}  // namespace qv::tables
