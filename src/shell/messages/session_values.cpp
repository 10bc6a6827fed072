#include "shell/messages/session_values.h"

#include "platform/runtime/text.h"
#include "shell/startup/fonts.h"
#include "shell/startup/handles.h"

namespace qv::shell {

gui::Font FontVar(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  if (const gui::Font* font = v != nullptr ? gui::FontOf(*v) : nullptr) return *font;
  for (const FontDef& def : StartupFonts()) {
    if (rt::EqualsNoCase(def.variable, name)) return def.font;
  }
  return gui::Font{};
}

std::shared_ptr<gui::Dialog> DialogVar(rt::Session& session, std::string_view name) {
  const rt::Value* v = session.Find(name);
  if (v == nullptr || !v->IsObject()) return nullptr;
  return std::dynamic_pointer_cast<gui::Dialog>(v->object());
}

bool HoldsMainWindow(rt::Session& session) {
  const rt::Value* v = session.Find("OWNDMAIN");
  return v != nullptr && v->IsObject() &&
         dynamic_cast<const WindowObject*>(v->object().get()) != nullptr;
}

void SetPublic(rt::Session& session, std::string_view name, rt::Value value) {
  session.DeclarePublic(name);
  session.Assign(name, std::move(value));
}

bool XbaseEq(rt::Session& session, std::string_view left, std::string_view right) {
  return rt::XbaseEquals(left, right, session.settings().exact);
}

}  // namespace qv::shell
