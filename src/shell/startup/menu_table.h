// The menu table `menuset` and BUILDMENU: rows read in record order become
// the main menu. A row's level is its caption's leading blanks / 2; a level
// above the previous row's begins one submenu under the previous item, a
// drop closes one submenu per whole level dropped; "-----" in a caption
// (not in the first row) is a separator; at the end the last row's whole
// levels are closed. Submenus the rules leave open (odd indents) are closed
// at the end, and a drop never closes the menu bar itself, so any table
// gives a menu.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/main_window.h"
#include "shell/startup/shell_state.h"
#include "tables/context.h"

namespace qv::shell {

// The alias the menu table is open under.
inline constexpr std::string_view kMenuAlias = "MENUSET";

struct MenuRow {
  uint32_t recno = 0;
  std::string caption;  // MEN_DESC as stored (leading blanks give the level)
  std::string message;  // MEN_MESSAG
  std::string action;   // MEN_LOAD
  std::string key;      // MEN_XXVKEY
};

// INDENT: leading blanks of caption / 2 (three blanks give 1.5).
double Indent(std::string_view caption);

// Makes an item's action from its row; nullptr for none.
using ActionMaker = std::function<std::function<void()>(const MenuRow& row)>;

// The menu tree the rules above give for rows (captions and messages shown
// trimmed).
std::vector<gui::MenuItem> BuildMenuTree(const std::vector<MenuRow>& rows,
                                         const ActionMaker& make_action);

// Opens the menu table file (a name relative to the current folder, or a
// full path) under its alias, shared: every workstation starts from the
// same folder and the program never writes the table. In the current area,
// or the lowest free one with new_area. A failure goes to the run-time error
// dialog (Retry opens again; Default leaves it closed: NotFound is returned).
// Quit throws rt::QuitRequest.
Status OpenMenuTable(tables::Context& ctx, std::string_view file, bool new_area);

// Every visible row of the open menu table, in record order. A missing
// field of the four is reported once through the run-time error dialog and
// reads as empty.
std::vector<MenuRow> ReadMenuRows(tables::Context& ctx);

// One field of the menu table's current row, "" when the table or the field
// is missing.
std::string MenuField(tables::Context& ctx, std::string_view field);

// BUILDMENU: opens the menu table in the current area, reads it and builds
// the menu, compiling each action once (menu_action.h).
std::vector<gui::MenuItem> BuildMenu(tables::Context& ctx, ShellState& state);

}  // namespace qv::shell
