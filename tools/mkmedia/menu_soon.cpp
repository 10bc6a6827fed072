#include "menu_soon.h"

#include <algorithm>

#include "source_text.h"

namespace qv::media {

std::string DispatchedCommand(std::string_view action) {
  action = TrimRight(action);
  size_t at = action.rfind("CHECK_PASS(");
  if (at == std::string_view::npos || action.size() < 2 ||
      action.substr(action.size() - 2) != ")}") {
    return {};
  }
  // The last string literal of the call: the command, also when the call
  // chooses between commands (a cancelled prompt runs a no-op instead).
  std::string_view call = action.substr(at);
  size_t close = call.rfind('"');
  if (close == std::string_view::npos || close == 0) return {};
  size_t open = call.rfind('"', close - 1);
  if (open == std::string_view::npos) return {};
  return std::string(call.substr(open + 1, close - open - 1));
}

TableSource WithSoonActions(const TableSource& table) {
  TableSource out = table;
  int load = table.FieldIndex("MEN_LOAD");
  if (load < 0 || table.soon.empty()) return out;
  for (Row& row : out.rows) {
    if (row.cells.size() <= static_cast<size_t>(load)) continue;
    std::string command = DispatchedCommand(row.cells[load]);
    if (std::find(table.soon.begin(), table.soon.end(), command) != table.soon.end()) {
      row.cells[load] = "{|| SOON(\"" + command + "\")}";
    }
  }
  return out;
}

}  // namespace qv::media
