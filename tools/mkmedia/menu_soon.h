// Menu rows of commands that are not built yet. A menu source may list
// such commands ("soon NAME ..."); the media then carries, for each row
// whose action ends in a call of CHECK_PASS with one of those names, the
// action {|| SOON("NAME")} instead, so choosing it says the command is
// coming rather than failing. The source keeps the final action, so taking
// a name off the list is all it takes once the command exists.
#pragma once

#include <string>
#include <string_view>

#include "table_source.h"

namespace qv::media {

// The command a menu action dispatches: the last string literal inside its
// last CHECK_PASS call (CHECK_PASS("NAME"), or the chosen command of
// CHECK_PASS(iif(..., "NOOP", "NAME"))); "" when the action calls none.
std::string DispatchedCommand(std::string_view action);

// table with the actions of its "soon" commands replaced (MEN_LOAD field);
// unchanged when it lists none or has no MEN_LOAD.
TableSource WithSoonActions(const TableSource& table);

}  // namespace qv::media
