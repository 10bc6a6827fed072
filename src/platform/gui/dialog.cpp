#include "platform/gui/dialog.h"

#include "platform/gui/units.h"

namespace qv::gui {

std::vector<int> Control::Selections() const {
  std::vector<int> out;
  for (size_t i = 0; i < selected.size(); ++i) {
    if (selected[i]) out.push_back(static_cast<int>(i) + 1);
  }
  return out;
}

Dialog::Dialog(const DialogTemplate& dialog_template)
    : kind(dialog_template.name),
      title(dialog_template.caption),
      rect(DialogUnitsToPixels(dialog_template.units)),
      // Points to a character height in pixels at 96 dots per inch.
      font(
          Font{dialog_template.font_face, 0, -(dialog_template.font_points * 96 + 36) / 72, false}),
      template_name_(dialog_template.name) {
  for (const ControlTemplate& t : dialog_template.controls) {
    Control c;
    c.id = t.id;
    c.kind = t.kind;
    c.rect = DialogUnitsToPixels(t.units);
    c.caption = t.caption;
    c.default_button = t.default_button;
    controls_.push_back(std::move(c));
  }
}

Dialog::Dialog(Rect pixel_rect, std::string dialog_title)
    : kind("DIALOG"), title(std::move(dialog_title)), rect(pixel_rect) {}

Control* Dialog::Find(int id) {
  for (Control& c : controls_) {
    if (c.id == id && id != 0) return &c;
  }
  return nullptr;
}

Control& Dialog::Add(Control control) {
  controls_.push_back(std::move(control));
  return controls_.back();
}

Control* Dialog::FirstOf(ControlKind control_kind) {
  for (Control& c : controls_) {
    if (c.kind == control_kind) return &c;
  }
  return nullptr;
}

void Dialog::Shown() {
  if (started_) return;
  started_ = true;
  if (on_init) on_init(*this);
  if (on_start) on_start(*this);
}

bool Dialog::Press(int id) {
  Control* c = Find(id);
  if (c == nullptr || c->kind != ControlKind::kButton || !c->enabled || ended()) return false;
  last_pressed_ = id;
  if (c->action) {
    // The action may add controls; keep a copy so it outlives such changes.
    DialogAction action = c->action;
    action(*this);
  }
  return true;
}

void Dialog::LeaveField(int id) {
  Control* c = Find(id);
  if (c != nullptr && c->valid) {
    auto valid_action = c->valid;
    valid_action(*this);
  }
}

void Dialog::Tick(size_t index) {
  if (index >= timers_.size() || !timers_[index].active || ended()) return;
  DialogAction action = timers_[index].action;
  if (action) action(*this);
}

void Dialog::Close(CloseReason reason) {
  if (ended() || closing_) return;
  closing_ = true;
  for (Control& c : controls_) {
    if (c.valid) {
      auto valid_action = c.valid;
      valid_action(*this);
    }
  }
  const bool accepted = !valid || valid(*this);
  closing_ = false;
  if (!accepted) return;
  reason_ = reason;
  for (Timer& t : timers_) t.active = false;  // every way of closing stops the timers
}

size_t Dialog::AddTimer(int interval_ms, DialogAction action) {
  timers_.push_back(Timer{interval_ms, std::move(action), false});
  return timers_.size() - 1;
}

bool Dialog::HasActiveTimer() const {
  for (const Timer& t : timers_) {
    if (t.active) return true;
  }
  return false;
}

void Dialog::Say(double row, double column, std::string text, Color color, const Font& say_font) {
  Keep(Drawing{TextColumnToPixels(column), TextRowToPixels(row), std::move(text), std::nullopt,
               color, say_font});
}

void Dialog::DrawBitmap(int x, int y, const Bitmap& bitmap) {
  Keep(Drawing{x, y, "", bitmap, kBlack, font});
}

void Dialog::Keep(Drawing drawing) {
  // A drawing covers the earlier one of its kind at the same place (a counter
  // rewritten in place), so the list stays as small as the dialog.
  const Drawing* kept = nullptr;
  for (Drawing& d : drawings_) {
    if (d.x == drawing.x && d.y == drawing.y &&
        d.bitmap.has_value() == drawing.bitmap.has_value()) {
      d = std::move(drawing);
      kept = &d;
      break;
    }
  }
  if (kept == nullptr) {
    drawings_.push_back(std::move(drawing));
    kept = &drawings_.back();
  }
  if (on_draw) on_draw(*this, *kept);
}

Dialog* DialogOf(const rt::Value& value) {
  return value.IsObject() ? dynamic_cast<Dialog*>(value.object().get()) : nullptr;
}

const ControlHandle* ControlOf(const rt::Value& value) {
  return value.IsObject() ? dynamic_cast<const ControlHandle*>(value.object().get()) : nullptr;
}

}  // namespace qv::gui
