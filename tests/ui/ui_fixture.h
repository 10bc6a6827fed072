// A headless front end with the entry templates registered, writing its
// transcript into a string.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/gui/script/script_gui.h"
#include "ui/msg_get.h"

namespace qv::ui::testing {

class UiFixture {
 public:
  UiFixture() : gui(gui::GuiOptions{}, gui::ScriptOptions{&out, true, nullptr}) {
    RegisterEntryTemplates(gui.templates());
    gui.SetNotesInstant(true);
  }

  void Queue(const char* line) { gui.answers().Push(gui::ParseAnswer(line).value()); }

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(out.str());
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
  }

  std::ostringstream out;
  gui::ScriptGui gui;
};

}  // namespace qv::ui::testing
