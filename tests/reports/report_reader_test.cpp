#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <typeinfo>

#include "dictionary/dictionary_test_util.h"
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "reports/report_config_cache.h"

namespace {

using orbe::testing::TempDir;
using orbe::testing::WriteBytes;

struct Destroyer {
  void operator()(ScrollWndCfg* cfg) const { CIniReportUtil::DestroyScrollWndCfg(cfg); }
};
using Config = std::unique_ptr<ScrollWndCfg, Destroyer>;

class ReportReaderTest : public ::testing::Test {
 protected:
  Config Read(const std::string& ini) {
    WriteBytes(path_, ini);
    return Config(CIniReportUtil::GetScrollWndCfgFromINI(path_.c_str()));
  }
  TempDir dir_;
  const std::string path_ = dir_.File("report.ini");
};

TEST_F(ReportReaderTest, MainSectionAndCellTypes) {
  const Config cfg = Read(
      "[MAIN]\r\nTITLE=公司概况\r\nTITLE_HIGH=40\r\nADOPT_MONEY_FORMAT=TRUE\r\nADOPT_REPORT_TERM=true\r\n"
      "CONTROL_NUM=6\r\n"
      "[CONTROL1]\r\nTYPE=IE\r\nTITLE=web\r\n"
      "[CONTROL2]\r\nTYPE=list\r\n"
      "[CONTROL3]\r\nTYPE=LABEL\r\nLABEL_TEXT=Line1\\r\\nLine2\r\nCONTROL_HIGH=80\r\n"
      "[CONTROL4]\r\nTYPE=CHART\r\nREPORT_TYPE=MONTH\r\nDATACOMBINATION=avg\r\nYSCALE=0.5\r\nXTYPE=Ctext\r\n"
      "[CONTROL5]\r\nTYPE=LISTHISTOGRAM\r\nLIST_FIX_FIRST_COL=TRUE\r\n"
      "[CONTROL7]\r\nTYPE=LIST\r\n");
  ASSERT_NE(cfg, nullptr);
  EXPECT_EQ(orbe::FieldText(cfg->ini_path), path_);
  EXPECT_EQ(orbe::FieldText(cfg->title), "公司概况");
  EXPECT_EQ(cfg->title_high, 40);
  EXPECT_TRUE(cfg->adopt_money_format);
  EXPECT_FALSE(cfg->adopt_report_term);  // only the exact "TRUE" counts
  // Lower-case "list" is no type; CONTROL7 lies past CONTROL_NUM.
  EXPECT_EQ(cfg->display_order, (std::vector<CString>{"CONTROL1", "CONTROL3", "CONTROL4", "CONTROL5"}));
  EXPECT_EQ(cfg->cell_map.size(), 4u);

  const auto* web = dynamic_cast<WebBrowserCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), 0));
  ASSERT_NE(web, nullptr);
  EXPECT_EQ(web->type, kWndWebBrowser);
  EXPECT_EQ(orbe::FieldText(web->url), "http://127.0.0.1/");
  EXPECT_EQ(web->control_high, -1);
  EXPECT_EQ(web->control_width, 0);

  const auto* label = dynamic_cast<LabelCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), 1));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(orbe::FieldText(label->label_text), "Line1\r\nLine2");
  EXPECT_EQ(label->control_high, 80);

  const auto* chart = dynamic_cast<ChartCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), 2));
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->report_type, kChartMonth);
  EXPECT_EQ(chart->data_combination, kCombineDefault);  // words are exact
  EXPECT_DOUBLE_EQ(chart->y_scale, 0.5);
  EXPECT_DOUBLE_EQ(chart->y_max, 2.0);
  EXPECT_EQ(chart->x_type, 'C');
  EXPECT_EQ(chart->y_type, 'D');

  const auto* histogram = dynamic_cast<ListHistogramCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), 3));
  ASSERT_NE(histogram, nullptr);
  EXPECT_EQ(histogram->type, kWndListHistogram);
  EXPECT_FALSE(histogram->fix_first_col);  // a histogram list never reads it
}

TEST_F(ReportReaderTest, ListKeysAndColumnDefaults) {
  const Config cfg = Read(
      "[MAIN]\r\nCONTROL_NUM=1\r\n"
      "[CONTROL1]\r\nTYPE=LIST\r\nSQLSTATEMENT=select t001 from 100\r\nLIST_HORIZONTAL=true\r\n"
      "LIST_ENABLE_REVERSE=FALSE\r\nLIST_SPLIT_TITLE=年度\r\nLIST_MAX_ROW=10\r\nLIST_COL_NUM=2\r\n"
      "LIST_INIT_SORT_ASCENDING=TRUE\r\nLIST_FIX_FIRST_COL=TRUE\r\n"
      "COL_NAME1=T001\r\nCOL_TITLE1=名称\r\nCOL_WIDTH1=70000\r\nCOL_HIDE_INVALIDCOL1=FALSE\r\n"
      "COL_POP_PARAM1=ignored without a pop-up\r\n"
      "COL_DATA_TYPE2=Float\r\nCOL_DATA_ALIGN2=R\r\nCOL_DATA_DECBIT2=4\r\nCOL_DATA_FORMAT2=21\r\n"
      "COL_SUMARY_SUM2=TRUE\r\nCOL_SUMARY_AVG2=TRUE\r\n");
  const auto* list = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), 0));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(orbe::FieldText(list->sql_statement), "select t001 from 100");
  EXPECT_FALSE(list->horizontal);  // "true" is not "TRUE"
  EXPECT_FALSE(list->enable_reverse);
  EXPECT_TRUE(list->splittable);
  EXPECT_EQ(list->max_row, 10);
  EXPECT_FALSE(list->init_sort_ascending);  // no sort title: not read
  EXPECT_TRUE(list->fix_first_col);
  ASSERT_EQ(list->columns.size(), 2u);

  const ListColCfg& first = list->columns[0];
  EXPECT_EQ(first.data_type, 'C');
  EXPECT_EQ(first.decimal_bits, 2);
  EXPECT_EQ(orbe::FieldText(first.title), "名称");
  EXPECT_EQ(first.width, static_cast<std::int16_t>(70000));  // a 16-bit field
  EXPECT_FALSE(first.hide_invalid_col);
  EXPECT_EQ(first.pop_cell, nullptr);
  EXPECT_EQ(orbe::FieldText(first.pop_param), "");

  const ListColCfg& second = list->columns[1];
  EXPECT_EQ(second.data_type, 'F');
  EXPECT_EQ(second.data_align, 'R');
  EXPECT_EQ(second.head_align, 'C');
  EXPECT_EQ(second.decimal_bits, 4);
  EXPECT_EQ(second.data_format, 21);
  EXPECT_TRUE(second.hide_invalid_col);
  EXPECT_TRUE(second.summary_sum && second.summary_avg);
  EXPECT_FALSE(second.summary_count || second.summary_min || second.summary_max);
}

TEST_F(ReportReaderTest, PopupsAreSharedAndChainsEnd) {
  const Config cfg = Read(
      "[MAIN]\r\nCONTROL_NUM=2\r\n"
      "[CONTROL1]\r\nTYPE=LIST\r\nLIST_COL_NUM=3\r\n"
      "COL_POP_CTRL1=POP_A\r\nCOL_POP_PARAM1=p1\r\nCOL_POP_CTRL2=POP_A\r\nCOL_POP_CTRL3=CONTROL2\r\n"
      "[CONTROL2]\r\nTYPE=LIST\r\nLIST_COL_NUM=1\r\nCOL_POP_CTRL1=CONTROL1\r\n"
      "[POP_A]\r\nTYPE=LIST\r\nLIST_COL_NUM=1\r\nCOL_POP_CTRL1=POP_B\r\n"
      "[POP_B]\r\nTYPE=LIST\r\nLIST_COL_NUM=1\r\nCOL_POP_CTRL1=POP_A\r\n");
  ASSERT_NE(cfg, nullptr);
  // CONTROL2 was read first as a pop-up, so it is not shown.
  EXPECT_EQ(cfg->display_order, (std::vector<CString>{"CONTROL1"}));
  EXPECT_EQ(cfg->cell_map.size(), 4u);
  auto* control1 = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), CString("CONTROL1")));
  auto* pop_a = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), CString("POP_A")));
  auto* pop_b = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), CString("POP_B")));
  auto* control2 = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), CString("CONTROL2")));
  ASSERT_TRUE(control1 && pop_a && pop_b && control2);
  EXPECT_EQ(control1->columns[0].pop_cell, pop_a);
  EXPECT_EQ(control1->columns[1].pop_cell, pop_a);
  EXPECT_EQ(orbe::FieldText(control1->columns[0].pop_param), "p1");
  EXPECT_EQ(control1->columns[2].pop_cell, control2);
  EXPECT_EQ(control2->columns[0].pop_cell, control1);
  EXPECT_EQ(pop_a->columns[0].pop_cell, pop_b);
  EXPECT_EQ(pop_b->columns[0].pop_cell, pop_a);
}

TEST_F(ReportReaderTest, PopupOfNoTypeOrOtherClass) {
  const Config cfg = Read(
      "[MAIN]\r\nCONTROL_NUM=2\r\n"
      "[CONTROL1]\r\nTYPE=LABEL\r\n"
      "[CONTROL2]\r\nTYPE=LIST\r\nLIST_COL_NUM=2\r\nCOL_POP_CTRL1=NOWHERE\r\nCOL_POP_CTRL2=CONTROL1\r\n");
  const auto* list = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), 1));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->columns[0].pop_cell, nullptr);
  EXPECT_EQ(list->columns[1].pop_cell, CIniReportUtil::GetCfgBase(cfg.get(), 0));

  // A section already read is returned only as its own class.
  EXPECT_EQ(CIniReportUtil::GetListCfgFromINI(cfg.get(), "CONTROL1", path_.c_str(), false), nullptr);
  EXPECT_NE(CIniReportUtil::GetLabelCfgFromINI(cfg.get(), "CONTROL1", path_.c_str(), false), nullptr);
  EXPECT_EQ(cfg->display_order.size(), 2u);
  EXPECT_EQ(CIniReportUtil::GetCfgFromINIForPopWnd(cfg.get(), "NOWHERE", path_.c_str()), nullptr);
  EXPECT_EQ(CIniReportUtil::GetListCfgFromINI(nullptr, "CONTROL1", path_.c_str(), false), nullptr);
}

TEST_F(ReportReaderTest, MissingEmptyOrNonsenseFilesGiveNoCells) {
  const Config missing(CIniReportUtil::GetScrollWndCfgFromINI(dir_.File("none.ini").c_str()));
  ASSERT_NE(missing, nullptr);
  EXPECT_TRUE(missing->display_order.empty());
  EXPECT_EQ(missing->title_high, 30);
  EXPECT_EQ(Read("")->cell_map.size(), 0u);
  EXPECT_EQ(Read(std::string("\0\xff[[]=\n\x81", 7))->cell_map.size(), 0u);
  EXPECT_EQ(CIniReportUtil::GetScrollWndCfgFromINI(nullptr), nullptr);
  // A path the configuration cannot hold is refused, not kept cut.
  EXPECT_EQ(CIniReportUtil::GetScrollWndCfgFromINI(std::string(300, 'a').c_str()), nullptr);
  CIniReportUtil::DestroyScrollWndCfg(nullptr);
}

TEST_F(ReportReaderTest, HugeCountsStayBounded) {
  const Config cfg = Read(
      "[MAIN]\r\nCONTROL_NUM=2147483647\r\n"
      "[CONTROL2000000000]\r\nTYPE=LABEL\r\n[CONTROL02]\r\nTYPE=LABEL\r\n[control3]\r\nTYPE=LIST\r\n"
      "LIST_COL_NUM=2000000000\r\n");
  // Only existing sections count; "CONTROL02" is not "CONTROL2". A list of
  // two billion columns cannot be held: it is refused whole, as an
  // allocation failure, and leaves nothing behind.
  EXPECT_EQ(cfg->display_order, (std::vector<CString>{"CONTROL2000000000"}));
  EXPECT_EQ(cfg->cell_map.count("CONTROL3"), 0u);
}

TEST_F(ReportReaderTest, EveryColumnTheCountNamesIsRead) {
  struct Case {
    int count;
    std::size_t columns;
  } const cases[] = {{1500, 1500}, {1025, 1025}, {3, 3}, {0, 0}, {-4, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    const Config cfg = Read("[MAIN]\r\nCONTROL_NUM=1\r\n[CONTROL1]\r\nTYPE=LIST\r\nLIST_COL_NUM=" +
                            std::to_string(c.count) + "\r\nCOL_TITLE1025=late\r\nCOL_NAME1500=T1500\r\n");
    const auto* list = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg.get(), 0));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->columns.size(), c.columns);
    if (c.columns >= 1025) {
      EXPECT_EQ(orbe::FieldText(list->columns[1024].title), "late");
    }
    if (c.columns == 1500) {
      EXPECT_EQ(orbe::FieldText(list->columns.back().name), "T1500");
    }
    // Columns the file does not describe are there with their defaults.
    if (c.columns > 0) {
      EXPECT_EQ(list->columns.front().decimal_bits, 2);
    }
  }
}

TEST_F(ReportReaderTest, ARefusedListTakesItsPopupsWithIt) {
  const Config cfg = Read(
      "[MAIN]\r\nCONTROL_NUM=2\r\n"
      "[CONTROL1]\r\nTYPE=LIST\r\nLIST_COL_NUM=1\r\nCOL_POP_CTRL1=POP\r\n"
      "[POP]\r\nTYPE=LIST\r\nLIST_COL_NUM=2000000000\r\n"
      "[CONTROL2]\r\nTYPE=LABEL\r\nLABEL_TEXT=kept\r\n");
  EXPECT_EQ(cfg->display_order, (std::vector<CString>{"CONTROL2"}));
  EXPECT_EQ(cfg->cell_map.size(), 1u);
  EXPECT_EQ(CIniReportUtil::GetListCfgFromINI(cfg.get(), "CONTROL1", path_.c_str(), false), nullptr);
  EXPECT_EQ(cfg->cell_map.size(), 1u);
}

}  // namespace

// A report opened again comes from the kept copy of the same file version:
// every cell its own (pop-up links inside the copy), the caller's changes
// never reaching the next reader, and a rewritten file read afresh.
TEST_F(ReportReaderTest, KeptConfigurationsAreCopiesOfTheSameFileVersion) {
  const std::string ini =
      "[MAIN]\r\nTITLE=First\r\nCONTROL_NUM=3\r\n"
      "[CONTROL1]\r\nTYPE=LIST\r\nLIST_COL_NUM=2\r\nCOL_POP_CTRL1=POP\r\nCOL_POP_CTRL2=CONTROL1\r\n"
      "[CONTROL2]\r\nTYPE=CHART\r\nYSCALE=0.5\r\n"
      "[CONTROL3]\r\nTYPE=LISTHISTOGRAM\r\n"
      "[POP]\r\nTYPE=LABEL\r\nLABEL_TEXT=pop\r\n";
  WriteBytes(path_, ini);
  const Config read(CIniReportUtil::GetScrollWndCfgFromINI(path_.c_str()));
  const orbe::OwnedConfig first = orbe::ReadReportConfig(path_.c_str());
  orbe::OwnedConfig second = orbe::ReadReportConfig(path_.c_str());
  ASSERT_TRUE(read && first && second);
  for (const ScrollWndCfg* copy : {first.get(), second.get()}) {
    EXPECT_EQ(copy->display_order, read->display_order);
    ASSERT_EQ(copy->cell_map.size(), read->cell_map.size());
    for (const auto& [section, cell] : read->cell_map) {
      const CellWndCfgBase* mine = copy->cell_map.at(section);
      EXPECT_EQ(typeid(*mine), typeid(*cell)) << section;
      EXPECT_EQ(mine->type, cell->type) << section;
      if (copy == second.get()) {
        EXPECT_NE(mine, first->cell_map.at(section)) << section;
      }
    }
    const auto* list = dynamic_cast<const ListCfg*>(CIniReportUtil::GetCfgBase(copy, CString("CONTROL1")));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->columns[0].pop_cell, CIniReportUtil::GetCfgBase(copy, CString("POP")));
    EXPECT_EQ(list->columns[1].pop_cell, list);
    const auto* chart = dynamic_cast<const ChartCfg*>(CIniReportUtil::GetCfgBase(copy, CString("CONTROL2")));
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->y_scale, 0.5);
  }

  // What one window writes into its cells stays its own.
  orbe::CopyToField(CIniReportUtil::GetCfgBase(second.get(), CString("POP"))->parameter, "clicked");
  orbe::CopyToField(second->title, "changed");
  const orbe::OwnedConfig third = orbe::ReadReportConfig(path_.c_str());
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(orbe::FieldText(third->title), "First");
  EXPECT_EQ(orbe::FieldText(CIniReportUtil::GetCfgBase(third.get(), CString("POP"))->parameter), "");

  // A rewrite of the same size, saved as editors save, is another version.
  std::string rewritten = ini;
  rewritten.replace(rewritten.find("First"), 5, "Other");
  WriteBytes(path_ + ".new", rewritten);
  std::filesystem::rename(path_ + ".new", path_);
  const orbe::OwnedConfig fourth = orbe::ReadReportConfig(path_.c_str());
  ASSERT_NE(fourth, nullptr);
  EXPECT_EQ(orbe::FieldText(fourth->title), "Other");

  // Without a file there is nothing to keep: a configuration without cells.
  const orbe::OwnedConfig missing = orbe::ReadReportConfig(dir_.File("none.ini").c_str());
  ASSERT_NE(missing, nullptr);
  EXPECT_TRUE(missing->display_order.empty());
}
