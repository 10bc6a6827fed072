#include "ui/work_area.h"

#include "platform/runtime/text.h"

namespace qv::ui {

WorkAreaKeeper::WorkAreaKeeper(rt::Session& session) : session_(session) {
  if (!session_.procedures().Contains("ALIAS")) return;
  const rt::Value alias = rt::Call(session_, "ALIAS", {});
  if (alias.IsString()) alias_ = std::string(rt::AllTrim(alias.str()));
}

void WorkAreaKeeper::Restore() {
  if (alias_.empty() || !session_.procedures().Contains("SELECT") ||
      !session_.procedures().Contains("DBSELECTAREA")) {
    return;
  }
  // SELECT(alias) is 0 when no table is open under that alias any more.
  const rt::Value area = rt::Call(session_, "SELECT", {rt::Value(alias_)});
  if (area.IsNumber() && area.num() > 0) rt::Call(session_, "DBSELECTAREA", {area});
}

}  // namespace qv::ui
