#include "orbe/reports/report_description.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_clock.h"

namespace {

std::string Sample(const char* name) { return std::string(ORBE_SOURCE_DIR) + "/data/reports/" + name; }

struct Destroyer {
  void operator()(ScrollWndCfg* cfg) const { CIniReportUtil::DestroyScrollWndCfg(cfg); }
};
using Config = std::unique_ptr<ScrollWndCfg, Destroyer>;

TEST(SampleReportsTest, EachSampleHasItsCells) {
  struct SampleRow {
    const char* file;
    const char* title;
    std::size_t cells;
  };
  const SampleRow samples[] = {{"company_profile.ini", "公司概况", 4},     {"financial_summary.ini", "财务摘要", 4},
                            {"balance_sheet.ini", "资产负债表", 2},    {"shareholders.ini", "股本结构", 2},
                            {"quarterly_earnings.ini", "季度业绩", 4}};
  // Together the samples show every kind of cell, a pop-up, a splittable
  // list, the four chart periods and the money units.
  std::set<int> kinds;
  std::set<int> periods;
  int popups = 0;
  int splittable = 0;
  int money = 0;
  for (const SampleRow& sample : samples) {
    SCOPED_TRACE(sample.file);
    const Config cfg(CIniReportUtil::GetScrollWndCfgFromINI(Sample(sample.file).c_str()));
    ASSERT_NE(cfg, nullptr);
    EXPECT_EQ(orbe::FieldText(cfg->title), sample.title);
    EXPECT_EQ(cfg->display_order.size(), sample.cells);
    money += cfg->adopt_money_format ? 1 : 0;
    for (const auto& [section, cell] : cfg->cell_map) {
      kinds.insert(cell->type);
      if (const auto* chart = dynamic_cast<const ChartCfg*>(cell)) periods.insert(chart->report_type);
      const auto* list = dynamic_cast<const ListCfg*>(cell);
      if (list == nullptr) continue;
      splittable += list->splittable ? 1 : 0;
      for (const ListColCfg& col : list->columns) {
        if (col.pop_cell == nullptr) continue;
        ++popups;
        EXPECT_FALSE(CIniReportUtil::GetCacheKey(cfg.get(), col.pop_cell).empty());
      }
    }
  }
  EXPECT_EQ(kinds, (std::set<int>{kWndList, kWndChart, kWndWebBrowser, kWndLabel, kWndListHistogram}));
  EXPECT_EQ(periods, (std::set<int>{kChartYear, kChartQuarter, kChartMonth, kChartDate}));
  EXPECT_GE(popups, 3);
  EXPECT_GE(splittable, 1);
  EXPECT_GE(money, 3);
}

TEST(ReportDescriptionTest, StatementsAreExpandedForTheSecurityAndTerm) {
  const orbe::ScopedReportDate date(orbe::ReportDate{2012, 8, 20});
  const std::string text =
      orbe::DescribeIniReport({Sample("shareholders.ini"), "600000", "2011 中期", "C0001"});
  EXPECT_NE(text.find("title: \"股本结构\""), std::string::npos) << text;
  EXPECT_NE(text.find("sent as: SELECT T005,T015,T016,T017 FROM 100000010 WHERE T002='C0001' AND "
                      "T005=20110630 ORDER BY T005 DESC"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("pop-up cells: 1"), std::string::npos) << text;
  EXPECT_NE(text.find("pop-up: POP_BALANCE"), std::string::npos) << text;
  EXPECT_NE(text.find("WHERE T002='C0001' AND T005=?"), std::string::npos) << text;
  EXPECT_TRUE(orbe::GbkToUtf8Strict(text).has_value());
}

TEST(ReportDescriptionTest, DefaultTermAndLabelLines) {
  const orbe::ScopedReportDate date(orbe::ReportDate{2012, 8, 20});
  const std::string summary = orbe::DescribeIniReport({Sample("financial_summary.ini"), "600000", "", "C1"});
  EXPECT_NE(summary.find("T005>20100629 AND T005<20120631"), std::string::npos) << summary;
  EXPECT_NE(summary.find("period YEAR, combination DEFAULT"), std::string::npos) << summary;
  const std::string profile = orbe::DescribeIniReport({Sample("company_profile.ini"), "600000", "", ""});
  EXPECT_NE(profile.find("company code: (unknown)"), std::string::npos) << profile;
  EXPECT_NE(profile.find("    | 数据来自示例市场"), std::string::npos) << profile;

  std::string out = "stale";
  EXPECT_FALSE(DescribeIniReportConfig(Sample("missing.ini"), "", "", "", out));
  EXPECT_TRUE(out.empty());
  EXPECT_TRUE(DescribeIniReportConfig(Sample("company_profile.ini"), "1", "", "", out));
  EXPECT_NE(out.find("cells shown: 4"), std::string::npos);
}

}  // namespace
