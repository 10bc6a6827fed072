// Status and Result<T>: how expected failures travel through every layer.
// A Status is OK or carries a code and a message; Result<T> is a value or a
// non-OK Status. Corruption is reported only through Status::Corruption, so
// one breakpoint there catches every damaged file the program meets.
#pragma once

#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace qv {

enum class StatusCode {
  kOk = 0,
  kNotFound,
  kCorruption,
  kIOError,
  kLockBusy,
  kInvalidArgument,
  kNotSupported,
  kExists,
  kCancelled,
};

class Status {
 public:
  Status() = default;  // OK

  static Status OK() { return Status(); }
  static Status NotFound(std::string_view msg) { return Status(StatusCode::kNotFound, msg); }
  static Status IOError(std::string_view msg) { return Status(StatusCode::kIOError, msg); }
  static Status LockBusy(std::string_view msg) { return Status(StatusCode::kLockBusy, msg); }
  static Status InvalidArgument(std::string_view msg) {
    return Status(StatusCode::kInvalidArgument, msg);
  }
  static Status NotSupported(std::string_view msg) {
    return Status(StatusCode::kNotSupported, msg);
  }
  static Status Exists(std::string_view msg) { return Status(StatusCode::kExists, msg); }
  static Status Cancelled(std::string_view msg) { return Status(StatusCode::kCancelled, msg); }

  // The one door for damaged files: names the file, the byte offset where the
  // fault was seen and what was expected there. Defined out of line so that a
  // single breakpoint catches every corruption report.
  static Status Corruption(std::string_view file, uint64_t offset, std::string_view what);

  bool ok() const { return code_ == StatusCode::kOk; }
  StatusCode code() const { return code_; }
  const std::string& message() const { return message_; }

  bool IsNotFound() const { return code_ == StatusCode::kNotFound; }
  bool IsCorruption() const { return code_ == StatusCode::kCorruption; }
  bool IsIOError() const { return code_ == StatusCode::kIOError; }
  bool IsLockBusy() const { return code_ == StatusCode::kLockBusy; }
  bool IsInvalidArgument() const { return code_ == StatusCode::kInvalidArgument; }
  bool IsExists() const { return code_ == StatusCode::kExists; }

  // "Corruption: c:\x.dbf at offset 8: header length ..." ; "OK" when ok().
  std::string ToString() const;

 private:
  Status(StatusCode code, std::string_view msg) : code_(code), message_(msg) {}

  StatusCode code_ = StatusCode::kOk;
  std::string message_;
};

const char* StatusCodeName(StatusCode code);

// A value or a failure. REQUIRES for value(): ok().
template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : data_(std::move(value)) {}  // NOLINT: implicit by design
  Result(Status status) : data_(std::move(status)) {  // NOLINT: implicit by design
    assert(!std::get<Status>(data_).ok());
  }

  bool ok() const { return data_.index() == 0; }
  const Status& status() const {
    static const Status kOk;
    return ok() ? kOk : std::get<Status>(data_);
  }
  T& value() & { return std::get<T>(data_); }
  const T& value() const& { return std::get<T>(data_); }
  T&& value() && { return std::get<T>(std::move(data_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

 private:
  std::variant<T, Status> data_;
};

}  // namespace qv

// Early return on failure, for functions that return Status or Result<T>.
#define QV_RETURN_IF_ERROR(expr)              \
  do {                                        \
    ::qv::Status qv_status_ = (expr);         \
    if (!qv_status_.ok()) return qv_status_;  \
  } while (0)

#define QV_CONCAT_INNER_(a, b) a##b
#define QV_CONCAT_(a, b) QV_CONCAT_INNER_(a, b)
#define QV_ASSIGN_OR_RETURN_IMPL_(tmp, lhs, expr) \
  auto tmp = (expr);                              \
  if (!tmp.ok()) return tmp.status();             \
  lhs = std::move(tmp).value()
// QV_ASSIGN_OR_RETURN(auto file, env.Open(...));
#define QV_ASSIGN_OR_RETURN(lhs, expr) \
  QV_ASSIGN_OR_RETURN_IMPL_(QV_CONCAT_(qv_result_, __LINE__), lhs, expr)
