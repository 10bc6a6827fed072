#include "platform/runtime/session.h"

#include <cassert>

#include "platform/runtime/text.h"

namespace qv::rt {

Session::Session(Clock clock) : clock_(clock) {}

void Session::SetErrorHandler(ErrorHandler* handler) {
  handler_ = handler != nullptr ? handler : &default_handler_;
}

ErrorChoice Session::RaiseError(const ErrorInfo& info) {
  ErrorChoice choice = handler_->Handle(info);
  if (choice == ErrorChoice::kRetry && !info.can_retry) choice = ErrorChoice::kDefault;
  if (choice == ErrorChoice::kDefault && !info.can_default) choice = ErrorChoice::kQuit;
  return choice;
}

std::vector<CallFrame> Session::Frames() const { return {frames_.rbegin(), frames_.rend()}; }

void Session::PushFrame(std::string_view procedure, int line) {
  frames_.push_back(CallFrame{Upper(procedure), line});
  vars_.PushScope();
}

void Session::PopFrame() {
  assert(!frames_.empty());
  vars_.PopScope();
  frames_.pop_back();
}

}  // namespace qv::rt
