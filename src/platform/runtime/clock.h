// The session's clock: today's date and the time of day. One Clock object per
// session (no global time source), so tests and scripted runs can fix "now":
// QUORVANTA_TODAY=YYYY-MM-DD[THH:MM:SS] freezes it for the whole run, so that
// dates and times in transcripts and logs repeat exactly. Code that waits
// must therefore not measure elapsed time with this clock.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "platform/fs/status.h"
#include "platform/runtime/date.h"

namespace qv::rt {

class Clock {
 public:
  // The host's local date and time.
  static Clock Host();
  // Starts at date + seconds_of_day and advances with elapsed real time.
  static Clock StartingAt(Date date, int seconds_of_day);
  // Always reads date + seconds_of_day: for tests.
  static Clock Frozen(Date date, int seconds_of_day);
  // From the value of QUORVANTA_TODAY (nullptr: unset, the host clock): a
  // Frozen clock; "YYYY-MM-DD" reads midnight. InvalidArgument when malformed.
  static Result<Clock> FromSetting(const char* value);
  // Reads QUORVANTA_TODAY from the environment.
  static Result<Clock> FromEnvironment();

  Date Today() const;
  // Whole seconds since midnight, 0..86399.
  int SecondsOfDay() const;
  // Seconds since midnight with hundredths (SECONDS()).
  double Seconds() const;
  // "hh:mm:ss" (TIME()).
  std::string TimeText() const;

 private:
  enum class Kind { kHost, kStarting, kFrozen };
  // Days since the Julian epoch * 86400 + seconds, in hundredths.
  int64_t NowHundredths() const;

  Kind kind_ = Kind::kHost;
  int64_t start_hundredths_ = 0;
  std::chrono::steady_clock::time_point started_{};
};

}  // namespace qv::rt
