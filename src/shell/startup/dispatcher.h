// The command dispatcher CHECK_PASS and the message-bar routine STATUSLINE.
// A chosen menu item calls CHECK_PASS(command, record): the menu table's row
// gives the mode key, the menu is disabled while the command runs (by
// name, without arguments) and enabled again afterwards with the default
// message bar.
#pragma once

#include <string_view>

#include "platform/runtime/value.h"
#include "shell/startup/shell_state.h"
#include "tables/context.h"

namespace qv::shell {

// CHECK_PASS, in this order: select the menu table by its alias (reopened
// from the start folder when a command closed it), go to record (the
// current one when record is not a number), XXVKEY := MEN_XXVKEY, DO_PROC
// := command, private MENULEVEL := 1, disable the menu, call command, focus
// the main window, enable the menu, default message bar, MENULEVEL := 0.
// The work area selected when the command returns stays selected. A
// run-time error that ends the command goes to the error dialog, and the
// menu is enabled again all the same. A request to end the run
// (rt::QuitRequest) passes through. Returns true.
// REQUIRES: called inside its own call frame (rt::Call), which owns MENULEVEL.
bool CheckPass(tables::Context& ctx, ShellState& state, std::string_view command,
               const rt::Value& record);

// STATUSLINE: shows text in the message bar for the rest of the running
// command; a text that does not begin with a blank is trimmed and gets one
// leading blank. Returns true.
bool StatusLine(gui::Gui& gui, std::string_view text);

}  // namespace qv::shell
