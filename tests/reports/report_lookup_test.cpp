#include <gtest/gtest.h>

#include <memory>

#include "dictionary/dictionary_test_util.h"
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"

namespace {

struct Destroyer {
  void operator()(ScrollWndCfg* cfg) const { CIniReportUtil::DestroyScrollWndCfg(cfg); }
};

class ReportLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    orbe::testing::WriteBytes(
        path_,
        "[MAIN]\r\nTITLE=T\r\nTITLE_HIGH=25\r\nADOPT_REPORT_TERM=TRUE\r\nCONTROL_NUM=2\r\n"
        "[CONTROL1]\r\nTYPE=LIST\r\nLIST_COL_NUM=3\r\nCOL_TITLE1=A\r\nCOL_TITLE2=B\r\n"
        "COL_TITLE3=B\r\nCOL_NAME3=third\r\nCOL_POP_CTRL1=POP\r\n"
        "[CONTROL2]\r\nTYPE=LABEL\r\n[POP]\r\nTYPE=CHART\r\n");
    cfg_.reset(CIniReportUtil::GetScrollWndCfgFromINI(path_.c_str()));
    ASSERT_NE(cfg_, nullptr);
  }
  orbe::testing::TempDir dir_;
  const std::string path_ = dir_.File("r.ini");
  std::unique_ptr<ScrollWndCfg, Destroyer> cfg_;
};

TEST_F(ReportLookupTest, CellsByNameIndexAndPointer) {
  CellWndCfgBase* first = CIniReportUtil::GetCfgBase(cfg_.get(), 0);
  CellWndCfgBase* pop = CIniReportUtil::GetCfgBase(cfg_.get(), CString("POP"));
  ASSERT_NE(first, nullptr);
  ASSERT_NE(pop, nullptr);
  EXPECT_EQ(first, CIniReportUtil::GetCfgBase(cfg_.get(), CString("CONTROL1")));
  EXPECT_EQ(CIniReportUtil::GetCfgBase(cfg_.get(), 2), nullptr);  // pop-ups are not in the order
  EXPECT_EQ(CIniReportUtil::GetCfgBase(cfg_.get(), -1), nullptr);
  EXPECT_EQ(CIniReportUtil::GetCfgBase(cfg_.get(), CString("control1")), nullptr);
  EXPECT_EQ(CIniReportUtil::GetCfgBase(nullptr, 0), nullptr);
  EXPECT_EQ(CIniReportUtil::GetCacheKey(cfg_.get(), pop), "POP");
  const ChartCfg stranger;
  EXPECT_EQ(CIniReportUtil::GetCacheKey(cfg_.get(), &stranger), "");
}

TEST_F(ReportLookupTest, ChildSharesOneCell) {
  CellWndCfgBase* pop = CIniReportUtil::GetCfgBase(cfg_.get(), CString("POP"));
  const ScrollWndCfg child = CIniReportUtil::GenerateChildScrollWndCfg(cfg_.get(), pop);
  EXPECT_EQ(orbe::FieldText(child.ini_path), path_);
  EXPECT_EQ(orbe::FieldText(child.title), "T");
  EXPECT_EQ(child.title_high, 25);
  EXPECT_TRUE(child.adopt_report_term);
  EXPECT_FALSE(child.adopt_money_format);
  EXPECT_EQ(child.display_order, (std::vector<CString>{"POP"}));
  EXPECT_EQ(child.cell_map, cfg_->cell_map);
  EXPECT_EQ(CIniReportUtil::GetCfgBase(&child, 0), pop);

  const ChartCfg stranger;
  const ScrollWndCfg empty = CIniReportUtil::GenerateChildScrollWndCfg(cfg_.get(), &stranger);
  EXPECT_TRUE(empty.display_order.empty());
  EXPECT_TRUE(empty.cell_map.empty());
  EXPECT_EQ(orbe::FieldText(empty.ini_path), path_);
}

TEST_F(ReportLookupTest, DeleteColumnByTitle) {
  auto* list = dynamic_cast<ListCfg*>(CIniReportUtil::GetCfgBase(cfg_.get(), 0));
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(CIniReportUtil::DeleteColCfgbyTitle(list, "B"));
  ASSERT_EQ(list->columns.size(), 2u);
  EXPECT_EQ(orbe::FieldText(list->columns[1].name), "third");  // the first "B" went
  EXPECT_FALSE(CIniReportUtil::DeleteColCfgbyTitle(list, "b"));
  EXPECT_FALSE(CIniReportUtil::DeleteColCfgbyTitle(nullptr, "A"));
  EXPECT_TRUE(CIniReportUtil::DeleteColCfgbyTitle(list, "A"));
  EXPECT_EQ(list->columns.size(), 1u);
}

}  // namespace
