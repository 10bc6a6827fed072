// Runtime settings switched by short commands ("delimiters off", "margin to
// 10") and their record in the 13-character settings string XXVSTATUS, which
// a command can keep and apply again later.
//   1 delimiters  2 device P/S  3 confirm  4 deleted  5 unused  6 printer
//   7 console  8 intensity  9 key  10 bell  11 exact  12-13 margin
// Switches are "1"/"0"; the margin is two characters, right-aligned.
#pragma once

#include <string>
#include <string_view>

#include "tables/context.h"

namespace qv::tables {

inline constexpr size_t kStatusLength = 13;

// SETIT: applies one setting command and records it in XXVSTATUS. An
// unknown command shows "Setit ERROR" as an error note. Returns true.
bool SetIt(Context& ctx, std::string_view command);
// RECLAIM: applies every setting of a saved string (also the runtime printer
// and margin settings) and makes it the current XXVSTATUS. Returns true.
bool Reclaim(Context& ctx, std::string_view status);

// XXVSTATUS as a string of exactly 13 characters (13 blanks when unset).
std::string StatusString(rt::Session& session);

}  // namespace qv::tables
