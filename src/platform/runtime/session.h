// The explicit context every routine receives: session variables, the call
// frames, the procedure registry, the run-time error handler, the clock and
// the runtime settings. There is no global state; a test may run two
// sessions side by side.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/runtime/clock.h"
#include "platform/runtime/date.h"
#include "platform/runtime/error.h"
#include "platform/runtime/procedures.h"
#include "platform/runtime/value.h"
#include "platform/runtime/variables.h"

namespace qv::rt {

// Settings a start-up fixes and commands may change.
struct RuntimeSettings {
  bool exact = false;  // SET EXACT: off, "=" compares the right side's length
  DateSettings dates;  // the two-digit-year window (epoch)
  int decimals = 2;    // SET DECIMALS: of division and power results
  int exit_code = 1;   // process exit code (ERRORLEVEL)
};

// One active call: the procedure and the C++ line it was called from.
struct CallFrame {
  std::string procedure;  // upper case
  int line = 0;
};

class Session {
 public:
  // The default error handler (stderr, answers Default) until SetErrorHandler.
  explicit Session(Clock clock = Clock::Host());
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Variables& vars() { return vars_; }
  const Variables& vars() const { return vars_; }
  ProcedureRegistry& procedures() { return procedures_; }
  const Clock& clock() const { return clock_; }
  void set_clock(Clock clock) { clock_ = clock; }
  RuntimeSettings& settings() { return settings_; }
  const RuntimeSettings& settings() const { return settings_; }

  // Shortcuts to vars(); see Variables for the contracts.
  Value* Find(std::string_view name) { return vars_.Find(name); }
  Value& DeclarePublic(std::string_view name) { return vars_.DeclarePublic(name); }
  Value& DeclarePrivate(std::string_view name, Value value = Value()) {
    return vars_.DeclarePrivate(name, std::move(value));
  }
  Value& Assign(std::string_view name, Value value) { return vars_.Assign(name, std::move(value)); }
  bool Release(std::string_view name) { return vars_.Release(name); }

  // The handler is not owned and must outlive its use; nullptr restores the
  // default one.
  void SetErrorHandler(ErrorHandler* handler);
  // Asks the handler. A choice the error does not allow is narrowed: Retry
  // without can_retry becomes Default, Default without can_default Quit.
  // Does not throw; RaiseOrQuit() and RunWithRetry() turn Quit into QuitRequest.
  ErrorChoice RaiseError(const ErrorInfo& info);

  // Call frames, innermost first (for the lock report).
  std::vector<CallFrame> Frames() const;
  // Pushes a frame and a private scope; PopFrame() pops both. Use FrameGuard.
  void PushFrame(std::string_view procedure, int line);
  void PopFrame();

 private:
  Variables vars_;
  ProcedureRegistry procedures_;
  Clock clock_;
  RuntimeSettings settings_;
  StderrErrorHandler default_handler_;
  ErrorHandler* handler_ = &default_handler_;
  std::vector<CallFrame> frames_;  // innermost last
};

// A call frame and private scope for the lifetime of the guard: what Call()
// uses, and what a dispatcher running a block or routine directly uses.
class FrameGuard {
 public:
  FrameGuard(Session& session, std::string_view procedure, int line = __builtin_LINE())
      : session_(session) {
    session_.PushFrame(procedure, line);
  }
  ~FrameGuard() { session_.PopFrame(); }
  FrameGuard(const FrameGuard&) = delete;
  FrameGuard& operator=(const FrameGuard&) = delete;

 private:
  Session& session_;
};

}  // namespace qv::rt
