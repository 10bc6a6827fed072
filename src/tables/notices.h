// How the table layer talks to the user: numbered and plain messages and
// questions through the shell's MSG routine (called by name, since the shell
// sits above this layer), timed notes through the wait note of the ui layer,
// and the pacing of lock waits so that no wait spins on the file system.
#pragma once

#include <chrono>
#include <string_view>

#include "tables/context.h"

namespace qv::tables {

// MSG(number, text, "F"): an information box (number 0: the text itself).
void Inform(Context& ctx, std::string_view text, int number = 0);
// MSG(number, text, "D"): the progress note that stays on screen.
void ProgressNote(Context& ctx, std::string_view text, int number = 0);
// MSG(number, text, "T", "Y" or "N"): true when the answer is Yes.
bool Ask(Context& ctx, std::string_view text, bool default_yes, int number = 0);
// The self-closing wait note (MSGWAIT); title "" takes the note's default.
void TimedNote(Context& ctx, std::string_view text, double seconds, std::string_view title = {});

// Attempts of a lock wait that get a one-second note before the question.
inline constexpr int kNotedWaitAttempts = 20;

// The question after the noted attempts of a lock wait: seconds grows by
// attempts, "Locked for more than" + seconds + " seconds...continue
// waiting?" is asked (default Yes). Yes sets attempts back to 0 and returns
// true; No returns false (the wait ends).
bool KeepWaiting(Context& ctx, int& attempts, int& seconds);

// Shortest time between two tests of a busy resource: a note that returns at
// once (an unattended run) must not turn a wait into a busy loop.
inline constexpr std::chrono::milliseconds kMinWaitStep{100};

// One step of a lock wait: started before the step's note, Finish() sleeps
// what is left of kMinWaitStep.
class WaitStep {
 public:
  explicit WaitStep(Context& ctx) : ctx_(ctx), start_(std::chrono::steady_clock::now()) {}
  void Finish();

 private:
  Context& ctx_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace qv::tables
