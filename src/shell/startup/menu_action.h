// A menu row's action: the row's action text with the record number added
// as the last argument of its last call, compiled once into a code block
// when the menu is built, and run when the item is chosen.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/runtime/error.h"
#include "shell/startup/menu_table.h"
#include "shell/startup/shell_state.h"
#include "tables/context.h"

namespace qv::shell {

// The action text without trailing blanks and its last two characters, then
// "," + recno right-aligned in 10 + ")}". {|| CHECK_PASS("INSTALL_S")} in
// record 12 gives {|| CHECK_PASS("INSTALL_S",        12)}.
std::string BuiltActionText(std::string_view action, uint32_t recno);

// The item's action; nullptr for an empty action text. A text that does not
// compile, or whose value is no code block, is reported through the
// run-time error dialog now, and its item runs nothing.
std::function<void()> MakeMenuAction(tables::Context& ctx, ShellState& state, const MenuRow& row);

// Hands a request to end the run to the state's EndRun (rethrown without one).
void EndRunFromAction(ShellState& state, const rt::QuitRequest& request);

}  // namespace qv::shell
