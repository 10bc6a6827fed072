// The runtime switches the setting routines change that no engine or
// session setting holds (the deleted and exact switches live in the
// workspace and the session). Kept per Context so a saved settings string
// can be applied again.
#pragma once

namespace qv::tables {

struct SetFlags {
  bool delimiters = false;
  bool confirm = false;
  bool printer = false;
  bool console = true;
  bool intensity = true;
  bool bell = false;
  int margin = 0;
};

}  // namespace qv::tables
