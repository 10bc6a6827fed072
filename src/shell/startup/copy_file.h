// COPYFILE: copies one file by the program's folder conventions and counts
// the copy in the process-wide copy counter a progress meter shows.
#pragma once

#include <string>

#include "platform/fs/win_fs.h"
#include "platform/gui/meter.h"
#include "platform/runtime/session.h"
#include "shell/startup/shell_state.h"

namespace qv::shell {

struct CopyRequest {
  std::string file;    // "ctl3d.dll"
  std::string source;  // folder ending in a backslash: "D:\SETUP\exe\"
  std::string
      destination;    // folder from the drive's root, no trailing backslash: "\WINDOWS\system"
  std::string drive;  // the target drive's letter
  gui::Meter* meter = nullptr;  // its position becomes the copy counter after the copy
};

// Copies source + file to drive + ":" + destination + "\" + file, creating
// or replacing it (bytes only; the target gets the current time). Nothing is
// checked beforehand: a missing source or target folder goes to the
// run-time error dialog, where Retry copies again, Default skips this file
// and Quit ends the run (rt::QuitRequest). Raises the copy counter first.
// Returns true.
bool CopyFile(rt::Session& session, fs::WinFs& fs, ShellState& state, const CopyRequest& request);

}  // namespace qv::shell
