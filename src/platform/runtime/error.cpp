#include "platform/runtime/error.h"

#include <cstdio>

#include "platform/runtime/session.h"

namespace qv::rt {

std::string FormatError(const ErrorInfo& info) {
  std::string text = info.description + " (" + info.subsystem + "/" + std::to_string(info.gen_code);
  if (info.sub_code != 0) text += "." + std::to_string(info.sub_code);
  if (info.os_code != 0) text += ", os " + std::to_string(info.os_code);
  text += ")";
  if (!info.operation.empty()) text += ": " + info.operation;
  return text;
}

ErrorChoice StderrErrorHandler::Handle(const ErrorInfo& info) {
  std::fprintf(stderr, "run-time error: %s\n", FormatError(info).c_str());
  return info.can_default ? ErrorChoice::kDefault : ErrorChoice::kQuit;
}

ErrorChoice RaiseOrQuit(Session& session, const ErrorInfo& info) {
  ErrorChoice choice = session.RaiseError(info);
  if (choice == ErrorChoice::kQuit) throw QuitRequest{session.settings().exit_code};
  return choice;
}

Status RunWithRetry(Session& session, const std::function<Status()>& op,
                    const std::function<ErrorInfo(const Status&)>& describe) {
  for (;;) {
    Status status = op();
    if (status.ok()) return status;
    ErrorInfo info = describe(status);
    info.can_retry = true;
    info.can_default = true;
    if (RaiseOrQuit(session, info) == ErrorChoice::kDefault) return status;
  }
}

}  // namespace qv::rt
