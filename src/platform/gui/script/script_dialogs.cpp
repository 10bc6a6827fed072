// The headless front end's dialogs: modal ones run on queued answers (or
// their default) or, when they take none, on their own timers in virtual
// time; non-modal ones write what they show.
#include <chrono>
#include <thread>

#include "platform/gui/edit_text.h"
#include "platform/gui/script/script_gui.h"

namespace qv::gui {

namespace {

std::string HowClosed(const Dialog& dialog) {
  switch (dialog.close_reason()) {
    case CloseReason::kAction:
      return dialog.last_pressed() != 0 ? "button " + std::to_string(dialog.last_pressed())
                                        : "action";
    case CloseReason::kEscape:
      return "esc";
    case CloseReason::kCloseBox:
      return "close";
    case CloseReason::kOpen:
      break;
  }
  return "open";
}

// The texts a note shows: its labels, one after the other.
std::string LabelText(const Dialog& dialog) {
  std::string text;
  for (const Control& c : dialog.controls()) {
    if (c.kind != ControlKind::kStatic || c.caption.empty()) continue;
    if (!text.empty()) text += "\r\n";
    text += c.caption;
  }
  return text;
}

}  // namespace

void ScriptGui::WriteControls(const Dialog& dialog) {
  for (const Control& c : dialog.controls()) {
    const std::string id = std::to_string(c.id);
    switch (c.kind) {
      case ControlKind::kEdit:
      case ControlKind::kMultiEdit:
        if (c.value.IsString() || c.value.IsNumber() || c.value.IsDate()) {
          transcript_.Write("FIELD", {id, EditTextOf(c.value, c.picture)});
        } else {
          transcript_.Write("FIELD", {id, c.caption});
        }
        break;
      case ControlKind::kListBox:
      case ControlKind::kMultiListBox: {
        std::string chosen;
        for (int n : c.Selections()) chosen += (chosen.empty() ? "" : ",") + std::to_string(n);
        std::vector<std::string> fields{id, chosen};
        fields.insert(fields.end(), c.items.begin(), c.items.end());
        transcript_.Write("LIST", fields);
        break;
      }
      case ControlKind::kCheckBox:
        transcript_.Write("CHECK", {id, c.checked ? "on" : "off"});
        break;
      case ControlKind::kStatic:
        if (!c.caption.empty()) transcript_.Write("LABEL", {id, c.caption});
        break;
      default:
        break;
    }
  }
}

void ScriptGui::RunModal(Dialog& dialog) {
  keys().ClearPulses();
  ++modal_depth_;
  struct Depth {
    int& depth;
    ~Depth() { --depth; }
  } depth{modal_depth_};
  if (dialog.ended()) dialog.Reopen();
  dialog.Shown();
  if (!dialog.TakesAnswers()) {
    RunTimers(dialog);
    return;
  }
  transcript_.Write("DIALOG", {dialog.kind, dialog.title});
  WriteControls(dialog);
  while (!dialog.ended()) {
    Taken t = Take(dialog.kind, dialog.title, *dialog.default_answer);
    const std::string said = AnswerText(t.answer);
    if (t.is_default) {
      transcript_.Write("ANSWER", {said, "(default)"});
    } else {
      transcript_.Write("ANSWER", {said});
    }
    const Status s = ApplyAnswer(dialog, t.answer, dates(), keys());
    if (!s.ok()) Stop(kExitBadScript, s.message());
  }
  transcript_.Write("CLOSED", {dialog.kind, HowClosed(dialog)});
  WriteControls(dialog);
}

void ScriptGui::RunTimers(Dialog& dialog) {
  int64_t elapsed_ms = 0;
  while (!dialog.ended()) {
    int step = 0;
    for (const Dialog::Timer& t : dialog.timers()) {
      if (t.active && (step == 0 || t.interval_ms < step)) step = t.interval_ms;
    }
    if (step <= 0) {  // nothing would ever close it: the user would
      dialog.PressCloseBox();
      break;
    }
    if (!notes_instant_) std::this_thread::sleep_for(std::chrono::milliseconds(step));
    elapsed_ms += step;
    for (size_t i = 0; i < dialog.timers().size(); ++i) dialog.Tick(i);
  }
  transcript_.Write("NOTE", {dialog.title, LabelText(dialog),
                             SecondsText(static_cast<double>(elapsed_ms) / 1000.0)});
}

void ScriptGui::ShowNonModal(std::shared_ptr<Dialog> dialog) {
  Dialog* d = dialog.get();
  bool known = false;
  for (const auto& shown : non_modal_) known = known || shown.get() == d;
  if (!known) {
    non_modal_.push_back(dialog);
    d->on_draw = [this](Dialog& owner, const Drawing& drawing) {
      if (drawing.bitmap.has_value() || !visible_[&owner]) return;
      transcript_.Write(
          "DRAW", {owner.kind, std::to_string(drawing.y), std::to_string(drawing.x), drawing.text});
    };
  }
  if (d->ended()) d->Reopen();
  visible_[d] = true;
  transcript_.Write("SHOW", {d->kind, d->title});
  WriteControls(*d);
  d->Shown();
  if (d->on_paint) d->on_paint(*d);
}

void ScriptGui::HideDialog(Dialog& dialog) {
  if (!visible_[&dialog]) return;
  visible_[&dialog] = false;
  transcript_.Write("HIDE", {dialog.kind});
}

void ScriptGui::CloseDialog(Dialog& dialog) {
  for (auto it = non_modal_.begin(); it != non_modal_.end(); ++it) {
    if (it->get() != &dialog) continue;
    dialog.End();
    if (!dialog.ended()) dialog.PressCloseBox();
    dialog.on_draw = nullptr;
    visible_.erase(&dialog);
    transcript_.Write("CLOSE", {dialog.kind});
    non_modal_.erase(it);
    return;
  }
}

void ScriptGui::RefreshDialog(Dialog& dialog) {
  if (!visible_[&dialog]) return;
  for (const Control& c : dialog.controls()) {
    if (c.kind == ControlKind::kMultiEdit || c.kind == ControlKind::kStatic) {
      const std::string text = c.value.IsString() ? c.value.str() : c.caption;
      transcript_.Write("TEXT", {dialog.kind, std::to_string(c.id), text});
    }
  }
}

}  // namespace qv::gui
