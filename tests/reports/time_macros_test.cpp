#include <gtest/gtest.h>

#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_clock.h"

namespace {

using orbe::ReportDate;
using orbe::ScopedReportDate;

constexpr char kSql[] = "SELECT T001 FROM 100 WHERE T005=$REPORTTIME$";
constexpr char kDates[] = "X $LASTQ$ $PREVQ1$ $PREVQ2$ $PREVQ3$ $LASTY$ $PREVY1$";

TEST(TimeMacrosTest, QuarterMacrosFollowTheMonth) {
  {
    const ScopedReportDate date(ReportDate{2012, 5, 15});
    EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kDates, ""),
              "X 20120331 20120331 20111231 20110930 20111231 20111231");
  }
  {
    const ScopedReportDate date(ReportDate{2012, 1, 2});
    EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kDates, ""),
              "X 20111231 20111231 20110930 20110630 20111231 20111231");
  }
  {
    const ScopedReportDate date(ReportDate{2012, 9, 30});
    EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kDates, ""),
              "X 20120630 20120630 20120331 20111231 20111231 20111231");
  }
  {
    const ScopedReportDate date(ReportDate{2012, 12, 31});
    EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kDates, ""),
              "X 20120930 20120930 20120630 20120331 20111231 20111231");
  }
  const ScopedReportDate date(ReportDate{2012, 5, 15});
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql("$LASTQ$ and $LASTQ$", ""), "$LASTQ$ and $LASTQ$");
}

TEST(TimeMacrosTest, TermsOfOneYear) {
  const ScopedReportDate date(ReportDate{2012, 8, 20});
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "2011 中期"), "SELECT T001 FROM 100 WHERE T005=20110630");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "2011 一期"), "SELECT T001 FROM 100 WHERE T005=20110331");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "2010 三期"), "SELECT T001 FROM 100 WHERE T005=20100930");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "2010 年度"), "SELECT T001 FROM 100 WHERE T005=20101231");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "2011 全年"),
            "SELECT T001 FROM 100 WHERE T005>20110100 AND T005<20111232");
  // Nine bytes without a period word, or a term of another length, leave the macro.
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "2011 ABCD"), kSql);
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "2011"), kSql);
}

TEST(TimeMacrosTest, RecentTermsAreRanges) {
  {
    const ScopedReportDate date(ReportDate{2012, 8, 20});
    EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "最近两年"),
              "SELECT T001 FROM 100 WHERE T005>20100629 AND T005<20120631");
    EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "最近两期"),
              "SELECT T001 FROM 100 WHERE T005>20120330 AND T005<20120631");
  }
  const ScopedReportDate date(ReportDate{2012, 2, 1});
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "最近两年"),
            "SELECT T001 FROM 100 WHERE T005>20091230 AND T005<20111232");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql(kSql, "最近两期"),
            "SELECT T001 FROM 100 WHERE T005>20110929 AND T005<20111232");
}

TEST(TimeMacrosTest, ShortFieldNamesAndMisplacedMacros) {
  const ScopedReportDate date(ReportDate{2012, 11, 3});
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql("X=$REPORTTIME$", "最近两期"), "X>20120629 AND X<20120931");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql("$REPORTTIME$ A", "2011 中期"), "$REPORTTIME$ A");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql("A<$REPORTTIME$", "最近两年"), "A<$REPORTTIME$");
  EXPECT_EQ(CIniReportUtil::ReplaceTimeInSql("", "最近两年"), "");
}

}  // namespace
