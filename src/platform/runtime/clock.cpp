#include "platform/runtime/clock.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace qv::rt {

namespace {

constexpr int64_t kHundredthsPerDay = 86400 * 100;

int64_t Moment(Date date, int seconds_of_day) {
  return date.julian() * kHundredthsPerDay + int64_t{seconds_of_day} * 100;
}

// Reads exactly n digits at text[*pos]; -1 when they are not there.
int Digits(std::string_view text, size_t* pos, size_t n) {
  if (*pos + n > text.size()) return -1;
  int value = 0;
  for (size_t i = 0; i < n; ++i) {
    char c = text[*pos + i];
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  *pos += n;
  return value;
}

bool Expect(std::string_view text, size_t* pos, char c) {
  if (*pos >= text.size() || text[*pos] != c) return false;
  ++*pos;
  return true;
}

}  // namespace

Clock Clock::Host() { return Clock(); }

Clock Clock::StartingAt(Date date, int seconds_of_day) {
  Clock c;
  c.kind_ = Kind::kStarting;
  c.start_hundredths_ = Moment(date, seconds_of_day);
  c.started_ = std::chrono::steady_clock::now();
  return c;
}

Clock Clock::Frozen(Date date, int seconds_of_day) {
  Clock c;
  c.kind_ = Kind::kFrozen;
  c.start_hundredths_ = Moment(date, seconds_of_day);
  return c;
}

Result<Clock> Clock::FromSetting(const char* value) {
  if (value == nullptr) return Host();
  std::string_view text(value);
  size_t pos = 0;
  int year = Digits(text, &pos, 4);
  bool ok = year >= 0 && Expect(text, &pos, '-');
  int month = ok ? Digits(text, &pos, 2) : -1;
  ok = ok && month >= 0 && Expect(text, &pos, '-');
  int day = ok ? Digits(text, &pos, 2) : -1;
  ok = ok && day >= 0;
  int seconds = 0;
  if (ok && pos < text.size()) {
    ok = Expect(text, &pos, 'T');
    int h = ok ? Digits(text, &pos, 2) : -1;
    ok = ok && h >= 0 && h < 24 && Expect(text, &pos, ':');
    int m = ok ? Digits(text, &pos, 2) : -1;
    ok = ok && m >= 0 && m < 60 && Expect(text, &pos, ':');
    int s = ok ? Digits(text, &pos, 2) : -1;
    ok = ok && s >= 0 && s < 60 && pos == text.size();
    seconds = h * 3600 + m * 60 + s;
  }
  Date date = ok ? Date::FromYmd(year, month, day) : Date();
  if (date.empty()) {
    return Status::InvalidArgument("QUORVANTA_TODAY must be YYYY-MM-DD[THH:MM:SS], not \"" +
                                   std::string(text) + "\"");
  }
  return Frozen(date, seconds);
}

Result<Clock> Clock::FromEnvironment() { return FromSetting(std::getenv("QUORVANTA_TODAY")); }

int64_t Clock::NowHundredths() const {
  if (kind_ == Kind::kFrozen) return start_hundredths_;
  if (kind_ == Kind::kStarting) {
    auto elapsed = std::chrono::steady_clock::now() - started_;
    return start_hundredths_ +
           std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count() / 10;
  }
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&t, &local);
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
  Date today = Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  int seconds = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  return Moment(today, seconds) + (ms % 1000) / 10;
}

Date Clock::Today() const { return Date::FromJulian(NowHundredths() / kHundredthsPerDay); }

int Clock::SecondsOfDay() const {
  return static_cast<int>(NowHundredths() % kHundredthsPerDay / 100);
}

double Clock::Seconds() const {
  return static_cast<double>(NowHundredths() % kHundredthsPerDay) / 100.0;
}

std::string Clock::TimeText() const {
  int s = SecondsOfDay();
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
  return buf;
}

}  // namespace qv::rt
