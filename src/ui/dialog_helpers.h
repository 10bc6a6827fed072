// The information box that keeps the caller's work area, the routine that
// records the active window, and the select-all toggle of multiple-selection
// lists.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/gui/gui.h"
#include "platform/runtime/session.h"

namespace qv::ui {

// Shows text in an information box; afterwards selects the caller's work
// area again when a table is still open under its alias (window messages
// handled while the box is open may select another). Returns true.
bool MsgInformation(gui::Gui& gui, rt::Session& session, std::string_view text);

// Stores the active window's handle in the public variable HHCTRL (created
// when missing). Returns true.
bool HhCtrl(gui::Gui& gui, rt::Session& session);

// Toggles a multiple-selection list: flag true selects items 1 to
// item_count and sets flag false; flag false selects item 1, then deselects
// items item_count down to 1 and sets flag true. The list is refreshed.
// Positions beyond item_count or the list's items are ignored, so an empty
// item list only flips the flag. Returns true.
bool ListSelAll(gui::Gui& gui, gui::Dialog& dialog, gui::Control& list, size_t item_count,
                bool& flag);

}  // namespace qv::ui
