// A start folder for start-up tests: drive D is a temporary folder holding
// the menu table (made by the test), "exe\ctl3d.dll" and "quorv.bmp"; drive
// C a prepared Windows drive. The program runs MAIN through the headless
// front end, and a list of steps stands in for script lines between
// commands. Commands are test stand-ins registered by name.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "menu_tables.h"
#include "platform/fs/env.h"
#include "platform/fs/win_fs.h"
#include "platform/gui/script/script_gui.h"
#include "platform/runtime/session.h"
#include "shell/startup/shell_state.h"
#include "tables/context.h"
#include "testing/testing.h"

namespace qv::shell::testing {

class StartupTest : public ::testing::Test {
 protected:
  // start_dir: the start folder below drive D's root ("" : the root).
  explicit StartupTest(const std::string& start_dir = "");

  // Host path below drive D / drive C.
  std::string D(const std::string& rel) const { return dir_.Sub("d/" + rel); }
  std::string C(const std::string& rel) const { return dir_.Sub("c/" + rel); }
  void Menu(const std::vector<Row>& rows) {
    WriteMenuTable(*env_, D(start_ + "menuset.dbf"), rows);
  }

  // Registers start-up's routines (once) and runs MAIN; steps run one per
  // turn of the event loop, then the window closes. The exit code: the
  // session's, or the one a request to end the run carried.
  int Run(std::vector<std::function<void()>> steps = {});
  // Registers a command that records XXVKEY, DO_PROC, MENULEVEL and the
  // menu state, then runs body (may be empty).
  void Command(const std::string& name, std::function<void()> body = nullptr);
  // "choose PATH" as a step; a path naming no item fails the test.
  std::function<void()> Choose(const std::string& path);

  // Transcript lines (EVENT\tfields) whose event is one of events; all
  // lines when events is empty.
  std::vector<std::string> Lines(const std::vector<std::string>& events = {}) const;

  struct Ran {
    std::string command;
    std::string key;
    std::string do_proc;
    double menulevel = -1;  // -1: MENULEVEL did not exist
    bool menu_enabled = true;
  };
  std::vector<Ran> ran_;

  qv::testing::TempDir dir_;
  std::string start_;  // "" or "SETUP/"
  std::unique_ptr<fs::Env> env_;
  std::unique_ptr<fs::WinFs> fs_;
  rt::Session session_;
  std::ostringstream transcript_;
  gui::ScriptGui gui_;
  tables::Context ctx_;
  std::map<std::string, std::string> environment_;  // what getenv sees
  std::shared_ptr<ShellState> state_;
};

}  // namespace qv::shell::testing
