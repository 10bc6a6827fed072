// The one-field value prompt: a dialog from the entry template that fits the
// value's type, with an optional prompt label. Enter in the field, the
// confirm button and Escape confirm (Escape stores the edited value too);
// the Cancel button and the close box cancel.
#pragma once

#include <string>
#include <string_view>

#include "platform/gui/gui.h"
#include "platform/runtime/value.h"

namespace qv::ui {

// Registers the entry templates MSGGET1 (strings longer than 8), MSGGET2
// (numbers) and MSGGET3 (dates, strings of at most 8).
void RegisterEntryTemplates(gui::TemplateRegistry& registry);

// The entry template for a value; "" for a type the prompt does not edit.
std::string EntryTemplateFor(const rt::Value& value);

// The entry dialogs' font when the caller has none: "Ms Sans Serif", height
// 12, bold.
gui::Font EntryFont();

struct MsgGetRequest {
  std::string title;
  std::string prompt;   // "" or blank: no label
  std::string picture;  // "" for none
  gui::Font font = EntryFont();
};

// Asks for value. True, with the edited copy stored into value, when
// confirmed; false with value unchanged when cancelled, or when value is not
// a string, number or date (nothing is shown then).
bool MsgGet(gui::Gui& gui, const MsgGetRequest& request, rt::Value& value);

// The entry field's valid action: when Enter is down, clears the cancel flag
// and ends the dialog. Returns true.
bool MsgGetCh(gui::Gui& gui, gui::Dialog& dialog, bool& cancel);

// The start action: a prompt that is not blank becomes a label at row 0.45,
// column 1, ending before the entry field. Returns true.
bool MsgGetStart(gui::Dialog& dialog, std::string_view prompt);

}  // namespace qv::ui
