#include "platform/gui/types.h"

namespace qv::gui {

const Font* FontOf(const rt::Value& value) {
  if (!value.IsObject()) return nullptr;
  const auto* f = dynamic_cast<const FontObject*>(value.object().get());
  return f == nullptr ? nullptr : &f->font();
}

const char* MessageTitle(MessageKind kind) {
  switch (kind) {
    case MessageKind::kInformation:
      return "Information";
    case MessageKind::kAlert:
      return "Alert";
    case MessageKind::kStop:
      return "Stop";
  }
  return "";
}

}  // namespace qv::gui
