// The work area MSG finds selected and leaves selected: remembered by alias
// (and by number, for a caller with an empty area selected), and the message
// table's area closed, so that a numbered message never leaves the table
// open or another area selected.
#pragma once

#include <string>

#include "platform/rdd/workspace.h"

namespace qv::shell {

class AreaKeeper {
 public:
  explicit AreaKeeper(rdd::Workspace& workspace);
  // Closes the area under the alias MESSAGE, if any (also the caller's own).
  void CloseMessageTable();
  // Selects the remembered alias again when a table is still open under it,
  // else the remembered area number.
  void Reselect();
  const std::string& alias() const { return alias_; }

 private:
  rdd::Workspace& workspace_;
  std::string alias_;  // "" when the selected area was empty
  int area_;
};

}  // namespace qv::shell
