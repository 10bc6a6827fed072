// Run-time errors. A platform failure (a copy whose source is missing, an open
// that fails, an expression that does not evaluate) is described in an
// ErrorInfo and handed to the ErrorHandler the front end installed, which
// answers Quit, Retry or Default at the point of failure.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/fs/status.h"

namespace qv::rt {

class Session;

struct ErrorInfo {
  std::string description;  // "Open error", "Argument error" ...
  // What failed: the file name, or the expression text with the position of
  // the fault.
  std::string operation;
  std::string subsystem = "BASE";  // "BASE", "DBFCDX", "TERM" ...
  int gen_code = 0;                // generic code of the failure kind
  int sub_code = 0;                // subsystem's own code
  int os_code = 0;                 // errno when the host failed, else 0
  bool can_retry = false;
  bool can_default = false;
};

enum class ErrorChoice { kQuit, kRetry, kDefault };

// Provided by the front end (the GUI's error dialog, the script front end's
// scripted answers). Called at the point of failure; must not throw.
class ErrorHandler {
 public:
  virtual ~ErrorHandler() = default;
  virtual ErrorChoice Handle(const ErrorInfo& info) = 0;
};

// Stands in until a front end installs its own: writes the error to stderr
// and answers Default (Quit when the error cannot default).
class StderrErrorHandler : public ErrorHandler {
 public:
  ErrorChoice Handle(const ErrorInfo& info) override;
};

// "Open error (DBFCDX/21, os 2): c:\data\x.dbf"
std::string FormatError(const ErrorInfo& info);

// Thrown when the run is to end (the handler answered Quit, or a command ends
// the program): main() catches it and exits with exit_code. Deliberately not
// a std::exception, so that no catch-all for library errors swallows it.
struct QuitRequest {
  int exit_code = 1;
};

// The one exception of the system: thrown by the evaluator (or a routine)
// when evaluated code fails and there is nothing to continue with, and caught
// by the command dispatcher, which ends the command and returns to the event
// loop. Engine and file-system APIs never throw it; they return Status.
// Not a std::exception, for the same reason as QuitRequest.
class RuntimeError {
 public:
  explicit RuntimeError(ErrorInfo info) : info_(std::move(info)) {}
  const ErrorInfo& info() const { return info_; }
  std::string Message() const { return FormatError(info_); }

 private:
  ErrorInfo info_;
};

// Runs op until it succeeds or the handler stops retrying. On failure the
// error is described by describe(status) (can_retry and can_default are set
// here to true) and raised through session.RaiseError():
//   Retry   -> op runs again;
//   Default -> returns the failed Status: the caller applies its documented
//              default (a copy skips the file, an open leaves the area empty);
//   Quit    -> throws QuitRequest{session.settings().exit_code}.
// Returns OK when op succeeded.
Status RunWithRetry(Session& session, const std::function<Status()>& op,
                    const std::function<ErrorInfo(const Status&)>& describe);

// Raises info through the handler; Quit throws QuitRequest, Retry and
// Default return the choice (Retry only when info.can_retry).
ErrorChoice RaiseOrQuit(Session& session, const ErrorInfo& info);

}  // namespace qv::rt
