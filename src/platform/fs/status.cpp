#include "platform/fs/status.h"

namespace qv {

const char* StatusCodeName(StatusCode code) {
  switch (code) {
    case StatusCode::kOk: return "OK";
    case StatusCode::kNotFound: return "Not found";
    case StatusCode::kCorruption: return "Corruption";
    case StatusCode::kIOError: return "I/O error";
    case StatusCode::kLockBusy: return "Lock busy";
    case StatusCode::kInvalidArgument: return "Invalid argument";
    case StatusCode::kNotSupported: return "Not supported";
    case StatusCode::kExists: return "Already exists";
    case StatusCode::kCancelled: return "Cancelled";
  }
  return "Unknown";
}

Status Status::Corruption(std::string_view file, uint64_t offset, std::string_view what) {
  std::string msg(file);
  msg += " at offset ";
  msg += std::to_string(offset);
  msg += ": ";
  msg += what;
  return Status(StatusCode::kCorruption, msg);  // set a breakpoint here
}

std::string Status::ToString() const {
  if (ok()) return "OK";
  std::string s = StatusCodeName(code_);
  if (!message_.empty()) {
    s += ": ";
    s += message_;
  }
  return s;
}

}  // namespace qv
