#include "platform/gui/dialog_template.h"

#include "platform/runtime/text.h"

namespace qv::gui {

void TemplateRegistry::Register(DialogTemplate dialog_template) {
  std::string key = rt::Upper(dialog_template.name);
  templates_[key] = std::move(dialog_template);
}

const DialogTemplate* TemplateRegistry::Find(std::string_view name) const {
  auto it = templates_.find(rt::Upper(name));
  return it == templates_.end() ? nullptr : &it->second;
}

}  // namespace qv::gui
