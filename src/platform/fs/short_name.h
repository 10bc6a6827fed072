// Short (8.3) names, derived from long names by the Windows rule. Linux keeps
// no short names, so they are computed from a folder's entries each time:
// a name that is a valid 8.3 name is its own short name; any other gets the
// first six allowed characters of its name (blanks and characters not allowed
// in short names dropped, upper-cased), "~" and a number, and the first three
// allowed characters of its last extension. Names sharing the six characters
// are numbered 1, 2, ... in case-insensitive order of their long names,
// skipping a number whose short name an entry already has as its own name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv::fs {

// Whether name is already a valid 8.3 name (in any case): "GLM.DBF", "exe".
bool IsShortName(std::string_view name);

// The short names of all entries of one folder: result[i] belongs to names[i].
std::vector<std::string> ShortNames(const std::vector<std::string>& names);

// The short name long_name has (or would get) among the entries of its folder.
// siblings may or may not contain long_name itself.
std::string ShortName(std::string_view long_name, const std::vector<std::string>& siblings);

}  // namespace qv::fs
