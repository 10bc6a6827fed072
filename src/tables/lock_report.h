// USIT_ERR: the report of a table that cannot be opened. The lock report
// ("lock.log" in the data folder, replaced each time) names the table, the
// active procedures from the one that called USIT outward, when it happened,
// the company, the user mode and the current table, so the support desk can
// see which command met the lock.
#pragma once

#include <string>
#include <string_view>

#include "tables/context.h"

namespace qv::tables {

inline constexpr char kLockLogName[] = "lock.log";

// The report's text, every line ended by CR LF.
std::string BuildLockReport(Context& ctx, std::string_view name);
// Writes the report, shows the refusal and returns false.
bool UsitErr(Context& ctx, std::string_view name);

}  // namespace qv::tables
