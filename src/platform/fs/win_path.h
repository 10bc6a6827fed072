// The syntax of Windows paths as the program writes them: an optional drive
// ("c:"), an optional leading backslash, components separated by backslashes
// or slashes. Repeated separators count as one ("D:\\exe\ctl3d.dll"), and
// trailing blanks and dots of a component are dropped, as Windows drops them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"

namespace qv::fs {

struct WinPath {
  char drive = 0;                  // 'A'..'Z' (upper-cased); 0 when the path names none
  bool rooted = false;             // starts at the drive's root rather than its current folder
  std::vector<std::string> parts;  // non-empty; "." and ".." kept as written
};

// InvalidArgument for a character Windows never allows in a name (< > : " |
// and control characters) or a drive that is not a letter. "?" and "*" pass:
// they are wildcards, which only listings accept.
Result<WinPath> ParseWinPath(std::string_view path);

// Appends rel to base with "." dropped and ".." taking one part off.
// InvalidArgument when ".." would go above the root: a path never leaves its drive.
Result<std::vector<std::string>> JoinParts(std::vector<std::string> base,
                                           const std::vector<std::string>& rel);

// ASCII case-insensitive comparison, as Windows compares names.
bool EqualsNoCase(std::string_view a, std::string_view b);
// Orders names case-insensitively, then by bytes, so a listing is stable.
bool LessNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);

}  // namespace qv::fs
