#include "ui/dialog_helpers.h"

#include "ui/work_area.h"

namespace qv::ui {

namespace {

// Only positions inside both the item list given and the list box count, so
// an empty item list leaves the list box as it is.
void SetSel(gui::Control& list, size_t item_count, size_t position, bool on) {
  if (position < 1 || position > item_count || position > list.items.size()) return;
  list.selected.resize(list.items.size(), false);
  list.selected[position - 1] = on;
}

}  // namespace

bool MsgInformation(gui::Gui& gui, rt::Session& session, std::string_view text) {
  WorkAreaKeeper keeper(session);
  gui.ShowMessage(gui::MessageKind::kInformation, text);
  keeper.Restore();
  return true;
}

bool HhCtrl(gui::Gui& gui, rt::Session& session) {
  const rt::Value handle = rt::Value::Int(gui.ActiveWindowHandle());
  if (session.Find("HHCTRL") == nullptr) session.DeclarePublic("HHCTRL");
  session.Assign("HHCTRL", handle);
  return true;
}

bool ListSelAll(gui::Gui& gui, gui::Dialog& dialog, gui::Control& list, size_t item_count,
                bool& flag) {
  dialog.focus_id = list.id;
  if (flag) {
    for (size_t i = 1; i <= item_count; ++i) SetSel(list, item_count, i, true);
    flag = false;
  } else {
    SetSel(list, item_count, 1, true);
    for (size_t i = item_count; i >= 1; --i) SetSel(list, item_count, i, false);
    flag = true;
  }
  gui.RefreshDialog(dialog);
  return true;
}

}  // namespace qv::ui
