#include "ui/msg_get.h"

#include "platform/gui/units.h"
#include "platform/runtime/text.h"

namespace qv::ui {

namespace {

constexpr int kConfirm = 1;
constexpr int kCancel = 2;
constexpr int kField = 101;
// Longest string MSGGET3's short field is chosen for.
constexpr size_t kShortString = 8;

gui::DialogTemplate EntryTemplate(const char* name, const char* caption, gui::Rect size, int ok_x,
                                  int cancel_x, int button_y, gui::Rect field) {
  using gui::ControlKind;
  using gui::ControlTemplate;
  return gui::DialogTemplate{
      name,
      caption,
      size,
      "MS Sans Serif",
      8,
      {ControlTemplate{kConfirm, ControlKind::kButton, gui::Rect{ok_x, button_y, 50, 14}, "A&xcept",
                       true},
       ControlTemplate{kCancel, ControlKind::kButton, gui::Rect{cancel_x, button_y, 50, 14},
                       "&Cancel", false},
       ControlTemplate{kField, ControlKind::kEdit, field, "", false}}};
}

}  // namespace

void RegisterEntryTemplates(gui::TemplateRegistry& registry) {
  registry.Register(EntryTemplate("MSGGET1", "msgget1", gui::Rect{0, 0, 301, 59}, 12, 72, 38,
                                  gui::Rect{55, 14, 230, 12}));
  registry.Register(EntryTemplate("MSGGET2", "msgget2", gui::Rect{0, 0, 137, 62}, 3, 63, 29,
                                  gui::Rect{31, 5, 90, 12}));
  registry.Register(EntryTemplate("MSGGET3", "DIALOG_2", gui::Rect{0, 0, 243, 61}, 9, 69, 30,
                                  gui::Rect{52, 7, 25, 12}));
}

std::string EntryTemplateFor(const rt::Value& value) {
  if (value.IsNumber()) return "MSGGET2";
  if (value.IsDate()) return "MSGGET3";
  if (value.IsString()) return value.str().size() > kShortString ? "MSGGET1" : "MSGGET3";
  return "";
}

gui::Font EntryFont() { return gui::Font{"Ms Sans Serif", 0, -12, true}; }

bool MsgGetCh(gui::Gui& gui, gui::Dialog& dialog, bool& cancel) {
  if (gui.KeyDown(gui::Key::kEnter)) {
    cancel = false;
    dialog.End();
  }
  return true;
}

bool MsgGetStart(gui::Dialog& dialog, std::string_view prompt) {
  if (rt::AllTrim(prompt).empty()) return true;
  gui::Control label;
  label.kind = gui::ControlKind::kStatic;
  label.caption = std::string(prompt);
  const int x = gui::TextColumnToPixels(1);
  const int y = gui::TextRowToPixels(0.45);
  const gui::Control* field = dialog.Find(kField);
  const int right = field != nullptr ? field->rect.x - 4 : dialog.rect.width - x;
  label.rect = gui::Rect{x, y, right > x ? right - x : 0, 16};
  dialog.Add(std::move(label));
  return true;
}

bool MsgGet(gui::Gui& gui, const MsgGetRequest& request, rt::Value& value) {
  const std::string name = EntryTemplateFor(value);
  if (name.empty()) return false;
  auto made = gui.NewDialog(name);
  if (!made.ok()) return false;  // the entry templates were not registered
  gui::Dialog& dialog = *made.value();
  bool cancel = true;

  dialog.title = request.title;
  dialog.font = request.font;
  dialog.default_answer = gui::Answer{};  // unattended: confirm the value unchanged
  gui::Control& field = *dialog.Find(kField);
  field.value = value;
  field.picture = request.picture;
  field.valid = [&gui, &cancel](gui::Dialog& d) { return MsgGetCh(gui, d, cancel); };
  gui::Control& ok = *dialog.Find(kConfirm);
  ok.message = "Exit and Process Normally.  (we know the spelling is funny)";
  ok.action = [&cancel](gui::Dialog& d) {
    cancel = false;
    d.End();
  };
  gui::Control& no = *dialog.Find(kCancel);
  no.message = "Cancel the Process.";
  no.action = [&cancel](gui::Dialog& d) {
    cancel = true;
    d.End();
  };
  const std::string prompt = request.prompt;
  dialog.on_start = [prompt](gui::Dialog& d) { MsgGetStart(d, prompt); };
  dialog.focus_id = kField;
  dialog.centred = true;

  cancel = true;
  gui.RunModal(dialog);
  if (cancel && !gui.KeyDown(gui::Key::kEscape)) return false;
  value = field.value;
  return true;
}

}  // namespace qv::ui
