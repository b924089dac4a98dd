#include "orbe/reports/report_terms.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orbe/reports/cini_report_util.h"
#include "orbe/widgets/value_format.h"

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

// The value formats and money units are one table each, shared by the list
// widget that renders them and the report that names them.
TEST(ReportTermsTest, FormatsAndUnitsAreOneTableEach) {
  const orbe::ValueFormat column{orbe::kFormatThousands, 2, 0, 0, true, 2};  // the widget's struct
  EXPECT_EQ(orbe::FormatListValue(orbe::ListValue::Number(1234567), column), "123.46");
  ASSERT_EQ(orbe::ValueFormatNames().size(), static_cast<std::size_t>(orbe::kValueFormatCount));
  for (int i = 0; i < orbe::kValueFormatCount; ++i) {
    EXPECT_EQ(std::string(orbe::ValueFormatNames()[static_cast<std::size_t>(i)]), orbe::kValueFormatNames[i]);
  }
  ASSERT_EQ(orbe::MoneyUnitNames().size(), static_cast<std::size_t>(orbe::kMoneyUnitCount));
  const std::vector<CString> units = CIniReportUtil::GetMoneyUnitList();
  for (int i = 0; i < orbe::kMoneyUnitCount; ++i) {
    EXPECT_EQ(std::string(orbe::MoneyUnitNames()[static_cast<std::size_t>(i)]), orbe::kMoneyUnits[i].name);
    EXPECT_EQ(units[static_cast<std::size_t>(i)], orbe::MoneyUnitName(i));
  }
  struct Named {
    int index;
    const char* name;
  };
  const Named named[] = {{orbe::kFormatSlashYearMonthDay, "yyyy/mm/dd"},
                         {orbe::kFormatSlashMonthDayYear, "mm/dd/yyyy"},
                         {orbe::kFormatDashYearMonthDay, "yyyy-mm-dd"},
                         {orbe::kFormatYearMonthDay, "YYYYMMDD"},
                         {orbe::kFormatSlashShortYearMonthDay, "YY/MM/DD"},
                         {orbe::kFormatSlashMonthDayShortYear, "MM/DD/YY"},
                         {orbe::kFormatDashShortYearMonthDay, "YY-MM-DD"},
                         {orbe::kFormatShortYearMonthDay, "YYMMDD"},
                         {orbe::kFormatReportPeriod, "年报形式"},
                         {orbe::kFormatShortReportPeriod, "短年报格式"},
                         {orbe::kFormatThousandsAutoWanYi, "千分位自动万亿法"}};
  for (const Named& n : named) EXPECT_EQ(orbe::ValueFormatName(n.index), n.name) << n.index;
}

}  // namespace
