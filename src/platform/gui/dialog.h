// A dialog as plain data and behaviour: its controls (by ID from a template,
// or placed by position), its start/init/valid actions, timers and the text
// and pictures drawn into it. Front ends only show it and feed it events
// (a press, typed text, Escape, the close box, a timer tick); what an event
// means is decided here, so it is tested without any window system.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/answers.h"
#include "platform/gui/bitmap.h"
#include "platform/gui/dialog_template.h"
#include "platform/gui/types.h"
#include "platform/runtime/date.h"
#include "platform/runtime/value.h"

namespace qv::gui {

class Dialog;
using DialogAction = std::function<void(Dialog&)>;

struct Control {
  int id = 0;  // 0: placed by position
  ControlKind kind = ControlKind::kStatic;
  Rect rect;            // pixels in the client area
  std::string caption;  // buttons, labels, check boxes
  std::string message;  // message-bar text while the control has the focus
  bool enabled = true;
  bool default_button = false;
  DialogAction action;                 // buttons: what a press does
  rt::Value value;                     // entry fields: the bound value (string, number or date)
  std::string picture;                 // entry fields: the edit picture, "" for none
  std::function<bool(Dialog&)> valid;  // entry fields: runs when the field is left
  std::vector<std::string> items;      // list boxes
  std::vector<bool> selected;          // list boxes: one flag per item
  bool checked = false;                // check boxes
  std::optional<Bitmap> bitmap;        // bitmap controls
  std::optional<Font> font;            // "" = the dialog's font
  std::optional<Color> text_color;
  std::optional<Color> back_color;

  // 1-based positions of the selected items, ascending.
  std::vector<int> Selections() const;
};

// Text or a picture drawn into a dialog at a pixel position.
struct Drawing {
  int x = 0;
  int y = 0;
  std::string text;  // empty for a picture
  std::optional<Bitmap> bitmap;
  Color color = kBlack;
  Font font;
};

enum class CloseReason { kOpen, kAction, kEscape, kCloseBox };

class Dialog : public rt::Object {
 public:
  // From a template: its caption, pixel rectangle, font and controls.
  explicit Dialog(const DialogTemplate& dialog_template);
  // Without a template: a pixel rectangle and a title.
  Dialog(Rect rect, std::string title);

  std::string_view ClassName() const override { return "DIALOG"; }

  const std::string& template_name() const { return template_name_; }
  // What kind of dialog this is, for transcripts and for counting repeated
  // unattended answers: the template name, or what the creator sets.
  std::string kind;
  std::string title;
  Rect rect;  // pixels; x and y only count when not centred
  Font font;
  bool centred = true;
  bool help_icon = false;
  int focus_id = 0;                    // the control that gets the focus when shown (0: first)
  DialogAction on_init;                // once, when the dialog is first shown
  DialogAction on_start;               // once, after on_init
  std::function<bool(Dialog&)> valid;  // before closing; false keeps it open
  DialogAction on_paint;               // at each paint (non-modal dialogs)

  // The answer an unattended run gives when none is queued; unset for
  // dialogs that take no answer (notes: they close by their own timer).
  std::optional<Answer> default_answer;
  bool TakesAnswers() const { return default_answer.has_value(); }

  // The control with that ID, nullptr when none.
  Control* Find(int id);
  // Adds a control placed by position; the reference stays valid.
  Control& Add(Control control);
  std::deque<Control>& controls() { return controls_; }
  const std::deque<Control>& controls() const { return controls_; }
  // The first control of that kind, nullptr when none.
  Control* FirstOf(ControlKind control_kind);

  // --- events, called by front ends ---
  // Runs on_init then on_start, the first time only.
  void Shown();
  // Presses button id: runs its action. False when there is no such enabled
  // button.
  bool Press(int id);
  // The user left entry field id: runs its valid action.
  void LeaveField(int id);
  // Escape and the close box end the dialog without a button action.
  void PressEscape() { Close(CloseReason::kEscape); }
  void PressCloseBox() { Close(CloseReason::kCloseBox); }
  // One tick of timer index; runs its action when the timer is active.
  void Tick(size_t index);

  // --- what actions call ---
  // Ends the dialog: runs every entry field's valid, then the dialog's valid;
  // when that refuses, the dialog stays open. Re-entrant calls are ignored.
  void End() { Close(CloseReason::kAction); }
  bool ended() const { return reason_ != CloseReason::kOpen; }
  // The button pressed last (0: none yet).
  int last_pressed() const { return last_pressed_; }
  CloseReason close_reason() const { return reason_; }
  // Opens the dialog again after it ended (a reused non-modal dialog).
  void Reopen() { reason_ = CloseReason::kOpen; }

  struct Timer {
    int interval_ms = 0;
    DialogAction action;
    bool active = false;
  };
  // A timer of interval_ms; starts inactive. Returns its index.
  size_t AddTimer(int interval_ms, DialogAction action);
  void StartTimer(size_t index) { timers_.at(index).active = true; }
  const std::vector<Timer>& timers() const { return timers_; }
  bool HasActiveTimer() const;

  // Text drawn at a text row and column (see units.h) in a colour and font.
  void Say(double row, double column, std::string text, Color color, const Font& font);
  // A picture drawn at a pixel position. A drawing replaces an earlier text
  // (or picture) at the same position.
  void DrawBitmap(int x, int y, const Bitmap& bitmap);
  const std::vector<Drawing>& drawings() const { return drawings_; }
  // Called for each drawing while the dialog is shown (front ends hook it).
  std::function<void(Dialog&, const Drawing&)> on_draw;

 private:
  void Close(CloseReason reason);
  void Keep(Drawing drawing);

  std::string template_name_;
  std::deque<Control> controls_;
  std::vector<Timer> timers_;
  std::vector<Drawing> drawings_;
  CloseReason reason_ = CloseReason::kOpen;
  int last_pressed_ = 0;
  bool started_ = false;
  bool closing_ = false;
};

// A control of a dialog held in a session variable (a list box handed to a
// routine). Keeps the dialog alive while the handle exists.
class ControlHandle : public rt::Object {
 public:
  ControlHandle(std::shared_ptr<Dialog> dialog, int id) : dialog_(std::move(dialog)), id_(id) {}
  std::string_view ClassName() const override { return "CONTROL"; }
  Dialog& dialog() const { return *dialog_; }
  // nullptr when the dialog has no control of that ID.
  Control* control() const { return dialog_->Find(id_); }

 private:
  std::shared_ptr<Dialog> dialog_;
  int id_;
};

// The dialog a value holds, nullptr when it holds none.
Dialog* DialogOf(const rt::Value& value);
// The control handle a value holds, nullptr when it holds none.
const ControlHandle* ControlOf(const rt::Value& value);

// Applies a queued or scripted answer as the user would give it:
//   value/folder -> the first entry field, typed (edit_text.h);
//   drive X      -> the item X of the first single-selection list;
//   shortcut     -> the first check box (it must be enabled);
//   select N,... -> exactly these items of the multi-selection list;
//   ok / cancel / button N -> presses button 1 / 2 / N;
//   esc          -> pulses the Escape key in keys, then Escape;
//   close        -> the close box.
// InvalidArgument when the dialog has no such control or the answer is not
// one a dialog takes (yes, no, retry ...); the dialog is then unchanged.
Status ApplyAnswer(Dialog& dialog, const Answer& answer, const rt::DateSettings& dates,
                   KeyState& keys);

}  // namespace qv::gui
