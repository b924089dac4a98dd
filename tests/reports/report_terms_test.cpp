#include "orbe/reports/report_terms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orbe/reports/cini_report_util.h"

namespace {

using orbe::ReportDate;

std::vector<std::string> Head(const std::vector<std::string>& terms, std::size_t n) {
  return std::vector<std::string>(terms.begin(),
                                  terms.begin() + static_cast<long>(std::min(n, terms.size())));
}

TEST(ReportTermsTest, CurrentYearTermsByMonth) {
  const std::vector<std::string> july = orbe::ReportTermsOn(ReportDate{2012, 7, 1});
  EXPECT_EQ(Head(july, 5),
            (std::vector<std::string>{"最近两期", "最近两年", "2012 中期", "2012 一期", "2011 全年"}));
  const std::vector<std::string> february = orbe::ReportTermsOn(ReportDate{2012, 2, 29});
  EXPECT_EQ(Head(february, 3), (std::vector<std::string>{"最近两期", "最近两年", "2011 全年"}));
  EXPECT_EQ(Head(orbe::ReportTermsOn(ReportDate{2012, 3, 1}), 4)[2], "2012 一期");
  EXPECT_EQ(Head(orbe::ReportTermsOn(ReportDate{2012, 5, 31}), 4)[3], "2011 全年");
  EXPECT_EQ(Head(orbe::ReportTermsOn(ReportDate{2012, 6, 1}), 4)[2], "2012 中期");
  EXPECT_EQ(Head(orbe::ReportTermsOn(ReportDate{2012, 10, 1}), 5),
            (std::vector<std::string>{"最近两期", "最近两年", "2012 三期", "2012 中期", "2012 一期"}));
}

TEST(ReportTermsTest, TwentyPastYearsOfFiveTerms) {
  const std::vector<std::string> terms = orbe::ReportTermsOn(ReportDate{2012, 1, 1});
  ASSERT_EQ(terms.size(), 2u + 20u * 5u);
  EXPECT_EQ((std::vector<std::string>(terms.begin() + 2, terms.begin() + 7)),
            (std::vector<std::string>{"2011 全年", "2011 年度", "2011 三期", "2011 中期", "2011 一期"}));
  EXPECT_EQ(terms.back(), "1992 一期");
  for (std::size_t i = 2; i < terms.size(); ++i) EXPECT_EQ(terms[i].size(), 9u) << i;
}

TEST(ReportTermsTest, ListsOfTheReportWindow) {
  const orbe::ScopedReportDate date(ReportDate{2012, 8, 20});
  const std::vector<CString> terms = CIniReportUtil::GetReportTermList();
  ASSERT_GE(terms.size(), 2u);
  EXPECT_EQ(terms[1], "最近两年");
  EXPECT_EQ(terms[2], "2012 中期");
  EXPECT_EQ(CIniReportUtil::GetMoneyUnitList(),
            (std::vector<CString>{"元", "千元", "万元", "十万元", "百万元", "千万元", "亿元"}));
}

TEST(ReportTermsTest, ValueFormats) {
  EXPECT_EQ(orbe::ValueFormatNames().size(), 21u);
  EXPECT_EQ(orbe::ValueFormatName(0), "默认");
  EXPECT_EQ(orbe::ValueFormatName(8), "XXX,XXX.XX亿");
  EXPECT_EQ(orbe::ValueFormatName(11), "yyyy/mm/dd");
  EXPECT_EQ(orbe::ValueFormatName(20), "短年报格式");
  EXPECT_EQ(orbe::ValueFormatName(21), "click: mailto");
  EXPECT_EQ(orbe::ValueFormatName(24), "click: notify host");
  EXPECT_EQ(orbe::ValueFormatName(25), "");
  EXPECT_EQ(orbe::ValueFormatName(-1), "");
}

}  // namespace
