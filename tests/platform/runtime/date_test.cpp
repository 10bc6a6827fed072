#include "platform/runtime/date.h"

#include <gtest/gtest.h>

namespace qv::rt {
namespace {

TEST(DateTest, JulianDayNumbersMatchTheReferenceValues) {
  EXPECT_EQ(Date::FromYmd(1900, 1, 1).julian(), 2415021);
  EXPECT_EQ(Date::FromYmd(1970, 1, 1).julian(), 2440588);
  EXPECT_EQ(Date::FromYmd(2000, 1, 1).julian(), 2451545);
  EXPECT_EQ(Date::FromYmd(100, 1, 1).julian(), 1757585);
  EXPECT_EQ(Date::FromYmd(1, 1, 1).julian(), 1721426);
  EXPECT_EQ(Date::FromYmd(9999, 12, 31).julian(), 5373484);
  EXPECT_EQ(Date::FromYmd(2024, 2, 29).julian(), 2460370);
  // Every day of four centuries decodes to the date it came from.
  for (int64_t j = 2415021; j < 2415021 + 146097; ++j) {
    Date d = Date::FromJulian(j);
    int y, m, day;
    d.Ymd(&y, &m, &day);
    ASSERT_EQ(Date::FromYmd(y, m, day).julian(), j);
  }
}

TEST(DateTest, InvalidDatesAreEmpty) {
  EXPECT_TRUE(Date::FromYmd(2023, 2, 29).empty());
  EXPECT_TRUE(Date::FromYmd(0, 1, 1).empty());
  EXPECT_TRUE(Date::FromYmd(10000, 1, 1).empty());
  EXPECT_TRUE(Date::FromJulian(5373485).empty());
  EXPECT_TRUE(Date::FromDtos("        ").empty());
  EXPECT_TRUE(Date::FromDtos("2024022").empty());
  EXPECT_TRUE(Date::FromDtos("2024-2-1").empty());
  EXPECT_EQ(Date().Dtos(), "        ");
  EXPECT_EQ(Dtoc(Date()), "  /  /  ");
}

TEST(DateTest, TextFormsAndNames) {
  DateSettings window{1939};  // a run in 2026
  EXPECT_EQ(Dtoc(Date::FromDtos("20001231")), "12/31/00");
  EXPECT_EQ(Dtoc(Date::FromDtos("19391231")), "12/31/39");
  EXPECT_EQ(Ctod("12/31/99", window).Year(), 1999);
  EXPECT_EQ(Ctod("06/01/00", window).Year(), 2000);
  EXPECT_EQ(Ctod("02/29/24", window).Dtos(), "20240229");
  EXPECT_EQ(Ctod("02/29/23", window).Dtos(), "        ");
  EXPECT_EQ(Ctod("1/2/03", window).Dtos(), "20030102");
  EXPECT_EQ(Ctod("12/31/1899", window).Dtos(), "18991231");
  EXPECT_TRUE(Ctod("", window).empty());
  EXPECT_TRUE(Ctod("  /  /  ", window).empty());
  EXPECT_TRUE(Ctod("13/01/99", window).empty());
  EXPECT_TRUE(Ctod("99999999999/1/1", window).empty());
  EXPECT_EQ((Date::FromDtos("19991231").julian() + 1), Date::FromDtos("20000101").julian());
  Date d = Date::FromDtos("19850115");
  EXPECT_EQ(MonthName(d), "January");
  EXPECT_EQ(DayName(d), "Tuesday");
  EXPECT_EQ(d.DayOfWeek(), 3);
  EXPECT_EQ(DayName(Date()), "");
}

TEST(DateTest, TwoDigitYearWindowOfARunIn2004) {
  DateSettings window{2004 - 87};
  EXPECT_EQ(Ctod("01/01/17", window).Year(), 1917);
  EXPECT_EQ(Ctod("01/01/16", window).Year(), 2016);
  EXPECT_EQ(Ctod("01/01/00", window).Year(), 2000);
  EXPECT_EQ(Ctod("01/01/99", window).Year(), 1999);
}

}  // namespace
}  // namespace qv::rt
