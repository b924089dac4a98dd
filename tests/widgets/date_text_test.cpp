#include <gtest/gtest.h>

#include "orbe/widgets/date_controls.h"

namespace {

TEST(DateText, ReadsTheThreeDateFormsAndRefusesImpossibleDates) {
  EXPECT_EQ(orbe::ParseDateText("2024-02-29"), 20240229);
  EXPECT_EQ(orbe::ParseDateText("2024/02/29"), 20240229);
  EXPECT_EQ(orbe::ParseDateText(" 20240229 "), 20240229);
  for (const char* bad : {"2023-02-29", "2024-13-01", "2024-00-10", "2024-01-32", "2024-1-5", "2024-01/05",
                          "1899-12-31", "abcd-ef-gh", "", "2024-02-2x"}) {
    EXPECT_FALSE(orbe::ParseDateText(bad).has_value()) << bad;
  }
  EXPECT_EQ(orbe::DateText(20240105), "2024-01-05");
}

TEST(DateText, ReadsTimesWithAndWithoutSeconds) {
  EXPECT_EQ(orbe::ParseTimeText("09:30:15"), 9 * 3600 + 30 * 60 + 15);
  EXPECT_EQ(orbe::ParseTimeText("09:30"), 9 * 3600 + 30 * 60);
  EXPECT_EQ(orbe::ParseTimeText("235959"), 86399);
  for (const char* bad : {"24:00:00", "12:60", "12:00:60", "9:30", "", "12-30-00"}) {
    EXPECT_FALSE(orbe::ParseTimeText(bad).has_value()) << bad;
  }
  EXPECT_EQ(orbe::TimeText(86399), "23:59:59");
}

}  // namespace
