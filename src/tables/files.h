// File operations the table layer does on Windows paths, reporting nothing:
// semaphore and marker files that cannot be made or erased are left as they
// are, as the lock protocol expects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tables/context.h"

namespace qv::tables {

// Creates the empty file (replacing one that is there). False when it
// could not be made.
bool CreateEmptyFile(Context& ctx, std::string_view path);
// Names of the files matching the pattern's last part ("1.co\INVEN.??").
std::vector<std::string> MatchingFiles(Context& ctx, std::string_view pattern);
inline bool AnyMatching(Context& ctx, std::string_view pattern) {
  return !MatchingFiles(ctx, pattern).empty();
}
// Erases every file matching the pattern; the number erased.
int EraseMatching(Context& ctx, std::string_view pattern);

// A file as run-time error reports name it: as the program names it, with
// its extension ("1.co\COMPANY.dbf"), never the host path.
std::string ReportedName(Context& ctx, std::string_view name, std::string_view ext);

}  // namespace qv::tables
