#include "platform/gui/answers.h"

#include <charconv>

#include "platform/runtime/text.h"

namespace qv::gui {

namespace {

using Word = Answer::Word;

struct WordName {
  Word word;
  const char* name;
};

constexpr WordName kWords[] = {
    {Word::kYes, "yes"},
    {Word::kNo, "no"},
    {Word::kOk, "ok"},
    {Word::kCancel, "cancel"},
    {Word::kEsc, "esc"},
    {Word::kClose, "close"},
    {Word::kButton, "button"},
    {Word::kValue, "value"},
    {Word::kDrive, "drive"},
    {Word::kFolder, "folder"},
    {Word::kShortcut, "shortcut"},
    {Word::kSelect, "select"},
    {Word::kRetry, "retry"},
    {Word::kDefault, "default"},
    {Word::kQuit, "quit"},
};

const char* NameOf(Word word) {
  for (const auto& w : kWords) {
    if (w.word == word) return w.name;
  }
  return "?";
}

bool ParseInt(std::string_view text, int* out) {
  text = rt::AllTrim(text);
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, *out);
  return ec == std::errc() && ptr == end;
}

Status Bad(std::string_view line, std::string_view why) {
  return Status::InvalidArgument("answer \"" + std::string(line) + "\": " + std::string(why));
}

}  // namespace

bool Answer::IsFieldAnswer() const {
  return word == Word::kValue || word == Word::kDrive || word == Word::kFolder ||
         word == Word::kShortcut || word == Word::kSelect;
}

Result<Answer> ParseAnswer(std::string_view line) {
  const std::string_view trimmed = rt::LTrim(line);
  const size_t blank = trimmed.find(' ');
  const std::string_view head = trimmed.substr(0, blank);
  // TEXT keeps its blanks after the single separating blank.
  const std::string_view rest =
      blank == std::string_view::npos ? std::string_view() : trimmed.substr(blank + 1);
  Answer a;
  bool known = false;
  for (const auto& w : kWords) {
    if (rt::EqualsNoCase(head, w.name)) {
      a.word = w.word;
      known = true;
    }
  }
  if (!known) return Bad(line, "unknown answer");
  switch (a.word) {
    case Word::kButton:
      if (!ParseInt(rest, &a.button) || a.button < 1) return Bad(line, "needs a button number");
      return a;
    case Word::kValue:
    case Word::kFolder:
      a.text = std::string(rest);
      return a;
    case Word::kDrive:
      a.text = std::string(rt::AllTrim(rest));
      if (a.text.size() != 1) return Bad(line, "needs one drive letter");
      a.text = rt::Upper(a.text);
      return a;
    case Word::kShortcut: {
      const std::string_view v = rt::AllTrim(rest);
      if (!rt::EqualsNoCase(v, "on") && !rt::EqualsNoCase(v, "off")) {
        return Bad(line, "needs on or off");
      }
      a.on = rt::EqualsNoCase(v, "on");
      return a;
    }
    case Word::kSelect: {
      std::string_view list = rt::AllTrim(rest);
      if (list.empty()) return Bad(line, "needs N,N,...");
      while (!list.empty()) {
        const size_t comma = list.find(',');
        int n = 0;
        if (!ParseInt(list.substr(0, comma), &n) || n < 1) return Bad(line, "needs N,N,...");
        a.selections.push_back(n);
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
      }
      return a;
    }
    default:
      if (!rt::AllTrim(rest).empty()) return Bad(line, "takes no argument");
      return a;
  }
}

std::string AnswerText(const Answer& answer) {
  std::string out = NameOf(answer.word);
  switch (answer.word) {
    case Word::kButton:
      return out + " " + std::to_string(answer.button);
    case Word::kValue:
    case Word::kFolder:
    case Word::kDrive:
      return out + " " + answer.text;
    case Word::kShortcut:
      return out + (answer.on ? " on" : " off");
    case Word::kSelect:
      for (size_t i = 0; i < answer.selections.size(); ++i) {
        out += (i == 0 ? " " : ",") + std::to_string(answer.selections[i]);
      }
      return out;
    default:
      return out;
  }
}

Answer AnswerQueue::Pop() {
  Answer a = std::move(queue_.front());
  queue_.pop_front();
  return a;
}

// A release leaves a pulse alone: the key that closed a dialog is let go
// before the dialog's caller reads it.
void KeyState::Set(Key key, bool down) { held_[Index(key)] = down; }

void KeyState::Pulse(Key key) { pulsed_[Index(key)] = true; }

bool KeyState::Down(Key key) {
  const int i = Index(key);
  const bool down = held_[i] || pulsed_[i];
  pulsed_[i] = false;
  return down;
}

void KeyState::ClearPulses() { pulsed_[0] = pulsed_[1] = false; }

}  // namespace qv::gui
