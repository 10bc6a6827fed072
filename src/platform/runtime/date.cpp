#include "platform/runtime/date.h"

#include <cstdio>

namespace qv::rt {

namespace {

constexpr int64_t kMinJulian = 1721426;  // 0001-01-01
constexpr int64_t kMaxJulian = 5373484;  // 9999-12-31

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

int64_t Encode(int year, int month, int day) {
  int a = month < 3 ? 1 : 0;
  int64_t y = year + 4800 - a;
  int64_t m = month + 12 * a - 3;
  return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

int ParseDigits(std::string_view s, bool* ok) {
  int n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') {
      *ok = false;
      return 0;
    }
    n = n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

Date Date::FromJulian(int64_t jdn) {
  Date d;
  if (jdn >= kMinJulian && jdn <= kMaxJulian) d.jdn_ = jdn;
  return d;
}

Date Date::FromYmd(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month)) {
    return Date();
  }
  return FromJulian(Encode(year, month, day));
}

Date Date::FromDtos(std::string_view text) {
  if (text.size() != 8) return Date();
  bool ok = true;
  int y = ParseDigits(text.substr(0, 4), &ok);
  int m = ParseDigits(text.substr(4, 2), &ok);
  int d = ParseDigits(text.substr(6, 2), &ok);
  return ok ? FromYmd(y, m, d) : Date();
}

void Date::Ymd(int* year, int* month, int* day) const {
  if (empty()) {
    *year = *month = *day = 0;
    return;
  }
  int64_t j = jdn_ + 68569;
  int64_t w = (4 * j) / 146097;
  j = j - (146097 * w + 3) / 4;
  int64_t x = (4000 * (j + 1)) / 1461001;
  j = j - (1461 * x) / 4 + 31;
  int64_t v = (80 * j) / 2447;
  int64_t u = v / 11;
  *day = static_cast<int>(j - (2447 * v) / 80);
  *month = static_cast<int>(v + 2 - 12 * u);
  *year = static_cast<int>(100 * (w - 49) + x + u);
}

int Date::Year() const {
  int y, m, d;
  Ymd(&y, &m, &d);
  return y;
}
int Date::Month() const {
  int y, m, d;
  Ymd(&y, &m, &d);
  return m;
}
int Date::Day() const {
  int y, m, d;
  Ymd(&y, &m, &d);
  return d;
}

int Date::DayOfWeek() const {
  if (empty()) return 0;
  return static_cast<int>((jdn_ + 1) % 7) + 1;  // JDN 0 was a Monday
}

std::string Date::Dtos() const {
  if (empty()) return std::string(8, ' ');
  int y, m, d;
  Ymd(&y, &m, &d);
  // Digits by hand: keys and filters call this for every record.
  char buf[8];
  for (int i = 3; i >= 0; --i, y /= 10) buf[i] = static_cast<char>('0' + y % 10);
  buf[4] = static_cast<char>('0' + m / 10);
  buf[5] = static_cast<char>('0' + m % 10);
  buf[6] = static_cast<char>('0' + d / 10);
  buf[7] = static_cast<char>('0' + d % 10);
  return std::string(buf, sizeof buf);
}

std::string Dtoc(Date d) {
  if (d.empty()) return "  /  /  ";
  int y, m, day;
  d.Ymd(&y, &m, &day);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", m, day, y % 100);
  return buf;
}

Date Ctod(std::string_view text, const DateSettings& settings) {
  int parts[3] = {0, 0, 0};
  int digits[3] = {0, 0, 0};
  int part = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      // Past 4 digits the part is invalid anyway; stop before it overflows.
      if (part < 3 && ++digits[part] <= 4) parts[part] = parts[part] * 10 + (c - '0');
    } else if (c == ' ' && digits[part] == 0) {
      continue;
    } else if (++part > 2) {
      break;
    }
  }
  if (digits[0] == 0 && digits[1] == 0 && digits[2] == 0) return Date();
  if (digits[0] > 4 || digits[1] > 4 || digits[2] > 4) return Date();
  int year = parts[2];
  if (digits[2] <= 2) {
    // Window: the year in [epoch, epoch + 99] ending in these two digits.
    int base = settings.epoch - settings.epoch % 100 + year;
    year = base < settings.epoch ? base + 100 : base;
  }
  return Date::FromYmd(year, parts[0], parts[1]);
}

std::string_view DayName(Date d) {
  static constexpr std::string_view kNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};
  return d.empty() ? std::string_view() : kNames[d.DayOfWeek() - 1];
}

std::string_view MonthName(Date d) {
  static constexpr std::string_view kNames[12] = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
  return d.empty() ? std::string_view() : kNames[d.Month() - 1];
}

}  // namespace qv::rt
