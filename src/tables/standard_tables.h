// The routines around USIT: selecting an open table by alias, closing all
// but the standard tables, reopening the standard tables, and the check that
// a file exists. The standard tables (company, co, readit, menuwin) stay
// open across commands.
#pragma once

#include <string>
#include <string_view>

#include "tables/context.h"

namespace qv::tables {

// SELECTIT: selects the alias's area when it is open; true when the current
// alias equals the upper-cased name under the non-exact comparison (so with
// COMPANY selected, "CO" reports success).
bool SelectIt(Context& ctx, std::string_view alias);
// CLOSEXCEPT: keep "" spares the standard tables, "ALL" (any case) spares
// nothing, any other text is a comma-separated list of further aliases to
// spare. Leaves the next free area selected. Returns "".
std::string CloseExcept(Context& ctx, std::string_view keep = {});
// ALWAYS: reopens whichever standard table is not open. Returns true.
bool Always(Context& ctx);
// CHKFILE: tells the user when file does not exist. Returns true.
bool ChkFile(Context& ctx, std::string_view file);

}  // namespace qv::tables
