// Remembers the selected work area by its alias and selects it again, through
// the table engine's routines looked up by name (ALIAS, SELECT,
// DBSELECTAREA), so the dialogs need no table-engine headers. Without those
// routines registered there is nothing to remember.
#pragma once

#include <string>

#include "platform/runtime/session.h"

namespace qv::ui {

class WorkAreaKeeper {
 public:
  // Notes the alias of the selected work area ("" when none).
  explicit WorkAreaKeeper(rt::Session& session);
  // When an alias was noted and a table is still open under it, selects its
  // work area again. Safe to call more than once.
  void Restore();
  const std::string& alias() const { return alias_; }

 private:
  rt::Session& session_;
  std::string alias_;
};

}  // namespace qv::ui
