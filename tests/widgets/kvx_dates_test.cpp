#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "orbe/widgets/kvx_functions.h"

namespace {

// Fixed zones written as POSIX rules, so no zone database is needed.
void UseTimeZone(const char* rule) {
  setenv("TZ", rule, 1);
  tzset();
}

class KvxDatesTest : public ::testing::Test {
 protected:
  void SetUp() override { UseTimeZone("CST-8"); }
  void TearDown() override { UseTimeZone("UTC0"); }
};

TEST_F(KvxDatesTest, DaysBecomeLocalMidnight) {
  const CTime leap_day = DwTime2CTime(20000229);
  ASSERT_TRUE(IsValidTime(leap_day));
  EXPECT_EQ(leap_day.GetTime(), 951753600);  // 2000-02-28T16:00:00Z
  EXPECT_EQ(leap_day.GetYear(), 2000);
  EXPECT_EQ(leap_day.GetMonth(), 2);
  EXPECT_EQ(leap_day.GetDay(), 29);
  EXPECT_EQ(leap_day.GetHour(), 0);

  const CTime new_years_eve = DwTime2CTime(19991231);
  ASSERT_TRUE(IsValidTime(new_years_eve));
  EXPECT_EQ(new_years_eve.GetTime(), 946569600);  // 1999-12-30T16:00:00Z
  EXPECT_LT(new_years_eve, leap_day);

  EXPECT_TRUE(IsValidTime(DwTime2CTime(20240229)));
  EXPECT_TRUE(IsValidTime(DwTime2CTime(19000101)));
  EXPECT_EQ(DwTime2CTime(19000101).GetYear(), 1900);
  EXPECT_TRUE(IsValidTime(DwTime2CTime(99991231)));
}

TEST_F(KvxDatesTest, DaysThatDoNotExistAreInvalid) {
  for (const unsigned date : {19000229u, 20230229u, 20230230u, 20230431u, 20230001u, 20231301u, 20230100u,
                              20230132u, 0u, 101u, 18991231u, 4294967295u}) {
    const CTime time = DwTime2CTime(date);
    EXPECT_FALSE(IsValidTime(time)) << date;
    EXPECT_EQ(GetQuarter(time), 0) << date;
    EXPECT_EQ(time.GetYear(), 0) << date;
  }
}

TEST_F(KvxDatesTest, MidnightSkippedBySummerTimeStillGivesThatDay) {
  // Summer time starting at 00:00 on the first Sunday of November: 2018-11-04
  // has no midnight, its first hour is 01:00.
  UseTimeZone("BRT3BRST,M11.1.0/0,M2.3.0/0");
  const CTime day = DwTime2CTime(20181104);
  ASSERT_TRUE(IsValidTime(day));
  EXPECT_EQ(day.GetDay(), 4);
  EXPECT_EQ(day.GetMonth(), 11);
  EXPECT_EQ(day.GetHour(), 1);
  EXPECT_GT(day, DwTime2CTime(20181103));
}

TEST_F(KvxDatesTest, QuarterOfEachMonth) {
  const int expected[12] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(GetQuarter(DwTime2CTime(20230000u + month * 100u + 15u)), expected[month - 1]) << month;
  }
  EXPECT_EQ(GetQuarter(DwTime2CTime(20231231)), 4);
  EXPECT_EQ(GetQuarter(DwTime2CTime(20230101)), 1);
}

TEST(KvxLastDayTest, MonthLengthsAndGregorianLeapYears) {
  const int days_2023[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int month = 1; month <= 12; ++month) EXPECT_EQ(GetLastDay(2023, month), days_2023[month - 1]) << month;
  EXPECT_EQ(GetLastDay(2024, 2), 29);
  EXPECT_EQ(GetLastDay(2000, 2), 29);
  EXPECT_EQ(GetLastDay(1900, 2), 28);
  EXPECT_EQ(GetLastDay(2100, 2), 28);
  EXPECT_EQ(GetLastDay(2024, 3), 31);
  EXPECT_EQ(GetLastDay(2023, 0), 0);
  EXPECT_EQ(GetLastDay(2023, 13), 0);
  EXPECT_EQ(GetLastDay(2023, -1), 0);
}

}  // namespace
