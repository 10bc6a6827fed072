// DOS wildcards as a Windows listing applies them to a name: "*" any run of
// characters ("*.*" everything, also names without a dot), "?" one
// character or none at the end of the name or of its base ("RES.??" matches
// RES.1 and RES.12, "????.??" any base of up to four characters), "ckj*.dbf"
// any name that starts with ckj and ends in .dbf. Case-insensitive.
#pragma once

#include <string_view>

namespace qv::fs {

bool HasWildcards(std::string_view s);

// Whether name matches pattern. A pattern without wildcards matches the one
// name equal to it, ignoring case.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace qv::fs
