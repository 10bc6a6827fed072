#include "platform/runtime/clock.h"

#include <gtest/gtest.h>

namespace qv::rt {
namespace {

TEST(ClockTest, SettingFreezesTheRun) {
  Result<Clock> clock = Clock::FromSetting("2004-03-01T23:59:58");
  ASSERT_TRUE(clock.ok()) << clock.status().ToString();
  EXPECT_EQ(clock.value().Today().Dtos(), "20040301");
  EXPECT_EQ(clock.value().TimeText(), "23:59:58");

  Result<Clock> midnight = Clock::FromSetting("2024-02-29");
  ASSERT_TRUE(midnight.ok());
  EXPECT_EQ(midnight.value().Today().Dtos(), "20240229");
  EXPECT_EQ(midnight.value().SecondsOfDay(), 0);
}

TEST(ClockTest, MalformedSettingsAreRejected) {
  for (const char* bad :
       {"", "2024-02-30", "2024-2-01", "2024-02-01T24:00:00", "2024-02-01T1:00:00",
        "2024-02-01 10:00:00", "2024-02-01T10:00:00Z", "today"}) {
    Result<Clock> clock = Clock::FromSetting(bad);
    ASSERT_FALSE(clock.ok()) << bad;
    EXPECT_TRUE(clock.status().IsInvalidArgument()) << bad;
  }
}

TEST(ClockTest, FrozenClockReadsTheSameMoment) {
  Clock clock = Clock::Frozen(Date::FromYmd(2026, 12, 11), 3600 * 9 + 60 * 5 + 7);
  EXPECT_EQ(clock.TimeText(), "09:05:07");
  EXPECT_EQ(clock.SecondsOfDay(), 32707);
  EXPECT_DOUBLE_EQ(clock.Seconds(), 32707.0);
  EXPECT_EQ(clock.Today().Dtos(), "20261211");
}

// A started clock runs on from its start, across midnight into the next day.
TEST(ClockTest, AStartedClockRunsOnFromItsStart) {
  Date start = Date::FromYmd(2026, 12, 31);
  Clock clock = Clock::StartingAt(start, 86399);
  int64_t moment = clock.Today().julian() * 86400 + clock.SecondsOfDay();
  EXPECT_GE(moment, start.julian() * 86400 + 86399);
  EXPECT_LT(moment, start.julian() * 86400 + 86399 + 3600);
}

TEST(ClockTest, HostClockGivesAValidDateAndTime) {
  Clock clock = Clock::Host();
  EXPECT_FALSE(clock.Today().empty());
  EXPECT_GE(clock.SecondsOfDay(), 0);
  EXPECT_LT(clock.SecondsOfDay(), 86400);
  EXPECT_EQ(clock.TimeText().size(), 8u);
}

}  // namespace
}  // namespace qv::rt
