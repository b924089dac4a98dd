#include "orbe/reports/report_description.h"

#include <gtest/gtest.h>

#include <memory>
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
  const Config profile(CIniReportUtil::GetScrollWndCfgFromINI(Sample("company_profile.ini").c_str()));
  ASSERT_NE(profile, nullptr);
  EXPECT_EQ(orbe::FieldText(profile->title), "公司概况");
  ASSERT_EQ(profile->display_order.size(), 3u);
  EXPECT_NE(dynamic_cast<LabelCfg*>(CIniReportUtil::GetCfgBase(profile.get(), 0)), nullptr);

  const Config summary(CIniReportUtil::GetScrollWndCfgFromINI(Sample("financial_summary.ini").c_str()));
  ASSERT_EQ(summary->display_order.size(), 2u);
  EXPECT_TRUE(summary->adopt_money_format && summary->adopt_report_term);
  EXPECT_NE(dynamic_cast<ChartCfg*>(CIniReportUtil::GetCfgBase(summary.get(), 1)), nullptr);

  const Config holders(CIniReportUtil::GetScrollWndCfgFromINI(Sample("shareholders.ini").c_str()));
  ASSERT_EQ(holders->display_order.size(), 1u);
  const auto* list = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(holders.get(), 0));
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->columns.size(), 4u);
  EXPECT_EQ(list->columns[0].pop_cell, CIniReportUtil::GetCfgBase(holders.get(), CString("POP_BALANCE")));
  EXPECT_NE(list->columns[0].pop_cell, nullptr);
}

TEST(ReportDescriptionTest, StatementsAreExpandedForTheSecurityAndTerm) {
  const orbe::ScopedReportDate date(orbe::ReportDate{2012, 8, 20});
  const std::string text =
      orbe::DescribeIniReport({Sample("shareholders.ini"), "600000", "2011 中期", "C0001"});
  EXPECT_NE(text.find("title: \"股本与股东权益\""), std::string::npos) << text;
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
  EXPECT_NE(out.find("cells shown: 3"), std::string::npos);
}

}  // namespace
