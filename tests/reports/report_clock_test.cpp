// The report clock decides every date the reports and the current report
// period read, so a test or a host replaying a day pins them all at once.
#include "orbe/reports/report_clock.h"

#include <gtest/gtest.h>

#include <string>

#include "orbe/env.h"
#include "orbe/reports/cini_report_util.h"

namespace {

// With no period set, GetCurReport derives it from the clock's date and stores it.
TEST(ReportClockTest, AnUnsetReportPeriodComesFromThePinnedDate) {
  struct Case {
    orbe::ReportDate date;
    int back;
    const char* year;
    const char* period;
  };
  const Case cases[] = {
      {{2013, 1, 5}, 1, "2012", "三季"},  {{2013, 1, 15}, 1, "2012", "年度"},
      {{2013, 1, 10}, 0, "2012", "年度"}, {{2013, 4, 11}, 0, "2013", "中期"},
      {{2013, 7, 11}, 0, "2013", "三季"}, {{2013, 10, 11}, 0, "2013", "年度"},
      {{1999, 12, 31}, 4, "1998", "年度"},
  };
  for (const Case& c : cases) {
    const orbe::ScopedReportDate pinned(c.date);
    SetCurReport(1980, 0);  // index 0: no period set
    std::string year;
    std::string period;
    GetCurReport(year, period, c.back);
    EXPECT_EQ(year, c.year) << c.date.year << "-" << c.date.month << "-" << c.date.day;
    EXPECT_EQ(period, c.period) << c.date.year << "-" << c.date.month << "-" << c.date.day;
  }
  // Stored on the first read: a later date does not move it.
  {
    const orbe::ScopedReportDate pinned({2013, 1, 15});
    SetCurReport(1980, 0);
    std::string year;
    std::string period;
    GetCurReport(year, period, 0);
    const orbe::ScopedReportDate later({2014, 8, 1});
    GetCurReport(year, period, 0);
    EXPECT_EQ(year + period, "2013一季");
    // The report macros read the same clock.
    EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql("SELECT T001 FROM 100 WHERE T005=$LASTQ$", ""),
              "SELECT T001 FROM 100 WHERE T005=20140630");
  }
}

}  // namespace
