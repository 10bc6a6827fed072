#include "platform/gui/environment.h"

#include "platform/runtime/text.h"

namespace qv::gui {

GuiEnvironment ReadGuiEnvironment(const std::function<const char*(const char*)>& lookup) {
  GuiEnvironment env;
  auto value = [&lookup](const char* name) -> std::string {
    const char* v = lookup(name);
    return v == nullptr ? std::string() : std::string(v);
  };
  if (std::string windir = value("QUORVANTA_WINDIR"); !windir.empty()) {
    env.windows_folder = std::move(windir);
  }
  env.printer_present = !rt::EqualsNoCase(rt::AllTrim(value("QUORVANTA_PRINTER")), "none");
  env.pdf_folder = value("QUORVANTA_PRINT_PDF");
  return env;
}

}  // namespace qv::gui
