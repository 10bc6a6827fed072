#include "shell/startup/dispatcher.h"

#include <string>

#include "platform/runtime/text.h"
#include "shell/startup/menu_table.h"

namespace qv::shell {

namespace {

// Selects the menu table's area; opens the table from the start folder
// first when a command closed it. False when it cannot be had.
bool SelectMenuTable(tables::Context& ctx, const ShellState& state) {
  rdd::Workspace& ws = ctx.workspace();
  if (ws.AreaOf(kMenuAlias) == 0) {
    if (!OpenMenuTable(ctx, state.start_folder + "menuset", /*new_area=*/true).ok()) return false;
  }
  return ws.SelectArea(ws.AreaOf(kMenuAlias)).ok();
}

void RunCommand(rt::Session& session, std::string_view command) {
  try {
    rt::Call(session, command, {});
  } catch (const rt::RuntimeError& error) {
    rt::ErrorInfo info = error.info();
    info.can_default = true;
    info.can_retry = false;
    rt::RaiseOrQuit(session, info);
  }
}

}  // namespace

bool CheckPass(tables::Context& ctx, ShellState& state, std::string_view command,
               const rt::Value& record) {
  rt::Session& session = ctx.session();
  gui::Gui& gui = ctx.gui();
  if (SelectMenuTable(ctx, state)) {
    rdd::WorkArea* menu = ctx.workspace().Area();
    if (record.IsNumber() && record.num() >= 1)
      (void)menu->GoTo(static_cast<uint32_t>(record.num()));
    std::string key = MenuField(ctx, "MEN_XXVKEY");
    session.Assign("XXVKEY", key);
  }
  session.Assign("DO_PROC", std::string(command));
  session.DeclarePrivate("MENULEVEL", rt::Value::Int(1));
  gui.EnableMenu(false);
  RunCommand(session, command);
  // An install may have closed the main window: the run ends after this.
  if (gui.MainWindowOpen()) {
    gui.FocusMainWindow();
    gui.EnableMenu(true);
    gui.SetMessageBar("");
  }
  session.Assign("MENULEVEL", rt::Value::Int(0));
  return true;
}

bool StatusLine(gui::Gui& gui, std::string_view text) {
  std::string shown(text);
  if (shown.empty() || shown[0] != ' ') shown = " " + std::string(rt::AllTrim(text));
  gui.SetMessageBar(shown);
  return true;
}

}  // namespace qv::shell
