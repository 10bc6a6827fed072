// Saving and restoring the state of every open work area, nested: each
// SCRSAVE opens a level of the stack (NSCRSTACK, rows in ASCRSEL) and each
// SCRRESTORE reopens the newest level's tables by the table layer's
// conventions and drops it. One row per open area:
//    1 ""   2 alias   3 record number   4 filter text
//    5-9  bags holding orders 1 to 5 (Windows paths, upper case; "" none)
//   10 controlling order number (text)   11 "E" when lock semaphores of
//   the table exist   12 workstation suffix of a data-folder table
//   13 alias current at the save   14 level
#pragma once

#include <string>
#include <vector>

#include "platform/runtime/value.h"
#include "tables/context.h"

namespace qv::company {

inline constexpr size_t kSavedRowSize = 14;
inline constexpr int kSavedOrders = 5;

// The row SCRSAVE makes for the open area number (1-based), at level.
std::vector<rt::Value> SaveRow(tables::Context& ctx, int area, const std::string& current_alias,
                               int level);
// SCRSAVE: raises NSCRSTACK and appends a row per open area. The selected
// area stays. Returns true.
bool ScrSave(tables::Context& ctx);
// SCRRESTORE: closes all but the standard tables, reopens the rows of the
// newest level, drops them and lowers NSCRSTACK. Returns true.
bool ScrRestore(tables::Context& ctx);

}  // namespace qv::company
