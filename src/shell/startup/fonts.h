// The fourteen fonts start-up creates, each held in a session variable of
// its name. Heights go to the front end unchanged: negative selects the
// character height, positive the cell height; width 0 lets it choose.
#pragma once

#include <span>

#include "platform/gui/types.h"
#include "platform/runtime/session.h"

namespace qv::shell {

struct FontDef {
  const char* variable;
  gui::Font font;
};

// In the order they are created.
std::span<const FontDef> StartupFonts();

// Creates every font of StartupFonts() as a public variable.
void CreateFonts(rt::Session& session);

}  // namespace qv::shell
