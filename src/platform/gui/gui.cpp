#include "platform/gui/gui.h"

namespace qv::gui {

namespace {
const rt::DateSettings kDefaultDates;
}

Gui::Gui(GuiOptions options) : options_(std::move(options)) {
  RegisterLibraryTemplates(templates_);
}

Result<std::shared_ptr<Dialog>> Gui::NewDialog(std::string_view template_name) {
  const DialogTemplate* t = templates_.Find(template_name);
  if (t == nullptr) {
    return Status::NotFound("no dialog template named " + std::string(template_name));
  }
  return std::make_shared<Dialog>(*t);
}

Result<Bitmap> Gui::ReadBitmap(std::string_view windows_path) const {
  if (!options_.files) return Status::NotFound(std::string(windows_path));
  return LoadBitmap(options_.files, windows_path);
}

const rt::DateSettings& Gui::dates() const {
  return options_.dates != nullptr ? *options_.dates : kDefaultDates;
}

}  // namespace qv::gui
