// The headless front end's script: lines read one at a time between
// commands (choose, answer, set, eval, press cancel after N, key, notes,
// close), each fed to the script front end's answer queue, key state and
// cancel presses, or evaluated against the session. A line that cannot be
// run stops the run with exit code 2 (STOP in the transcript).
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "platform/fs/status.h"
#include "platform/gui/answers.h"
#include "platform/gui/script/script_gui.h"
#include "tables/context.h"

namespace qv::app {

struct ScriptLine {
  enum class Kind { kChoose, kAnswer, kSet, kEval, kPressCancel, kKey, kNotes, kClose };
  Kind kind = Kind::kClose;
  std::string name;    // set: the variable
  std::string text;    // choose: the captions; set, eval: the expression
  gui::Answer answer;  // answer
  int count = 0;       // press cancel after N
  gui::Key key = gui::Key::kEscape;
  bool on = false;  // key: down; notes: instant
};

// One line; nullopt for a blank line or a comment. InvalidArgument for a
// line that cannot be understood (an unknown word, a missing or malformed
// argument). Keywords are matched without regard to case.
Result<std::optional<ScriptLine>> ParseScriptLine(std::string_view line);

class ScriptRunner {
 public:
  // REQUIRES: gui is the front end of ctx; all three outlive the runner.
  ScriptRunner(gui::ScriptGui& gui, tables::Context& ctx, std::istream& in);

  // For a dialog of the start-up (a run-time error), which comes before the
  // first menu choice: runs the lines up to and including the next answer
  // while they only fill queues (answers, key states, notes, cancel
  // presses). Any other line, or one that cannot be understood, is put back
  // for RunNext.
  void QueueNextAnswer();
  // Reads lines until one has run: false when the input has ended. A line
  // that cannot be run writes STOP and throws rt::QuitRequest{2}.
  bool RunNext();
  // Reads the rest of the input: each line that would have run is written
  // as NOT_RUN (the program ended before it).
  void SkipRest();

 private:
  [[noreturn]] void Stop(std::string_view reason);
  // The next raw line (the one put back first); false at the end.
  bool ReadLine(std::string& text);
  void Run(const ScriptLine& line);
  // Compiles and evaluates text. A run-time error goes to the error dialog:
  // Retry evaluates again, Default gives NIL. Does not compile: Stop.
  rt::Value Evaluate(const std::string& text);

  gui::ScriptGui& gui_;
  tables::Context& ctx_;
  std::istream& in_;
  int line_number_ = 0;
  std::optional<std::string> put_back_;  // read ahead, not run yet
};

}  // namespace qv::app
