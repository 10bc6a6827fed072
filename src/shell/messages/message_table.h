// The text of a numbered message: record NUMBER of the message table, whose
// TITLE is an xBase expression evaluated while MSG's argument variables are
// visible (so a TITLE may show the caller's EMESSAGE). Nothing is cached: the
// table is opened and closed for every message.
#pragma once

#include <string>
#include <string_view>

#include "shell/messages/area_keeper.h"
#include "tables/context.h"

namespace qv::shell {

inline constexpr std::string_view kNeedsDescription =
    "NOTE: MESSAGE Database needs description at record:";

// kNeedsDescription + the number right-aligned in 10 characters.
std::string NeedsDescription(double number);

// Opens the message table through USIT (called by name; from the current
// folder), takes record number's TITLE, selects the caller's area again and
// evaluates TITLE. A missing record, an empty TITLE or a table that could
// not be opened (USIT has reported it) gives NeedsDescription(number). A
// TITLE that does not compile or evaluate, or gives no string, goes to the
// run-time error dialog: Retry evaluates it again, Default gives
// NeedsDescription(number), Quit throws rt::QuitRequest. The message table
// is closed before returning.
std::string NumberedMessage(tables::Context& ctx, AreaKeeper& keeper, double number);

}  // namespace qv::shell
