// The headless front end: every modal dialog takes its answer from the answer
// queue (or its default, marked "(default)"), and everything shown goes to the
// transcript. A run that cannot go on (an answer that does not fit, 100
// default answers in a row to the same dialog) writes STOP and throws
// rt::QuitRequest with exit code 2 or 3.
//
// Transcript events (fields after the event name):
//   WINDOW title | TITLE title | STATUS text | MENU path message | WINDOW_CLOSED
//   MESSAGE kind title text            kind: information, alert, stop
//   BEEP
//   QUESTION title text default answer [(default)]      default/answer: yes, no
//   DIALOG kind title | FIELD id text | LIST id selections item... | CHECK id on/off
//   LABEL id text | ANSWER answer [(default)] | CLOSED kind how (button N, esc, close)
//   NOTE title text seconds             a dialog that closed by its own timer
//   SHOW kind title | TEXT kind id text | DRAW kind y x text | HIDE kind | CLOSE kind
//   CANCEL_PRESSED kind                 a scripted press of a Cancel button
//   METER title text | METER_TOTAL n | METER_POS n | METER_END done/cancelled
//   PRINT_BEGIN document ready/no printer | PAGE n | PRINT page row column text
//   PRINT_END document pages | PRINT_FAILED document why
//   ERROR description operation choice [(default)]      choice: quit, retry, default
//   STOP code reason
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/gui.h"
#include "platform/gui/script/headless_printer.h"
#include "platform/gui/script/transcript.h"

namespace qv::gui {

struct ScriptOptions {
  std::ostream* transcript = nullptr;  // not owned; nullptr: no transcript
  bool printer_present = true;         // false: QUORVANTA_PRINTER=none
  PrintSink* print_sink = nullptr;     // not owned; PDF files, or nullptr
};

// Default answers in a row, to the same kind and title, that stop a run.
inline constexpr int kRepeatedDefaultLimit = 100;
inline constexpr int kExitBadScript = 2;
inline constexpr int kExitRepeatedDefaults = 3;

class ScriptGui : public Gui {
 public:
  ScriptGui(GuiOptions options, ScriptOptions script);
  // Non-modal dialogs may outlive the front end (held in session variables);
  // they stop reporting to it.
  ~ScriptGui() override;

  // --- Gui ---
  void OpenMainWindow(MainWindow window) override;
  void RunMainWindow() override;
  bool MainWindowOpen() const override { return window_open_; }
  void CloseMainWindow() override;
  void SetWindowTitle(std::string_view title) override;
  void SetMessageBar(std::string_view text) override;
  void EnableMenu(bool enabled) override { menu_enabled_ = enabled; }
  void FocusMainWindow() override {}
  void RepaintMainWindow() override;
  void RunModal(Dialog& dialog) override;
  void ShowNonModal(std::shared_ptr<Dialog> dialog) override;
  void HideDialog(Dialog& dialog) override;
  void CloseDialog(Dialog& dialog) override;
  void RefreshDialog(Dialog& dialog) override;
  void ShowMessage(MessageKind kind, std::string_view text) override;
  bool AskYesNo(std::string_view text, bool default_yes) override;
  void Beep() override;
  bool RunMeter(std::string_view text, std::string_view title, const MeterAction& action) override;
  std::shared_ptr<PrintJob> BeginPrint(std::string_view document) override;
  void ProcessPendingMessages() override;
  int64_t ActiveWindowHandle() override;
  rt::ErrorChoice Handle(const rt::ErrorInfo& info) override;

  // --- what script lines do ---
  // "choose A>B": runs the menu item reached through these captions.
  // InvalidArgument when they name no item or the menu is disabled.
  Status Choose(std::string_view path);
  // "press cancel after N": the Nth processing of pending messages while a
  // cancel dialog or a meter is shown presses its Cancel. N >= 1.
  void PressCancelAfter(int n);
  // "notes instant" / "notes real".
  void SetNotesInstant(bool instant) { notes_instant_ = instant; }
  // The script reader: RunMainWindow calls it until it returns false (input
  // ended) or the window closes; then the window closes.
  void SetDriver(std::function<bool()> next_line) { driver_ = std::move(next_line); }
  // Called when a dialog wants an answer and none is queued; it may queue one.
  void SetAnswerSource(std::function<void()> source) { answer_source_ = std::move(source); }
  bool menu_enabled() const { return menu_enabled_; }
  Transcript& transcript() { return transcript_; }

 private:
  struct Taken {
    Answer answer;
    bool is_default = false;
  };
  // The next queued answer, else fallback (counted as a default).
  Taken Take(std::string_view kind, std::string_view title, const Answer& fallback);
  [[noreturn]] void Stop(int code, std::string_view reason);
  void WriteControls(const Dialog& dialog);
  void RunTimers(Dialog& dialog);
  void WriteMenu(const std::vector<MenuItem>& items, const std::string& prefix);

  ScriptOptions script_;
  Transcript transcript_;
  MainWindow window_;
  bool window_open_ = false;
  bool menu_enabled_ = true;
  bool notes_instant_ = false;
  std::function<bool()> driver_;
  std::function<void()> answer_source_;
  std::vector<std::shared_ptr<Dialog>> non_modal_;
  std::map<const Dialog*, bool> visible_;
  Meter* meter_ = nullptr;
  int modal_depth_ = 0;
  int cancel_after_ = 0;
  int cancel_seen_ = 0;
  std::string default_key_;  // kind + "\t" + title of the last default
  int default_run_ = 0;
};

}  // namespace qv::gui
