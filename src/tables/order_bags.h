// Adding an index bag to a work area's order list by the name the program
// gives it (folder and extension optional; ".cdx" is added).
#pragma once

#include <string_view>

#include "platform/rdd/work_area.h"
#include "tables/context.h"

namespace qv::tables {

// ORDLISTADD: a bag that cannot be opened goes to the run-time error dialog
// (Retry tries again; Default carries on without it). True when added.
bool AddOrderBag(Context& ctx, rdd::WorkArea& area, std::string_view bag);

}  // namespace qv::tables
