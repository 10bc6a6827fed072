// The headless front end: main window, message boxes, questions, the meter,
// printing, pending messages and the error dialog. Dialogs are in
// script_dialogs.cpp.
#include "platform/gui/script/script_gui.h"

#include "platform/runtime/text.h"

namespace qv::gui {

namespace {

class NullCanvas : public Canvas {
 public:
  void DrawBitmap(int, int, const Bitmap&) override {}
};

const char* KindWord(MessageKind kind) {
  switch (kind) {
    case MessageKind::kInformation:
      return "information";
    case MessageKind::kAlert:
      return "alert";
    case MessageKind::kStop:
      return "stop";
  }
  return "";
}

const char* ChoiceWord(rt::ErrorChoice choice) {
  switch (choice) {
    case rt::ErrorChoice::kQuit:
      return "quit";
    case rt::ErrorChoice::kRetry:
      return "retry";
    case rt::ErrorChoice::kDefault:
      return "default";
  }
  return "";
}

Answer Word(Answer::Word word) {
  Answer a;
  a.word = word;
  return a;
}

}  // namespace

ScriptGui::ScriptGui(GuiOptions options, ScriptOptions script)
    : Gui(std::move(options)), script_(script), transcript_(script.transcript) {}

ScriptGui::~ScriptGui() {
  for (const auto& d : non_modal_) d->on_draw = nullptr;
}

ScriptGui::Taken ScriptGui::Take(std::string_view kind, std::string_view title,
                                 const Answer& fallback) {
  if (answers().empty() && answer_source_) answer_source_();
  if (!answers().empty()) {
    default_run_ = 0;
    default_key_.clear();
    return Taken{answers().Pop(), false};
  }
  std::string key = std::string(kind) + "\t" + std::string(title);
  if (key == default_key_) {
    ++default_run_;
  } else {
    default_key_ = std::move(key);
    default_run_ = 1;
  }
  if (default_run_ >= kRepeatedDefaultLimit) {
    Stop(kExitRepeatedDefaults, std::to_string(kRepeatedDefaultLimit) +
                                    " default answers in a row to " + std::string(kind) + " \"" +
                                    std::string(title) + "\"");
  }
  return Taken{fallback, true};
}

void ScriptGui::Stop(int code, std::string_view reason) {
  transcript_.Write("STOP", {std::to_string(code), reason});
  throw rt::QuitRequest{code};
}

void ScriptGui::WriteMenu(const std::vector<MenuItem>& items, const std::string& prefix) {
  for (const MenuItem& item : items) {
    if (item.separator) {
      transcript_.Write("MENU", {prefix + "-", ""});
      continue;
    }
    const std::string path = prefix + PlainCaption(item.caption);
    transcript_.Write("MENU", {path, item.message});
    WriteMenu(item.items, path + ">");
  }
}

void ScriptGui::OpenMainWindow(MainWindow window) {
  window_ = std::move(window);
  window_open_ = true;
  transcript_.Write("WINDOW", {window_.title});
  WriteMenu(window_.menu, "");
  transcript_.Write("STATUS", {window_.message_bar_default});
}

void ScriptGui::RunMainWindow() {
  RepaintMainWindow();
  while (window_open_) {
    if (!driver_ || !driver_()) break;
  }
  CloseMainWindow();
}

void ScriptGui::CloseMainWindow() {
  if (!window_open_) return;
  window_open_ = false;
  transcript_.Write("WINDOW_CLOSED");
}

void ScriptGui::SetWindowTitle(std::string_view title) {
  window_.title = std::string(title);
  transcript_.Write("TITLE", {title});
}

void ScriptGui::SetMessageBar(std::string_view text) {
  transcript_.Write("STATUS",
                    {text.empty() ? std::string_view(window_.message_bar_default) : text});
}

void ScriptGui::RepaintMainWindow() {
  // The paint action still runs (it reads its bitmap as a window would);
  // there is nothing to draw on.
  NullCanvas canvas;
  if (window_open_ && window_.on_paint) window_.on_paint(canvas);
}

Status ScriptGui::Choose(std::string_view path) {
  const MenuItem* item = FindMenuItem(window_.menu, SplitMenuPath(path));
  if (item == nullptr) {
    // A drop-down's own caption names no item: a click there only opens it.
    return Status::InvalidArgument("no menu item " + std::string(path) +
                                   " that runs a command (give the captions down to the item)");
  }
  if (!window_open_ || !menu_enabled_) {
    return Status::InvalidArgument("the menu is not available for " + std::string(path));
  }
  if (item->action) {
    auto action = item->action;  // the action may rebuild the menu
    action();
  }
  return Status::OK();
}

void ScriptGui::ShowMessage(MessageKind kind, std::string_view text) {
  keys().ClearPulses();
  transcript_.Write("MESSAGE", {KindWord(kind), MessageTitle(kind), text});
}

bool ScriptGui::AskYesNo(std::string_view text, bool default_yes) {
  keys().ClearPulses();
  constexpr std::string_view kTitle = "Select an option";
  Taken t = Take("QUESTION", kTitle, Word(default_yes ? Answer::Word::kYes : Answer::Word::kNo));
  if (t.answer.word != Answer::Word::kYes && t.answer.word != Answer::Word::kNo) {
    Stop(kExitBadScript, "answer \"" + AnswerText(t.answer) + "\" does not fit a yes/no question");
  }
  const bool yes = t.answer.word == Answer::Word::kYes;
  const char* def = default_yes ? "yes" : "no";
  if (t.is_default) {
    transcript_.Write("QUESTION", {kTitle, text, def, yes ? "yes" : "no", "(default)"});
  } else {
    transcript_.Write("QUESTION", {kTitle, text, def, yes ? "yes" : "no"});
  }
  return yes;
}

void ScriptGui::Beep() { transcript_.Write("BEEP"); }

bool ScriptGui::RunMeter(std::string_view text, std::string_view title, const MeterAction& action) {
  Meter meter{std::string(text), std::string(title)};
  int64_t shown_total = -1;
  int64_t shown_pos = -1;
  meter.on_change = [&](const Meter& m) {
    if (m.total() != shown_total) {
      shown_total = m.total();
      transcript_.Write("METER_TOTAL", {std::to_string(shown_total)});
    }
    if (m.position() != shown_pos) {
      shown_pos = m.position();
      transcript_.Write("METER_POS", {std::to_string(shown_pos)});
    }
  };
  transcript_.Write("METER", {title, text});
  Meter* outer = meter_;
  meter_ = &meter;
  struct Restore {
    Meter*& slot;
    Meter* value;
    ~Restore() { slot = value; }
  } restore{meter_, outer};
  if (action) action(meter);
  transcript_.Write("METER_END", {meter.cancelled() ? "cancelled" : "done"});
  return meter.cancelled();
}

std::shared_ptr<PrintJob> ScriptGui::BeginPrint(std::string_view document) {
  return NewHeadlessPrintJob(std::string(document), script_.printer_present, transcript_,
                             script_.print_sink);
}

void ScriptGui::PressCancelAfter(int n) {
  cancel_after_ = n < 1 ? 1 : n;
  cancel_seen_ = 0;
}

void ScriptGui::ProcessPendingMessages() {
  keys().ClearPulses();
  if (cancel_after_ == 0) return;
  // The cancel dialog shown last, if any is on screen.
  Dialog* cancel_dialog = nullptr;
  int cancel_id = 0;
  for (const auto& d : non_modal_) {
    if (d->ended() || !visible_[d.get()]) continue;
    for (const Control& c : d->controls()) {
      if (c.kind == ControlKind::kButton && c.enabled &&
          rt::EqualsNoCase(PlainCaption(c.caption), "Cancel")) {
        cancel_dialog = d.get();
        cancel_id = c.id;
      }
    }
  }
  if (meter_ == nullptr && cancel_dialog == nullptr) return;
  if (++cancel_seen_ < cancel_after_) return;
  cancel_after_ = 0;
  if (meter_ != nullptr) {
    transcript_.Write("CANCEL_PRESSED", {"METER"});
    meter_->Cancel();
  } else {
    transcript_.Write("CANCEL_PRESSED", {cancel_dialog->kind});
    cancel_dialog->Press(cancel_id);
  }
}

int64_t ScriptGui::ActiveWindowHandle() {
  if (modal_depth_ > 0) return 100 + modal_depth_;
  return window_open_ ? 1 : 0;
}

rt::ErrorChoice ScriptGui::Handle(const rt::ErrorInfo& info) {
  keys().ClearPulses();
  Taken t = Take("ERROR", info.description, Word(Answer::Word::kDefault));
  rt::ErrorChoice choice;
  switch (t.answer.word) {
    case Answer::Word::kRetry:
      choice = rt::ErrorChoice::kRetry;
      break;
    case Answer::Word::kDefault:
      choice = rt::ErrorChoice::kDefault;
      break;
    case Answer::Word::kQuit:
      choice = rt::ErrorChoice::kQuit;
      break;
    default:
      Stop(kExitBadScript,
           "answer \"" + AnswerText(t.answer) + "\" does not fit the run-time error dialog");
  }
  if (t.is_default) {
    transcript_.Write("ERROR", {info.description, info.operation, ChoiceWord(choice), "(default)"});
  } else {
    transcript_.Write("ERROR", {info.description, info.operation, ChoiceWord(choice)});
  }
  return choice;
}

}  // namespace qv::gui
