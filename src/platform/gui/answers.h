// The answer funnel: every modal dialog and question takes its answer from
// here when one is queued, whichever front end shows it. The script front end
// queues what a script says; tests queue answers directly. Key state lives
// here too, since an Escape answer leaves the Escape key down for the caller
// to see.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fs/status.h"
#include "platform/gui/types.h"

namespace qv::gui {

struct Answer {
  enum class Word {
    kYes,
    kNo,  // yes/no questions
    kOk,
    kCancel,
    kEsc,
    kClose,   // closing answers of dialogs
    kButton,  // press button `button`
    kValue,
    kDrive,
    kFolder,    // field answers: `text`
    kShortcut,  // field answer: `on`
    kSelect,    // field answer: `selections` (1-based)
    kRetry,
    kDefault,
    kQuit,  // the run-time error dialog
  };
  Word word = Word::kOk;
  int button = 0;
  std::string text;
  bool on = false;
  std::vector<int> selections;

  // Field answers fill a dialog and leave it open; the rest close it.
  bool IsFieldAnswer() const;
  friend bool operator==(const Answer&, const Answer&) = default;
};

// "yes", "button 102", "value 12/31/99", "select 1,3", "shortcut on" ...
// The word is matched without regard to case; TEXT is kept as written.
// InvalidArgument for an unknown word or a malformed argument.
Result<Answer> ParseAnswer(std::string_view line);

// The answer as a script writes it (inverse of ParseAnswer).
std::string AnswerText(const Answer& answer);

// Queued answers, oldest first.
class AnswerQueue {
 public:
  void Push(Answer answer) { queue_.push_back(std::move(answer)); }
  bool empty() const { return queue_.empty(); }
  size_t size() const { return queue_.size(); }
  const Answer* Peek() const { return queue_.empty() ? nullptr : &queue_.front(); }
  // REQUIRES: !empty().
  Answer Pop();
  void Clear() { queue_.clear(); }

 private:
  std::deque<Answer> queue_;
};

// The state of the keys the program reads. A key can be held (script "key
// esc down", a real key press) or pulsed: a pulse counts as down until the
// key is read once or the next dialog opens, which is how an Escape that
// closed a dialog is still down when the dialog returns.
class KeyState {
 public:
  void Set(Key key, bool down);
  void Pulse(Key key);
  // Reading consumes a pulse.
  bool Down(Key key);
  // Ends pending pulses (a new dialog opens).
  void ClearPulses();

 private:
  static int Index(Key key) { return key == Key::kEscape ? 0 : 1; }
  bool held_[2] = {false, false};
  bool pulsed_[2] = {false, false};
};

}  // namespace qv::gui
