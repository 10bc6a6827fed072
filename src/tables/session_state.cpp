#include "tables/session_state.h"

namespace qv::tables {

std::string TextVar(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  return v != nullptr && v->IsString() ? v->str() : std::string();
}

bool SwitchVar(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  return v != nullptr && v->IsLogical() && v->logical();
}

bool HasTextVar(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  return v != nullptr && v->IsString();
}

rt::Value& SessionVar(rt::Session& session, std::string_view name) {
  rt::Value* v = session.Find(name);
  return v != nullptr ? *v : session.DeclarePublic(name);
}

bool MultiUser(rt::Session& session) { return !TextVar(session, "XXVMLTUSR").empty(); }

}  // namespace qv::tables
