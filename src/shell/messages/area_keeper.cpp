#include "shell/messages/area_keeper.h"

namespace qv::shell {

AreaKeeper::AreaKeeper(rdd::Workspace& workspace)
    : workspace_(workspace), alias_(workspace.Alias()), area_(workspace.current()) {}

void AreaKeeper::CloseMessageTable() {
  const int area = workspace_.AreaOf("MESSAGE");
  if (area == 0) return;
  // The table was only read: a failed close loses nothing.
  if (workspace_.SelectArea(area).ok()) (void)workspace_.CloseArea();
  Reselect();
}

void AreaKeeper::Reselect() {
  const int area = alias_.empty() ? 0 : workspace_.AreaOf(alias_);
  (void)workspace_.SelectArea(area != 0 ? area : area_);
}

}  // namespace qv::shell
