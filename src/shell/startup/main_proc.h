// MAIN, the routine the program runs in: the session variables, runtime
// settings, the copy of the 3-D controls library, the fonts and the main
// window with its menu, then the window's event loop until it closes.
#pragma once

#include "platform/gui/main_window.h"
#include "shell/startup/shell_state.h"
#include "tables/context.h"

namespace qv::shell {

// Title and default message-bar text of the main window.
inline constexpr std::string_view kMainTitle = "  Install    Quorvanta Scheduler";
inline constexpr std::string_view kMessageBarDefault =
    "Quorvanta Scheduler setup: choose a task from the menu";

// The main window's place: text rows 6 to 32, columns 25 to 77, a row 16
// and a column 8 pixels.
gui::Rect MainWindowRect();

// Every start-up step in order, then the event loop; returns when the main
// window has closed. A Quit answer or the orderly exit leaves by
// rt::QuitRequest.
void RunMain(tables::Context& ctx, ShellState& state);

// ONPAINT's drawing: "quorv.bmp" from the current folder at (0, 0), read
// anew at every paint; nothing when it is missing or no bitmap.
void PaintMainWindow(tables::Context& ctx, gui::Canvas& canvas);

}  // namespace qv::shell
