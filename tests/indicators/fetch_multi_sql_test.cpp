// Statements, TQL options and code chunks of a screening.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue_test_util.h"
#include "indicators/fetch_terms.h"
#include "orbe/env.h"
#include "orbe/indicators/fetch_multi_progress.h"
#include "orbe/indicators/index_mgr.h"

namespace {

SysIndex Statement(const std::string& field, const std::string& flag) {
  SysIndex index;
  index.tablename = "100000011";
  index.tablefield = field;
  index.key = "T001";
  index.params = {{"T005", flag}};
  return index;
}

TEST(FetchMultiSqlTest, ReportPeriodAndDateTerms) {
  const SysIndexParam report{"T005", "报告期"};
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "2023三季"), "T005>20230700 and T005<20230931");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "2023年度"), "T005>20231000 and T005<20231232");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "2023一季"), "T005>20230100 and T005<20230332");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "2023中期"), "T005>20230400 and T005<20230631");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "2023"), "");  // shorter than five bytes

  SetCurReport(2025, 2);  // 2025 三季
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "默认季度"), "T005>20250700 and T005<20250931");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "默认季度-4"), "T005>20240700 and T005<20240931");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, report, "默认季度-3"), "T005>20241000 and T005<20241232");

  const SysIndexParam date{"T003", "日期"};
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, date, "2024-03-05"), "T003=20240305");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, {"T002", "字符串"}, "abc"), "T002='abc'");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, {"T009", "整型"}, "12"), "T009=12");
  EXPECT_EQ(orbe::SqlParameterTerm(nullptr, {"T009", "别的"}, "12"), "");
}

TEST(FetchMultiSqlTest, OneStatementSelectsEveryFieldOfTheGroup) {
  const SysIndex revenue = Statement("T006", "报告期");
  const SysIndex cost = Statement("T007", "报告期");
  BYTE tag = 0;
  EXPECT_EQ(orbe::BuildGroupSql(nullptr, {&revenue, &cost}, "2023三季", tag),
            "select distinct T001,T006,T007 from 100000011 where T005>20230700 and T005<20230931");
  EXPECT_EQ(tag, 1);

  SysIndex withCondition = Statement("T006", "报告期");
  withCondition.condition = "T004>20200101";
  EXPECT_EQ(orbe::BuildGroupSql(nullptr, {&withCondition}, "2023年度", tag),
            "select distinct T001,T006 from 100000011 where T005>20231000 and T005<20231232 and T004>20200101");
  EXPECT_EQ(orbe::BuildGroupSql(nullptr, {&withCondition}, "", tag),
            "select distinct T001,T006 from 100000011 where T004>20200101");

  SysIndex plain;  // no formal parameter: an empty parameter text fits
  plain.tablename = "100000002";
  plain.tablefield = "T009";
  plain.key = "T003";
  EXPECT_EQ(orbe::BuildGroupSql(nullptr, {&plain}, "", tag), "select distinct T003,T009 from 100000002");
  EXPECT_EQ(tag, 3);
  // Two values for one formal parameter: no statement.
  EXPECT_EQ(orbe::BuildGroupSql(nullptr, {&revenue}, "2023三季,2023年度", tag), "");
}

TEST(FetchMultiSqlTest, TqlOptionHead) {
  SysIndexTQL range;
  range.name = "区间涨跌幅";
  range.datatype = DATA_TYPE_DOUBLE;
  range.flags = {"日期", "日期"};
  EXPECT_EQ(orbe::BuildTqlOptionHead(nullptr, range, "2026-01-05,2026-03-31"), "区间涨跌幅|20260105|20260331||");
  EXPECT_EQ(orbe::BuildTqlOptionHead(nullptr, range, "2026-01-05"), "");

  SysIndexTQL industry;
  industry.name = "所属行业";
  industry.datatype = DATA_TYPE_STRING;
  industry.strmaxlength = 40;
  EXPECT_EQ(orbe::BuildTqlOptionHead(nullptr, industry, ""), "所属行业|40|");

  SysIndexTQL holding;
  holding.name = "机构持股比例";
  holding.datatype = DATA_TYPE_DOUBLE;
  holding.flags = {"报告期"};
  EXPECT_EQ(orbe::BuildTqlOptionHead(nullptr, holding, "2024中期"), "机构持股比例|20240630||");
}

TEST(FetchMultiSqlTest, CodesSplitIntoChunksEndingAtCommas) {
  std::string codes;
  for (int i = 0; codes.size() < 9000; ++i) codes += (codes.empty() ? "" : ",") + std::to_string(80000001 + i);
  codes.resize(9000);
  while (codes.back() == ',') codes.pop_back();
  const std::vector<std::string> chunks = CFetchMultiProgress::SplitCodes(codes);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(chunks[0].back(), ',');
  EXPECT_EQ(chunks[1].back(), ',');
  EXPECT_NE(chunks[2].back(), ',');
  EXPECT_GE(chunks[0].size(), orbe::kCodeChunkLength);
  EXPECT_LT(chunks[0].size(), orbe::kCodeChunkLength + 10);
  EXPECT_EQ(chunks[0] + chunks[1] + chunks[2], codes);

  EXPECT_TRUE(CFetchMultiProgress::SplitCodes("").empty());
  const std::string noComma(5000, '1');
  EXPECT_EQ(CFetchMultiProgress::SplitCodes(noComma), std::vector<std::string>{noComma});
}

// The sample catalogue's rows group by table, key, condition and parameter.
TEST(FetchMultiSqlTest, RowsOfOneTableAndPeriodShareAStatement) {
  const orbe::testing::TempFolder temp;
  std::filesystem::copy(std::filesystem::path(ORBE_SOURCE_DIR) / "data", temp.path,
                        std::filesystem::copy_options::recursive);
  const std::string folder = temp.File("indicators/");
  IIndexMgr* mgr = CreateIndexMgrInstance();
  ASSERT_EQ(mgr->LoadIndexes(folder + "hq_index.ini", folder + "sys_index.xml", folder + "usr_index.ini"), 1);
  CFetchMultiProgress fetch(mgr, nullptr, WM_USER + 7);
  ASSERT_TRUE(fetch.Create(nullptr, RECT{0, 0, 10, 10}, 1));

  IndexScheme scheme;
  scheme.items.resize(3);
  scheme.items[0].index = "营业总收入";
  scheme.items[0].param = "2025三季";
  scheme.items[1].index = "营业成本";
  scheme.items[1].param = "2025三季";
  scheme.items[2].index = "所属行业";
  ASSERT_TRUE(fetch.FetchData(scheme, ""));
  ASSERT_EQ(fetch.GetSqlGroups().size(), 1u);
  EXPECT_EQ(fetch.GetSqlGroups()[0], (std::vector<int>{0, 1}));
  EXPECT_EQ(fetch.GetTqlList(), std::vector<int>{2});

  scheme.items[1].param = "2024三季";
  ASSERT_TRUE(fetch.FetchData(scheme, ""));
  EXPECT_EQ(fetch.GetSqlGroups().size(), 2u);

  // A user indicator brings its bases: 市销率 reads 总市值 (quote) and 营业总收入.
  scheme.items.resize(1);
  scheme.items[0].index = "市销率";
  scheme.items[0].param = ";2025三季";
  ASSERT_TRUE(fetch.FetchData(scheme, ""));
  ASSERT_EQ(fetch.GetEntityParams().size(), 1u);
  EXPECT_EQ(fetch.GetEntityParams()[0].bases.size(), 2u);
  EXPECT_EQ(fetch.GetSqlGroups(), (std::vector<std::vector<int>>{{1}}));
  fetch.DestroyWindow();
  DeleteIndexMgrInstance(mgr);
}

}  // namespace
