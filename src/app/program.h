// One run of the program: the clock, the drive map, the session and the
// chosen front end, every routine registered, then MAIN until the main
// window closes or the run is ended. Returns the process exit code.
#pragma once

#include "app/command_line.h"
#include "platform/fs/win_fs.h"
#include "platform/gui/qt/qt_gui.h"
#include "platform/runtime/session.h"

namespace qv::app {

// REQUIRES: !line.help. Faults of the environment (a bad drive map or
// QUORVANTA_TODAY, an unreadable script, no display for windows) are told
// on standard error and give kExitUsage.
int RunProgram(const CommandLine& line);

// The windowed run on a front end already made: every routine registered,
// MAIN until the window closes. A menu action that ends the run (the
// orderly exit) closes the window, since Qt's event loop cannot carry the
// request, and its exit code is returned.
int RunWithWindows(rt::Session& session, fs::WinFs& fs, gui::QtGui& gui);

}  // namespace qv::app
