// What every routine of the product reaches: the session (variables,
// procedures, settings), the Windows file system, the table engine's work
// areas, the front end, and an expression host over all of them. One
// Context per run; routines registered by name capture a reference to it.
#pragma once

#include <chrono>
#include <functional>

#include "platform/fs/env.h"
#include "platform/fs/win_fs.h"
#include "platform/gui/gui.h"
#include "platform/rdd/table_access.h"
#include "platform/rdd/workspace.h"
#include "platform/runtime/session.h"
#include "platform/xbase/expr.h"
#include "platform/xbase/win_file_access.h"
#include "tables/set_flags.h"

namespace qv::tables {

class Context {
 public:
  // Table names resolve through fs (drives, current folders, short names).
  // REQUIRES: every argument outlives the Context.
  Context(rt::Session& session, fs::WinFs& fs, gui::Gui& gui);
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  rt::Session& session() { return session_; }
  fs::WinFs& fs() { return fs_; }
  fs::Env& env() { return fs_.env(); }
  gui::Gui& gui() { return gui_; }
  rdd::Workspace& workspace() { return workspace_; }
  // Evaluation sees the open tables, FILE() and DIRECTORY() through fs.
  xb::Host& host() { return host_; }
  // Switches of the setting routines that have no home below this layer.
  SetFlags& set_flags() { return set_flags_; }

  // How a lock wait pauses between two tests of a busy resource. The default
  // sleeps; a test makes it instant or lets it play another workstation.
  using Sleeper = std::function<void(std::chrono::milliseconds)>;
  void set_sleeper(Sleeper sleeper) { sleeper_ = std::move(sleeper); }
  void Sleep(std::chrono::milliseconds duration) const;

 private:
  rt::Session& session_;
  fs::WinFs& fs_;
  gui::Gui& gui_;
  rdd::Workspace workspace_;
  rdd::WorkspaceTableAccess table_access_;
  xb::WinFileAccess file_access_;
  xb::Host host_;
  SetFlags set_flags_;
  Sleeper sleeper_;
};

}  // namespace qv::tables
