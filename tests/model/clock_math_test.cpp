#include <gtest/gtest.h>

#include "model/clock_math.h"

namespace nirvex {
namespace {

TEST(ClockMath, SpansAcrossMidnight) {
  EXPECT_DOUBLE_EQ(seconds_between(100, 160.5), 60.5);
  EXPECT_DOUBLE_EQ(seconds_between(86390, 5), 15);  // 23:59:50 to 00:00:05
  EXPECT_DOUBLE_EQ(seconds_between(7, 7), 0);
}

TEST(ClockMath, FormatsHoursMinutesSeconds) {
  EXPECT_EQ(format_duration(3725), "01:02:05");
  EXPECT_EQ(format_duration(59), "00:00:59");
  EXPECT_EQ(format_duration(59.99), "00:00:59");
  EXPECT_EQ(format_duration(0), "00:00:00");
  EXPECT_EQ(format_duration(3600), "01:00:00");
  EXPECT_EQ(format_duration(99 * 3600 + 59 * 60 + 59), "99:59:59");
  // A hundred hours and more leave the hour field empty.
  EXPECT_EQ(format_duration(100 * 3600 + 1), ":00:01");
}

TEST(ClockMath, TwoDigits) {
  EXPECT_EQ(two_digits(0), "00");
  EXPECT_EQ(two_digits(7), "07");
  EXPECT_EQ(two_digits(42), "42");
  EXPECT_EQ(two_digits(100), "");
}

}  // namespace
}  // namespace nirvex
