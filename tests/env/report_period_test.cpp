#include "env/report_period.h"

#include <gtest/gtest.h>

#include "orbe/env.h"

namespace orbe {
namespace {

ReportTerm Term(int index) { return ReportTermOf(index); }

TEST(ReportPeriod, SetThenGetWalksBack) {
  SetCurReport(2012, 3);
  std::string year, period;
  GetCurReport(year, period, 0);
  EXPECT_EQ(year, "2012");
  EXPECT_EQ(period, "年度");
  GetCurReport(year, period, 1);
  EXPECT_EQ(year, "2012");
  EXPECT_EQ(period, "三季");
  GetCurReport(year, period, 4);
  EXPECT_EQ(year, "2011");
  EXPECT_EQ(period, "年度");
  // The remainder of a negative period follows its sign: -1 % 4 is -1.
  SetCurReport(2012, -1);
  GetCurReport(year, period, 0);
  EXPECT_EQ(year, "2011");
  EXPECT_EQ(period, "年度");
  SetCurReport(2012, 6);
  GetCurReport(year, period, 0);
  EXPECT_EQ(period, "三季");
}

TEST(ReportPeriod, UnsetPeriodComesFromTheDate) {
  // 5 January 2013: the last finished period one step back is the third quarter.
  EXPECT_EQ(Term(ReportIndexForDate({2013, 1, 5}) - 1).year, "2012");
  EXPECT_EQ(Term(ReportIndexForDate({2013, 1, 5}) - 1).period, "三季");
  EXPECT_EQ(Term(ReportIndexForDate({2013, 1, 15}) - 1).year, "2012");
  EXPECT_EQ(Term(ReportIndexForDate({2013, 1, 15}) - 1).period, "年度");
  // Each boundary: the 10th still belongs to the earlier period.
  const int base = (2013 - 1980) * 4;
  EXPECT_EQ(ReportIndexForDate({2013, 1, 10}), base - 1);
  EXPECT_EQ(ReportIndexForDate({2013, 1, 11}), base);
  EXPECT_EQ(ReportIndexForDate({2013, 4, 10}), base);
  EXPECT_EQ(ReportIndexForDate({2013, 4, 11}), base + 1);
  EXPECT_EQ(ReportIndexForDate({2013, 7, 10}), base + 1);
  EXPECT_EQ(ReportIndexForDate({2013, 7, 11}), base + 2);
  EXPECT_EQ(ReportIndexForDate({2013, 10, 10}), base + 2);
  EXPECT_EQ(ReportIndexForDate({2013, 10, 11}), base + 3);
  EXPECT_EQ(ReportIndexForDate({2013, 12, 31}), base + 3);
}

TEST(ReportPeriod, UnsetPeriodIsStoredOnFirstRead) {
  SetCurReport(1980, 0);  // index 0: no period set
  std::string year, period;
  GetCurReport(year, period, 0);
  const ReportTerm today = Term(ReportIndexForDate(Today()));
  EXPECT_EQ(year, today.year);
  EXPECT_EQ(period, today.period);
}

TEST(ReportPeriod, NegativeIndexesAndPeriodNames) {
  EXPECT_EQ(Term(-1).year, "1980");  // -1 / 4 truncates to 0
  EXPECT_EQ(Term(-1).period, "年度");
  EXPECT_EQ(Term(-5).year, "1979");
  EXPECT_EQ(PeriodNumberOf("一季"), 0);
  EXPECT_EQ(PeriodNumberOf("中期"), 1);
  EXPECT_EQ(PeriodNumberOf("三季"), 2);
  EXPECT_EQ(PeriodNumberOf("年度"), 3);
  EXPECT_EQ(PeriodNumberOf("其他"), 3);
  EXPECT_EQ(ReportIndexOf(2012, 3), 131);
}

}  // namespace
}  // namespace orbe
