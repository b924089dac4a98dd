#include "orbe/widgets/ctime.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class CTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
  }
};

TEST_F(CTimeTest, FieldsOfALocalTime) {
  const CTime time(2024, 2, 29, 13, 45, 30);
  ASSERT_TRUE(time.IsValid());
  EXPECT_EQ(time.GetTime(), 1709214330);
  EXPECT_EQ(time.GetYear(), 2024);
  EXPECT_EQ(time.GetMonth(), 2);
  EXPECT_EQ(time.GetDay(), 29);
  EXPECT_EQ(time.GetHour(), 13);
  EXPECT_EQ(time.GetMinute(), 45);
  EXPECT_EQ(time.GetSecond(), 30);
  EXPECT_EQ(time.GetDayOfWeek(), 5);  // Thursday
  EXPECT_EQ(CTime(2000, 1, 1).GetDayOfWeek(), 7);  // Saturday
  EXPECT_EQ(CTime(time.GetTime()), time);
}

TEST_F(CTimeTest, OutOfRangeFieldsGiveAnInvalidTime) {
  for (const CTime& time :
       {CTime(2023, 2, 29), CTime(2023, 13, 1), CTime(2023, 0, 1), CTime(2023, 1, 0), CTime(2023, 1, 32),
        CTime(1899, 12, 31), CTime(10000, 1, 1), CTime(2023, 1, 1, 24), CTime(2023, 1, 1, 0, 60),
        CTime(2023, 1, 1, 0, 0, 60), CTime(2023, 1, 1, -1)}) {
    EXPECT_FALSE(time.IsValid()) << time.GetTime();
    EXPECT_EQ(time.GetTime(), CTime::kInvalid);
    EXPECT_EQ(time.GetMonth(), 0);
    EXPECT_EQ(time.GetDayOfWeek(), 0);
  }
}

TEST_F(CTimeTest, OrderFollowsTheClock) {
  const CTime morning(2023, 6, 1, 9, 30);
  const CTime noon(2023, 6, 1, 12, 0);
  EXPECT_LT(morning, noon);
  EXPECT_GE(noon, morning);
  EXPECT_NE(morning, noon);
  EXPECT_EQ(morning, CTime(2023, 6, 1, 9, 30, 0));
  EXPECT_TRUE(CTime().IsValid());  // the epoch itself
  EXPECT_EQ(CTime().GetYear(), 1970);
  EXPECT_GT(CTime::GetCurrentTime(), CTime(2020, 1, 1));
}

}  // namespace
