// Dates as Julian day numbers (0 = the empty date), the "mm/dd/yy" text form
// and the two-digit-year window. 0001-01-01 .. 9999-12-31 are valid; anything
// invalid becomes the empty date, as xBase does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv::rt {

class Date {
 public:
  Date() = default;                                   // empty
  static Date FromJulian(int64_t jdn);                // out of range: empty
  static Date FromYmd(int year, int month, int day);  // invalid: empty
  // "YYYYMMDD" (DTOS form); blanks or invalid: empty.
  static Date FromDtos(std::string_view text);

  bool empty() const { return jdn_ == 0; }
  int64_t julian() const { return jdn_; }
  void Ymd(int* year, int* month, int* day) const;  // 0,0,0 when empty
  int Year() const;
  int Month() const;
  int Day() const;
  int DayOfWeek() const;  // 1 = Sunday .. 7 = Saturday; 0 when empty

  std::string Dtos() const;  // "YYYYMMDD", 8 blanks when empty

  friend bool operator==(Date a, Date b) { return a.jdn_ == b.jdn_; }
  friend auto operator<=>(Date a, Date b) { return a.jdn_ <=> b.jdn_; }

 private:
  int64_t jdn_ = 0;
};

// The two-digit-year window: a two-digit year yy is read as the year in
// [epoch, epoch + 99] that ends in yy. Start-up sets epoch = this year - 87.
struct DateSettings {
  int epoch = 1900;
};

// "mm/dd/yy" (DTOC, American, two-digit year); "  /  /  " when empty.
std::string Dtoc(Date d);
// CTOD for "mm/dd/yy" or "mm/dd/yyyy"; blank or invalid text gives empty.
Date Ctod(std::string_view text, const DateSettings& settings);

// English names (CDOW, CMONTH); "" for the empty date.
std::string_view DayName(Date d);
std::string_view MonthName(Date d);

}  // namespace qv::rt
