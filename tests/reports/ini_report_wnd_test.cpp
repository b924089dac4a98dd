// The report window end to end: created through CreateIniReportWnd against a
// real orbe-dataserver, driven through its controls as a user would, read
// back from its widgets.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>

#include "orbe/platform/dialog.h"
#include "orbe/platform/file_dialog.h"
#include "orbe/platform/shell.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window_class.h"
#include "orbe/widgets/histogram_list.h"
#include "orbe/reports/report_clock.h"
#include "reports/report_server.h"
#include "reports/report_window_util.h"

namespace {

namespace ids = orbe::report_wnd;
using orbe_test::OpenReport;
using orbe_test::TestRow;
using orbe_test::WriteReportIni;

constexpr COLORREF kRed = 255;
constexpr COLORREF kGrey = 0xC0C0C0;

std::vector<TestRow> Rows(const std::string& name, int count, int first_date) {
  std::vector<TestRow> rows;
  for (int i = 0; i < count; ++i) rows.push_back({name, first_date + i, 1.5 * (count - i), "", 0});
  return rows;
}

std::vector<TestRow> TestRows() {
  std::vector<TestRow> rows = {
      {"QUARTER", 20110215, 5, "", 0},   {"QUARTER", 20110820, 7, "", 0},  {"QUARTER", 20120105, 100, "", 0},
      {"MONTHAVG", 20110301, 1, "", 0},  {"MONTHAVG", 20110315, 2, "", 0}, {"MONTHAVG", 20110331, 6, "", 0},
      {"MONTHAVG", 20110501, 4, "", 0},  {"YEARDEF", 20110101, 1, "", 0},  {"YEARDEF", 20111231, 9, "", 0},
      {"YEARDEF", 20120601, 3, "", 0},   {"Y2008", 20070601, 1, "", 0},    {"Y2008", 20080601, 2, "", 0},
      {"Y2008", 20090601, 3, "", 0},     {"DATEOUT", 20110101, 5, "", 0},  {"SCALE", 20110601, 10, "", 0},
      {"XTEXT", 0, 0, "20110601abc", 7}, {"BADDATE", 20110230, 5, "", 0},  {"TERM", 20110630, 1, "", 0},
      {"TERM", 20111231, 2, "", 0},      {"TERM", 20110101, 123456789, "", 0},
      {"ABBR", 20110101, 1, "80000001", 0},   {"LINKS", 20110101, 1, "http://127.0.0.1/a", 0},                     {"LINKS", 20110102, 2, "b@example.com", 0},
  };
  for (int year = 1980; year < 2020; ++year) rows.push_back({"MANY", year * 10000 + 601, 1, "", 0});
  for (const auto& extra : {Rows("LIST25", 25, 20000101), Rows("SPLIT3", 3, 20110101), Rows("SPLIT51", 51, 20100101)})
    rows.insert(rows.end(), extra.begin(), extra.end());
  return rows;
}

class ReportWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new orbe_test::ReportServer();
    ok_ = server_->Start("report_window", TestRows());
  }
  static void TearDownTestSuite() {
    server_->Stop();
    delete server_;
  }
  void SetUp() override { ASSERT_TRUE(ok_) << server_->error(); }

  std::string Ini(const std::string& name, const std::string& text) {
    return WriteReportIni(server_->Folder() + name + ".ini", text);
  }

  static orbe_test::ReportServer* server_;
  static bool ok_;
};

orbe_test::ReportServer* ReportWindowTest::server_ = nullptr;
bool ReportWindowTest::ok_ = false;

// One list cell over the test table's rows of `name`, with extra keys (the
// first of two equal keys counts, so they go first).
std::string ListReport(const std::string& name, const std::string& keys) {
  return "[MAIN]\nTITLE=测试\nCONTROL_NUM=1\n[CONTROL1]\n" + keys + "TYPE=LIST\nTITLE=列表\n"
         "SQLSTATEMENT=SELECT T002,T003,T005 FROM 100000099 WHERE T001='" + name + "' ORDER BY T002\n"
         "LIST_HORIZONTAL=TRUE\nLIST_COL_NUM=3\nCOL_NAME1=T002\nCOL_TITLE1=日期\nCOL_DATA_TYPE1=D\n"
         "COL_DATA_FORMAT1=13\nCOL_NAME2=T003\nCOL_TITLE2=数值\nCOL_DATA_TYPE2=F\n"
         "COL_NAME3=T005\nCOL_TITLE3=整数\nCOL_DATA_TYPE3=F\n";
}

TEST_F(ReportWindowTest, CellsAreBuiltInOrderAndPageMessagesWaitForACompletePage) {
  const std::string other = Ini("other", "[MAIN]\nTITLE=另一个\nCONTROL_NUM=1\n[CONTROL1]\nTYPE=LABEL\nTITLE=标签\n");
  const std::string ini = Ini("order",
                              "[MAIN]\nTITLE=顺序\nCONTROL_NUM=2\n[CONTROL1]\nTYPE=LABEL\nTITLE=说明\n"
                              "LABEL_TEXT=第一行\\r\\n第二行\n[CONTROL2]\nTYPE=LIST\nTITLE=列表\n"
                              "SQLSTATEMENT=SELECT T002,T003 FROM 100000099 WHERE T001='LIST25'\n"
                              "LIST_HORIZONTAL=TRUE\nLIST_COL_NUM=2\nCOL_NAME1=T002\nCOL_TITLE1=日期\n"
                              "COL_DATA_TYPE1=D\nCOL_NAME2=T003\nCOL_TITLE2=数值\nCOL_DATA_TYPE2=F\n");
  OpenReport report(ini, "600000");
  ASSERT_TRUE(report.ok());
  // The label needs no data: it is built first, and only then is the list fetched.
  EXPECT_TRUE(report.Cells().empty());
  EXPECT_FALSE(report.Driver().PageComplete());
  ASSERT_TRUE(orbe::PumpUntil([&] { return !report.Cells().empty(); }, 30000));
  ASSERT_EQ(report.Cells().size(), 1u);
  EXPECT_NE(report.Container().GetLabel(report.Cells()[0]), nullptr);
  EXPECT_FALSE(report.Driver().PageComplete());
  EXPECT_FALSE(report.Get<CKvxButton>(ids::kConfigButton)->IsWindowEnabled());

  // While the list is fetched, a new security and a new file are ignored.
  report.Window().SetSecuCode("000001", true);
  report.Window().SetIniFile(other);
  ASSERT_TRUE(report.Wait());
  orbe::RunUntilIdle();
  EXPECT_EQ(report.Window().GetCurSecuCode(), "000001");
  EXPECT_EQ(report.Container().GetTitle(), "顺序");
  ASSERT_EQ(report.Cells().size(), 2u);
  EXPECT_EQ(report.Container().GetLabel(report.Cells()[0])->GetText(), "第一行\r\n第二行");
  EXPECT_EQ(report.List(1)->GetDataRowCount(), 25);
  EXPECT_TRUE(report.Get<CKvxButton>(ids::kConfigButton)->IsWindowEnabled());

  // Once the page is complete the file change is acted on.
  report.Window().SetIniFile(other);
  ASSERT_TRUE(report.Wait());
  EXPECT_EQ(report.Container().GetTitle(), "另一个");
  ASSERT_EQ(report.Cells().size(), 1u);
}

TEST_F(ReportWindowTest, ListCellsShowTheirRowsAndTellOfMissingOrCutData) {
  struct Case {
    const char* what;
    std::string rows;
    std::string keys;
    std::function<void(OpenReport&)> check;
  };
  const Case cases[] = {
      {"LIST_MAX_ROW 10 of 25 rows", "LIST25", "LIST_MAX_ROW=10\n",
       [](OpenReport& r) {
         EXPECT_EQ(r.List(0)->GetDataRowCount(), 10);
         EXPECT_TRUE(r.List(0)->IsTruncated());
         EXPECT_EQ(r.CellTitle(0), "列表 数据过大 已被截断 请正确配置");
         EXPECT_EQ(r.Container().GetCellTitleColor(r.Cells()[0]), kRed);
       }},
      {"no rows", "NOTHING", "",
       [](OpenReport& r) {
         EXPECT_EQ(r.CellTitle(0), "列表 无数据");
         EXPECT_EQ(r.Container().GetCellTitleColor(r.Cells()[0]), kGrey);
         EXPECT_TRUE(r.Container().IsCollapsed(r.Cells()[0]));
       }},
      {"initial sort, ascending", "LIST25", "LIST_INIT_SORT_TITLE=数值\nLIST_INIT_SORT_ASCENDING=TRUE\n",
       [](OpenReport& r) {
         EXPECT_EQ(r.List(0)->GetValue(0, 1).number, 1.5);
         EXPECT_EQ(r.List(0)->GetValue(24, 1).number, 37.5);
         EXPECT_EQ(r.CellTitle(0), "列表");
       }},
      {"an all-zero column is hidden", "LIST25", "",
       [](OpenReport& r) {
         EXPECT_TRUE(r.List(0)->IsColumnHidden(2));
         EXPECT_FALSE(r.List(0)->IsColumnHidden(1));
       }},
      {"unless its column says otherwise", "LIST25", "COL_HIDE_INVALIDCOL3=FALSE\n",
       [](OpenReport& r) {
         EXPECT_FALSE(r.List(0)->IsColumnHidden(2));
         EXPECT_EQ(r.List(0)->GetValueText(0, 2), "0.00");
       }},
      {"summary rows", "SPLIT3", "COL_SUMARY_SUM2=TRUE\nCOL_SUMARY_MAX2=TRUE\n",
       [](OpenReport& r) {
         ASSERT_EQ(r.List(0)->GetSummaryRowCount(), 2);
         EXPECT_EQ(r.List(0)->GetValueText(3, 1), "9.00");
         EXPECT_EQ(r.List(0)->GetValueText(4, 1), "4.50");
       }},
      {"LIST_HORIZONTAL FALSE turns the list", "SPLIT3", "LIST_HORIZONTAL=FALSE\n",
       [](OpenReport& r) { EXPECT_TRUE(r.List(0)->IsReversed()); }},
      {"a list with histogram: cross selection from the first column", "SPLIT3", "TYPE=LISTHISTOGRAM\n",
       [](OpenReport& r) {
         const KVXHistogramList* composite = r.Container().GetHistogramList(r.Cells()[0]);
         ASSERT_NE(composite, nullptr);
         EXPECT_TRUE(composite->GetList().IsCrossSelection());
         EXPECT_EQ(composite->GetList().GetSelColor(), 52479u);
         EXPECT_EQ(composite->GetList().GetCrossCell(), (CCellID{1, 0}));
         EXPECT_EQ(composite->GetHistogramColumn(), 0);
         EXPECT_EQ(composite->GetList().GetDataRowCount(), 3);
       }},
      {"colours by sign", "SPLIT3", "COL_DATA_COLOR_MOD2=1\n",
       [](OpenReport& r) {
         EXPECT_EQ(r.List(0)->GetCell(1, 1)->text_color, RGB(255, 0, 0));
         EXPECT_EQ(r.List(0)->GetCell(1, 2)->text_color, CLR_DEFAULT);
       }},
      {"colours against another column", "SPLIT3", "COL_DATA_COLOR_MOD3=2\nCOL_COMPARE_TITLE3=数值\n",
       [](OpenReport& r) { EXPECT_EQ(r.List(0)->GetCell(1, 2)->text_color, RGB(0, 128, 0)); }},
      {"a cell without CONTROL_HIGH fits its rows", "SPLIT3", "",
       [](OpenReport& r) { EXPECT_GT(r.Container().GetWnd(r.Cells()[0])->IsWindowVisible(), 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenReport report(Ini("list", ListReport(c.rows, c.keys)), "600000");
    ASSERT_TRUE(report.ok());
    ASSERT_TRUE(report.Wait());
    ASSERT_EQ(report.Cells().size(), 1u);
    c.check(report);
  }
}

// A report with a list of `rows` rows that turns and splits at 日期, a list
// that may not turn, and a list of 51 rows.
std::string SplitReport() {
  return "[MAIN]\nTITLE=拆分\nCONTROL_NUM=3\n"
         "[CONTROL1]\nTYPE=LIST\nTITLE=三行\nSQLSTATEMENT=SELECT T002,T003 FROM 100000099 WHERE T001='SPLIT3' "
         "ORDER BY T002\nLIST_HORIZONTAL=TRUE\nLIST_SPLIT_TITLE=日期\nLIST_COL_NUM=2\nCOL_NAME1=T002\n"
         "COL_TITLE1=日期\nCOL_DATA_TYPE1=D\nCOL_DATA_FORMAT1=13\nCOL_NAME2=T003\nCOL_TITLE2=数值\nCOL_DATA_TYPE2=F\n"
         "[CONTROL2]\nTYPE=LIST\nTITLE=固定\nSQLSTATEMENT=SELECT T002 FROM 100000099 WHERE T001='SPLIT3'\n"
         "LIST_HORIZONTAL=TRUE\nLIST_ENABLE_REVERSE=FALSE\nLIST_COL_NUM=1\nCOL_NAME1=T002\nCOL_TITLE1=日期\n"
         "COL_DATA_TYPE1=D\n"
         "[CONTROL3]\nTYPE=LIST\nTITLE=多行\nSQLSTATEMENT=SELECT T002,T003 FROM 100000099 WHERE T001='SPLIT51'\n"
         "LIST_HORIZONTAL=TRUE\nLIST_SPLIT_TITLE=日期\nLIST_COL_NUM=2\nCOL_NAME1=T002\nCOL_TITLE1=日期\n"
         "COL_DATA_TYPE1=D\nCOL_NAME2=T003\nCOL_TITLE2=数值\nCOL_DATA_TYPE2=F\n";
}

TEST_F(ReportWindowTest, RotateTurnsOnlyReversibleListsAndSplitMakesOneListPerRow) {
  OpenReport report(Ini("split", SplitReport()), "600000");
  ASSERT_TRUE(report.ok());
  ASSERT_TRUE(report.Wait());
  ASSERT_EQ(report.Cells().size(), 3u);
  const std::vector<int> original = report.Cells();
  auto* rotate = report.Get<CKvxButton>(ids::kRotateButton);
  auto* split = report.Get<CKvxButton>(ids::kSplitButton);
  ASSERT_TRUE(rotate->IsWindowEnabled() && split->IsWindowEnabled());

  ASSERT_TRUE(rotate->Click());
  EXPECT_TRUE(report.List(0)->IsReversed());
  EXPECT_FALSE(report.List(1)->IsReversed());
  EXPECT_TRUE(report.List(2)->IsReversed());
  ASSERT_TRUE(rotate->Click());
  EXPECT_FALSE(report.List(0)->IsReversed());

  ASSERT_TRUE(split->Click());
  CString caption;
  split->GetWindowText(caption);
  EXPECT_EQ(caption, "合并");
  const std::vector<int> cells = report.Cells();
  ASSERT_EQ(cells.size(), 6u);
  // The original is hidden and its three pieces follow it; 51 rows are not split.
  EXPECT_EQ(cells[0], original[0]);
  EXPECT_EQ(report.Container().CellTitleRect(original[0]).bottom, 0);
  const char* const titles[] = {"三行 2011-01-01", "三行 2011-01-02", "三行 2011-01-03"};
  for (int piece = 0; piece < 3; ++piece) {
    SCOPED_TRACE(piece);
    EXPECT_EQ(report.CellTitle(1 + piece), titles[piece]);
    VList* list = report.List(1 + piece);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetDataRowCount(), 1);
    EXPECT_EQ(list->GetHeadCount(), 1);
    EXPECT_EQ(list->FindColumn("日期"), -1);
    EXPECT_TRUE(list->IsReversed());
    EXPECT_EQ(list->GetValue(0, 0).number, 1.5 * (3 - piece));
  }
  EXPECT_EQ(cells[4], original[1]);
  EXPECT_EQ(cells[5], original[2]);
  EXPECT_GT(report.Container().CellTitleRect(original[2]).bottom, 0);

  ASSERT_TRUE(split->Click());
  split->GetWindowText(caption);
  EXPECT_EQ(caption, "拆分");
  EXPECT_EQ(report.Cells(), original);
  EXPECT_GT(report.Container().CellTitleRect(original[0]).bottom, 0);
}

struct ChartCase {
  const char* what;
  std::string keys;  // after the common ones
  std::vector<std::string> labels;
  std::vector<double> values;
  std::string cell_title;
  std::string chart_title;
  std::string scale_text;
  COLORREF title_color = 0;
};

std::string ChartReport(const std::string& rows, const std::string& keys) {
  return "[MAIN]\nTITLE=图表\nCONTROL_NUM=1\n[CONTROL1]\n" + keys + "TYPE=CHART\nTITLE=图\nCONTROL_HIGH=200\n"
         "SQLSTATEMENT=SELECT T002,T003,T004,T005 FROM 100000099 WHERE T001='" + rows + "' ORDER BY T002\n"
         "XNAME=T002\nYNAME=T003\nYTYPE=F\n";
}

TEST_F(ReportWindowTest, ChartsGroupCombineAndFillPeriods) {
  const std::vector<std::pair<std::string, ChartCase>> cases = {
      {"QUARTER", {"QUARTER: quarters 1 and 3, the others filled",
                   "BEGIN_DATE=20110101\nEND_DATE=20111231\nREPORT_TYPE=QUARTER\n",
                   {"第1季度: 5.000", "第2季度: 0.000", "第3季度: 7.000", "第4季度: 0.000"}, {5, 0, 7, 0},
                   "图", "图 2011年度", "比例尺 1:1"}},
      {"MONTHAVG", {"MONTH AVG of 1, 2 and 6 in March",
                    "BEGIN_DATE=20110101\nREPORT_TYPE=MONTH\nDATACOMBINATION=AVG\n",
                    {"01月: 0.000", "02月: 0.000", "03月: 3.000", "04月: 0.000", "05月: 4.000", "06月: 0.000",
                     "07月: 0.000", "08月: 0.000", "09月: 0.000", "10月: 0.000", "11月: 0.000", "12月: 0.000"},
                    {0, 0, 3, 0, 4, 0, 0, 0, 0, 0, 0, 0}, "图", "图 2011年度", "比例尺 1:1"}},
      {"YEARDEF", {"YEAR DEFAULT takes the later record", "BEGIN_DATE=20110101\nEND_DATE=20121231\n",
                   {"2011年: 9.000", "2012年: 3.000"}, {9, 3}, "图", "图 2011年-2012年", "比例尺 1:1"}},
      {"YEARDEF", {"YEAR ADD", "BEGIN_DATE=20110101\nEND_DATE=20121231\nDATACOMBINATION=ADD\n",
                   {"2011年: 10.000", "2012年: 3.000"}, {10, 3}, "图", "图 2011年-2012年", "比例尺 1:1"}},
      {"Y2008", {"an empty BEGIN_DATE takes 2008", "", {"2008年: 2.000"}, {2}, "图", "图 0年-0年", "比例尺 1:1"}},
      {"DATEOUT", {"DATE without a point in the month: day 1 and the last day",
                   "BEGIN_DATE=20110301\nEND_DATE=20110331\nREPORT_TYPE=DATE\n", {"01日: 0.000", "31日: 0.000"},
                   {0, 0}, "图", "图 2011年3月", "比例尺 1:1"}},
      {"SCALE", {"YSCALE 0.5 doubles the bars", "BEGIN_DATE=20110101\nYSCALE=0.5\n", {"2011年: 10.000"}, {20},
                 "图", "图 2011年-0年", "比例尺 2:1"}},
      {"SCALE", {"YSCALE 0 adds no bar and keeps the plain title", "BEGIN_DATE=20110101\nYSCALE=0\n", {}, {},
                 "图", "图 2011年-0年", ""}},
      {"SCALE", {"YSCALE 1000 in the scale text", "BEGIN_DATE=20110101\nYSCALE=1000\n", {"2011年: 10.000"},
                 {0.01}, "图", "图 2011年-0年", "比例尺 1:1000"}},
      {"XTEXT", {"a text date and an integer value", "BEGIN_DATE=20110101\nXNAME=T004\nXTYPE=C\nYNAME=T005\nYTYPE=D\n",
                 {"2011年: 7"}, {7}, "图", "图 2011年-0年", "比例尺 1:1"}},
      {"BADDATE", {"an impossible date gives no point", "BEGIN_DATE=20110101\n", {}, {}, "图 无数据",
                   "图 2011年-0年", "比例尺 1:1"}},
      {"QUARTER", {"a field missing from the reply", "BEGIN_DATE=20110101\nYNAME=T009\n", {}, {}, "图 无数据",
                   "图 2011年-0年", "比例尺 1:1"}},
      {"MANY", {"more than 31 periods", "BEGIN_DATE=19800101\nEND_DATE=20191231\n", {}, {},
                "图 数据超出显示范围 请正确配置", "图 1980年-2019年", "比例尺 1:1", kRed}},
  };
  for (const auto& [rows, c] : cases) {
    SCOPED_TRACE(c.what);
    OpenReport report(Ini("chart", ChartReport(rows, c.keys)), "600000");
    ASSERT_TRUE(report.ok());
    ASSERT_TRUE(report.Wait());
    ASSERT_EQ(report.Cells().size(), 1u);
    const CChartBarCtrl* chart = report.Chart(0);
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(report.CellTitle(0), c.cell_title);
    EXPECT_EQ(report.Container().GetCellTitleColor(report.Cells()[0]), c.title_color);
    EXPECT_EQ(chart->GetTitle(), c.chart_title);
    EXPECT_EQ(chart->GetLeftText(), c.scale_text);
    if (c.cell_title.find("超出") != std::string::npos) {
      EXPECT_EQ(chart->GetBars().size(), 31u);
      continue;
    }
    ASSERT_EQ(chart->GetBars().size(), c.labels.size());
    for (std::size_t i = 0; i < c.labels.size(); ++i) {
      EXPECT_EQ(chart->GetBars()[i].label, c.labels[i]);
      EXPECT_DOUBLE_EQ(chart->GetBars()[i].y, c.values[i]);
    }
    EXPECT_FALSE(chart->IsPanEnabled() || chart->IsZoomEnabled());
    EXPECT_TRUE(chart->IsLegendVisible());
    EXPECT_EQ(chart->GetTitleFont().face, "Times New Roman");
    EXPECT_EQ(chart->GetTitleColor(), 0u);
    EXPECT_FALSE(chart->IsBottomTickAutomatic());
    if (!c.values.empty()) {
      EXPECT_GE(chart->GetLeftMax(), *std::max_element(c.values.begin(), c.values.end()));
    }
  }
}

TEST_F(ReportWindowTest, StockAbbreviationColumnsShowTheSecurityOfACompanyCode) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open_v2(server_->Database().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(db, "SELECT T004 FROM t100000001 WHERE T002 = '80000001' ORDER BY rowid LIMIT 1", -1, &query,
                     nullptr);
  ASSERT_EQ(sqlite3_step(query), SQLITE_ROW);
  const std::string abbreviation = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
  sqlite3_finalize(query);
  sqlite3_close(db);

  OpenReport report(Ini("abbreviation",
                        "[MAIN]\nTITLE=简称\nCONTROL_NUM=1\n[CONTROL1]\nTYPE=LIST\nTITLE=简称\n"
                        "SQLSTATEMENT=SELECT T004 FROM 100000099 WHERE T001='ABBR'\nLIST_HORIZONTAL=TRUE\n"
                        "LIST_COL_NUM=2\nCOL_NAME1=T004\nCOL_TITLE1=股票简称\nCOL_NAME2=T004\nCOL_TITLE2=公司代码\n"),
                    "600000");
  ASSERT_TRUE(report.ok());
  ASSERT_TRUE(report.Wait());
  ASSERT_EQ(report.List(0)->GetDataRowCount(), 1);
  EXPECT_EQ(report.List(0)->GetValueText(0, 0), abbreviation);
  EXPECT_EQ(report.List(0)->GetValueText(0, 1), "80000001");
}

TEST_F(ReportWindowTest, MoneyUnitAndReportTermSelections) {
  const orbe::ScopedReportDate date({2012, 1, 15});
  const std::string ini =
      Ini("selections",
          "[MAIN]\nTITLE=选择\nADOPT_MONEY_FORMAT=TRUE\nADOPT_REPORT_TERM=TRUE\nCONTROL_NUM=1\n[CONTROL1]\n"
          "TYPE=LIST\nTITLE=金额\nSQLSTATEMENT=SELECT T002,T003 FROM 100000099 WHERE T001='TERM' AND "
          "T002=$REPORTTIME$ ORDER BY T002\nLIST_HORIZONTAL=TRUE\nLIST_COL_NUM=2\n"
          "COL_NAME1=T002\nCOL_TITLE1=日期\nCOL_DATA_TYPE1=D\nCOL_NAME2=T003\nCOL_TITLE2=金额\nCOL_DATA_TYPE2=F\n"
          "COL_HEAD_FORMAT2=1\nCOL_DATA_FORMAT2=1\n");
  OpenReport report(ini, "600000");
  ASSERT_TRUE(report.ok());
  ASSERT_TRUE(report.Wait());
  auto* units = report.Get<CKvxComboBox>(ids::kUnitSelection);
  auto* terms = report.Get<CKvxComboBox>(ids::kTermSelection);
  ASSERT_TRUE(units != nullptr && terms != nullptr);
  EXPECT_TRUE(units->IsWindowVisible() && terms->IsWindowVisible());
  EXPECT_EQ(units->GetSelectedText(), "元");
  EXPECT_EQ(terms->GetSelectedText(), "最近两年");
  // 最近两年 in January 2012 runs from 2009 to 2011: every row of the test.
  EXPECT_EQ(report.List(0)->GetDataRowCount(), 3);

  ASSERT_EQ(report.Driver().PickTerm("2011 中期"), "");
  ASSERT_EQ(report.List(0)->GetDataRowCount(), 1);
  EXPECT_EQ(report.List(0)->GetValue(0, 0).number, 20110630);

  ASSERT_EQ(report.Driver().PickTerm("2011 全年"), "");
  ASSERT_EQ(report.List(0)->GetDataRowCount(), 3);
  EXPECT_EQ(report.List(0)->GetItemText(0, 1), "金额");
  ASSERT_EQ(report.Driver().PickUnit(2), "");
  EXPECT_EQ(report.List(0)->GetItemText(0, 1), "金额(万元)");
  EXPECT_EQ(report.List(0)->GetValueText(0, 1), "12,345.68");
  EXPECT_NE(report.Driver().PickTerm("1990 中期"), "");
}

TEST_F(ReportWindowTest, ButtonsAndSelectionsFollowTheConfiguration) {
  OpenReport panes(Ini("panes", "[MAIN]\nTITLE=面板\nCONTROL_NUM=2\n[CONTROL1]\nTYPE=LABEL\nTITLE=说明\n"
                                "LABEL_TEXT=文字\n[CONTROL2]\nTYPE=IE\nTITLE=网页\nURL=http://127.0.0.1/f10/******.html\n"),
                   "600001");
  ASSERT_TRUE(panes.ok());
  ASSERT_TRUE(panes.Wait());
  for (const int id : {ids::kRotateButton, ids::kExportButton, ids::kSplitButton})
    EXPECT_FALSE(panes.Get<CWnd>(id)->IsWindowEnabled()) << id;
  EXPECT_FALSE(panes.Get<CWnd>(ids::kUnitSelection)->IsWindowVisible());
  EXPECT_FALSE(panes.Get<CWnd>(ids::kTermSelection)->IsWindowVisible());
  // Every report window is of the report class, registered once.
  orbe::WindowClassLook look;
  ASSERT_TRUE(orbe::GetWindowClassLook(panes.Report().GetSafeHwnd(), &look));
  EXPECT_EQ(look.style, ids::kWindowClassStyle);
  EXPECT_EQ(panes.Report().GetClassName(), ids::kWindowClass);
  ASSERT_EQ(panes.Cells().size(), 2u);
  EXPECT_EQ(panes.Container().GetWeb(panes.Cells()[1])->GetLocationURL(), "http://127.0.0.1/f10/600001.html");

  // Unusable configurations: a missing file, a lower-case type.
  for (const std::string& ini :
       {server_->Folder() + "missing.ini", Ini("lower", "[MAIN]\nTITLE=坏\nCONTROL_NUM=1\n[CONTROL1]\nTYPE=list\n")}) {
    SCOPED_TRACE(ini);
    OpenReport broken(ini, "600000");
    ASSERT_TRUE(broken.ok());
    ASSERT_TRUE(broken.Wait());
    EXPECT_TRUE(broken.Driver().ConfigurationFailed());
    EXPECT_EQ(broken.Container().GetTitleColor(), kRed);
    EXPECT_TRUE(broken.Cells().empty());
  }
}

TEST_F(ReportWindowTest, ExportWritesTheShownLists) {
  OpenReport report(Ini("export", SplitReport()), "600000");
  ASSERT_TRUE(report.ok());
  ASSERT_TRUE(report.Wait());
  const std::string path = server_->Folder() + "export.xlsx";
  std::vector<orbe::FileDialogRequest> asked;
  const orbe::FileDialogHandler previous = orbe::SetFileDialogHandler([&](const orbe::FileDialogRequest& request) {
    asked.push_back(request);
    return path;
  });
  EXPECT_TRUE(report.Get<CKvxButton>(ids::kExportButton)->Click());
  orbe::SetFileDialogHandler(previous);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].kind, orbe::FileDialogKind::kSaveFile);
  EXPECT_EQ(asked[0].default_extension, "xlsx");
  EXPECT_TRUE(std::filesystem::file_size(path) > 0);
}

}  // namespace

namespace {

constexpr UINT kHostMessage = WM_APP + 5;

// The host's window: keeps the data-format-24 notices.
class HostWindow : public CWnd {
 public:
  struct Notice {
    std::string value, column, security, text;
    int values[3];
    LPARAM cell;
  };
  std::vector<Notice> notices;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message != kHostMessage) return CWnd::WindowProc(message, wparam, lparam);
    const auto& n = *reinterpret_cast<const IniReportHostNotice*>(wparam);
    notices.push_back({n.value, n.column_title, n.security_code, n.host_text,
                       {n.host_values[0], n.host_values[1], n.host_values[2]}, lparam});
    return 1;
  }
};

// Plays the user of every modal dialog while it lives.
class ScopedDialogs {
 public:
  explicit ScopedDialogs(orbe::DialogHandler handler) : previous_(orbe::SetDialogHandler(std::move(handler))) {}
  ~ScopedDialogs() { orbe::SetDialogHandler(previous_); }

 private:
  orbe::DialogHandler previous_;
};

constexpr char kClickReport[] =
    "[MAIN]\nTITLE=点击\nCONTROL_NUM=1\n[CONTROL1]\nTYPE=LIST\nTITLE=点击\n"
    "SQLSTATEMENT=SELECT T002,T004 FROM 100000099 WHERE T001='LINKS' ORDER BY T002\nLIST_HORIZONTAL=TRUE\n"
    "LIST_COL_NUM=5\nCOL_NAME1=T004\nCOL_TITLE1=链接\nCOL_DATA_FORMAT1=22\nCOL_NAME2=T004\nCOL_TITLE2=邮件\n"
    "COL_DATA_FORMAT2=21\nCOL_NAME3=T002\nCOL_TITLE3=无\nCOL_DATA_TYPE3=D\nCOL_DATA_FORMAT3=23\n"
    "COL_POP_CTRL3=POP\nCOL_NAME4=T002\nCOL_TITLE4=主机\nCOL_DATA_TYPE4=D\nCOL_DATA_FORMAT4=24\n"
    "COL_NAME5=T002\nCOL_TITLE5=明细\nCOL_DATA_TYPE5=D\nCOL_DATA_FORMAT5=13\nCOL_POP_CTRL5=POP\n"
    "[POP]\nTYPE=LIST\nTITLE=明细\nSQLSTATEMENT=SELECT T002,T003 FROM 100000099 WHERE T001='LINKS' AND "
    "T002=$#$\nLIST_HORIZONTAL=TRUE\nLIST_COL_NUM=2\nCOL_NAME1=T002\nCOL_TITLE1=日期\nCOL_DATA_TYPE1=D\n"
    "COL_NAME2=T003\nCOL_TITLE2=数值\nCOL_DATA_TYPE2=F\n";

}  // namespace

TEST_F(ReportWindowTest, ClicksActByTheColumnsDataFormat) {
  OpenReport report(Ini("clicks", kClickReport), "600000");
  ASSERT_TRUE(report.ok());
  HostWindow host;
  ASSERT_TRUE(host.Create(nullptr, RECT{0, 0, 10, 10}, 0, 0));
  report.Window().SetHostNotify(host.GetSafeHwnd(), kHostMessage);
  report.Window().SetHostText("主机文字");
  report.Window().SetHostValue1(7);
  report.Window().SetHostValue2(8);
  report.Window().SetHostValue3(9);
  ASSERT_TRUE(report.Wait());
  VList* list = report.List(0);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->GetDataRowCount(), 2);

  // 24: the host hears the value as the data service gave it, with its own values.
  ASSERT_TRUE(list->ClickCell(2, 3));
  ASSERT_EQ(host.notices.size(), 1u);
  EXPECT_EQ(host.notices[0].value, "20110102");
  EXPECT_EQ(host.notices[0].column, "主机");
  EXPECT_EQ(host.notices[0].security, "600000");
  EXPECT_EQ(host.notices[0].text, "主机文字");
  EXPECT_EQ(host.notices[0].values[0] + host.notices[0].values[1] + host.notices[0].values[2], 24);
  EXPECT_EQ(host.notices[0].cell, report.Cells()[0]);

  // 22 and 21 open the value with the shell, the mail address as a mailto: link.
  std::vector<orbe::ShellRequest> opened;
  const orbe::ShellExecuteHandler shell = orbe::SetShellExecuteHandler([&](const orbe::ShellRequest& request) {
    opened.push_back(request);
    return kShellExecuteDone;
  });
  ASSERT_TRUE(list->ClickCell(1, 0));
  ASSERT_TRUE(list->ClickCell(2, 1));
  orbe::SetShellExecuteHandler(shell);
  ASSERT_EQ(opened.size(), 2u);
  EXPECT_EQ(opened[0].operation, "open");
  EXPECT_EQ(opened[0].file, "http://127.0.0.1/a");
  EXPECT_EQ(opened[1].file, "mailto:b@example.com");

  // 23 does nothing, although the column names a pop-up; a heading click neither.
  int dialogs = 0;
  {
    const ScopedDialogs count([&](CDialog& dialog) {
      ++dialogs;
      dialog.EndDialog(IDCANCEL);
    });
    ASSERT_TRUE(list->ClickCell(1, 2));
    ASSERT_TRUE(list->ClickCell(0, 4));
  }
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(host.notices.size(), 1u);

  // Another format with a pop-up: the clicked row's detail, built as a page of
  // its own; a new security waits until the pop-up is closed.
  std::vector<std::string> seen;
  const std::vector<int> before = report.Cells();
  {
    const ScopedDialogs read([&](CDialog& dialog) {
      EXPECT_EQ(dialog.GetOwner(), &report.Report());
      CWnd* popup = dialog.GetDlgItem(ids::kPopupReport);
      ASSERT_NE(popup, nullptr);
      const orbe::ReportDriver driver(*popup);
      ASSERT_TRUE(driver.WaitForPage());
      const VList* detail = driver.Container()->GetList(driver.Container()->GetAllWndID().at(0));
      seen.push_back(detail->GetDataRowCount() == 1 ? detail->GetValueText(0, 1)
                                                    : "rows: " + std::to_string(detail->GetDataRowCount()));
      report.Window().SetSecuCode("600001", true);
      orbe::RunUntilIdle();
      EXPECT_EQ(report.Cells(), before);  // not rebuilt under the pop-up
      dialog.PostMessage(WM_CLOSE);
    });
    ASSERT_TRUE(list->ClickCell(2, 4));
  }
  EXPECT_EQ(seen, std::vector<std::string>{"2.00"});
  ASSERT_TRUE(report.Wait());
  EXPECT_NE(report.Cells(), before);  // rebuilt once the pop-up closed

  // The host may close the report from inside the pop-up's loop.
  bool destroyed = false;
  {
    const ScopedDialogs destroy([&](CDialog& dialog) {
      ASSERT_TRUE(orbe::ReportDriver(*dialog.GetDlgItem(ids::kPopupReport)).WaitForPage());
      destroyed = true;
      report.Destroy();
    });
    ASSERT_TRUE(report.List(0)->ClickCell(1, 4));
  }
  EXPECT_TRUE(destroyed);
}
