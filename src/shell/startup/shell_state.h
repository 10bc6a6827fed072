// What the shell keeps for the whole run besides session variables: the
// start folder (where the menu table lives), the process-wide copy counter,
// the menu built at start-up and the main window being assembled. One per
// run; the registered routines share it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/main_window.h"
#include "platform/runtime/error.h"

namespace qv::shell {

// How a run that must end (a Quit answer, the orderly exit) leaves a menu
// action. The default rethrows the request; a front end whose event loop
// cannot carry exceptions records it and ends its loop instead.
using EndRun = std::function<void(const rt::QuitRequest& request)>;

// What start-up reads from outside the program.
struct StartupOptions {
  // An environment variable's value, nullptr when unset (std::getenv by default).
  std::function<const char*(const char*)> getenv;
  EndRun end_run;
};

struct ShellState {
  StartupOptions options;
  // The start folder with a trailing backslash ("D:\SETUP\"), fixed at
  // start-up: the dispatcher reopens the menu table from here.
  std::string start_folder;
  // Raised by every COPYFILE, never reset; a meter shows it.
  int64_t copy_count = 0;
  // The menu built from the menu table, as shown.
  std::vector<gui::MenuItem> menu;
  // The main window, assembled by MAIN before it is shown.
  gui::MainWindow window;
};

}  // namespace qv::shell
