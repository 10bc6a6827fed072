// A headless front end writing its transcript into a string, for tests.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "platform/gui/script/script_gui.h"

namespace qv::gui::testing {

class ScriptFixture {
 public:
  explicit ScriptFixture(bool printer = true)
      : gui(GuiOptions{}, ScriptOptions{&out, printer, nullptr}) {
    gui.SetNotesInstant(true);
  }

  void Queue(const char* line) { gui.answers().Push(ParseAnswer(line).value()); }

  // Transcript lines written since the last call.
  std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(out.str().substr(consumed_));
    while (std::getline(in, line)) lines.push_back(line);
    consumed_ = out.str().size();
    return lines;
  }

  std::ostringstream out;
  ScriptGui gui;

 private:
  size_t consumed_ = 0;
};

}  // namespace qv::gui::testing
