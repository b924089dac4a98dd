// The condition window driven as a user would: rows added from the
// catalogue, radios, buttons, the grid's cells; what it posts and shows.
#include <gtest/gtest.h>

#include <regex>

#include "orbe/env.h"
#include "orbe/platform/dialog.h"
#include "orbe/platform/menu.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_ctrl.h"
#include "screening/screening_test_util.h"

namespace {

using orbe_test::BoxCapture;

class ConditionWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mgr_ = orbe_test::MakeTestCatalogue(folder_);
    ASSERT_NE(mgr_, nullptr);
    ASSERT_TRUE(receiver_.Create(nullptr, RECT{0, 0, 1200, 500}, 1));
    wnd_.reset(CIndexConditionWnd::CreatIndexConditionWnd(mgr_.get(), &receiver_, RECT{0, 0, 1200, 500},
                                                          WS_CHILD | WS_VISIBLE, 7));
    ASSERT_NE(wnd_, nullptr);
    wnd_->SetMsgHwnd(receiver_.GetSafeHwnd());
  }
  void TearDown() override { wnd_.reset(); }

  IndexBase* Index(const char* name) { return mgr_->FindIndex(name); }
  CGridCtrl& Grid() { return *wnd_->GetGrid(); }
  std::vector<UINT> Posted() {
    receiver_.messages.clear();
    orbe::RunUntilIdle();
    return receiver_.messages;
  }

  orbe::testing::TempFolder folder_;
  orbe_test::Catalogue mgr_;
  orbe_test::Receiver receiver_;
  std::unique_ptr<CIndexConditionWnd> wnd_;
};

TEST_F(ConditionWindowTest, ExpressionFollowsTheRowsAndTheCheckedRadio) {
  // 并集 is checked at creation: rows join with "or".
  EXPECT_TRUE(wnd_->GetUnionRadio()->GetCheck());
  EXPECT_EQ(wnd_->GetEditExpressText(), CIndexConditionWnd::kExpressionPrompt);
  ASSERT_EQ(wnd_->AddIndex(Index("市盈率")), 1);
  ASSERT_EQ(wnd_->AddIndex(Index("总股本")), 2);
  EXPECT_EQ(wnd_->GetEditExpressText(), "#1 or #2");
  EXPECT_EQ(wnd_->AddIndex(nullptr), 0);

  // A click on 交集 makes the "and" expression; the next row follows it.
  ASSERT_TRUE(wnd_->GetIntersectionRadio()->Click());
  EXPECT_FALSE(wnd_->GetUnionRadio()->GetCheck());
  EXPECT_EQ(wnd_->GetEditExpressText(), "#1 and #2");
  wnd_->AddIndex(Index("营业总收入"));
  EXPECT_EQ(wnd_->GetEditExpressText(), "#1 and #2 and #3");

  // Deleting the second row renumbers the third and joins with "and".
  ASSERT_TRUE(wnd_->GetUnionRadio()->Click());
  EXPECT_EQ(wnd_->DelIndex(2), 1);
  EXPECT_EQ(wnd_->GetEditExpressText(), "#1 and #2");
  EXPECT_TRUE(wnd_->GetIntersectionRadio()->GetCheck());
  ASSERT_EQ(Grid().GetRowCount(), 3);
  EXPECT_EQ(Grid().GetItemText(1, 0), "1");
  EXPECT_EQ(Grid().GetItemText(2, 0), "2");
  EXPECT_EQ(Grid().GetItemText(2, 1), "营业总收入");
  EXPECT_EQ(wnd_->GetRows().at(2), Index("营业总收入"));
  EXPECT_EQ(wnd_->DelIndex(5), 0);

  // Clearing leaves an empty box with 交集 checked.
  wnd_->ClearAllIndex();
  EXPECT_EQ(Grid().GetRowCount(), 1);
  EXPECT_EQ(wnd_->GetEditExpressText(), "");
  EXPECT_TRUE(wnd_->GetIntersectionRadio()->GetCheck());
  EXPECT_FALSE(wnd_->GetUnionRadio()->GetCheck());
}

TEST_F(ConditionWindowTest, UnitColumnOffersTheUnitsOfTheIndicatorsUnitType) {
  struct Case {
    const char* indicator;
    const char* preset;
    std::size_t units;
    bool read_only;
  };
  const Case cases[] = {
      {"营业总收入", "元", 7, false},
      {"总股本", "股", 7, false},
      {"净资产收益率", "%", 1, false},
      {"市盈率", "", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.indicator);
    const int row = wnd_->AddIndex(Index(c.indicator));
    const GridCell& cell = *Grid().GetCell(row, 5);
    EXPECT_EQ(cell.text, c.preset);
    EXPECT_EQ(cell.combo_items.size(), c.units);
    EXPECT_EQ(cell.read_only, c.read_only);
    EXPECT_EQ(cell.type == GridCellType::kCombo, !c.read_only);
    EXPECT_TRUE(Grid().GetCell(row, 1)->read_only);
    EXPECT_EQ(Grid().GetCell(row, 3)->combo_items.size(), 9u);
  }
  const GridCell& shares = *Grid().GetCell(2, 5);
  EXPECT_EQ(shares.combo_items.back(), "亿股");
  // A user picks a unit and an operator and types a value; the scheme carries them.
  ASSERT_TRUE(Grid().PickComboEntry(2, 5, 3));
  ASSERT_TRUE(Grid().PickComboEntry(2, 3, 3));
  ASSERT_TRUE(Grid().EditCell(2, 4, "1000"));
  EXPECT_FALSE(Grid().EditCell(2, 1, "改名"));
  IndexScheme scheme;
  ASSERT_EQ(wnd_->GenScheme(scheme), 1);
  ASSERT_EQ(scheme.items.size(), 4u);
  EXPECT_EQ(scheme.items[1].index, "总股本");
  EXPECT_EQ(scheme.items[1].unit, "万股");
  EXPECT_EQ(scheme.items[1].op, "大于");
  EXPECT_EQ(scheme.items[1].value, "1000");
  EXPECT_EQ(scheme.expression, "#1 or #2 or #3 or #4");
}

TEST_F(ConditionWindowTest, SchemesGoInAndOut) {
  IndexScheme scheme;
  scheme.expression = "kept";
  EXPECT_EQ(wnd_->GenScheme(scheme), 0);
  EXPECT_EQ(scheme.expression, "kept");

  // Rows with the placeholder in the box: no expression, both radios off.
  wnd_->AddIndex(Index("市盈率"));
  wnd_->GetExpressionEdit()->SetText(CIndexConditionWnd::kExpressionPrompt);
  IndexScheme placeholder;
  ASSERT_EQ(wnd_->GenScheme(placeholder), 1);
  EXPECT_TRUE(placeholder.expression.empty());
  EXPECT_FALSE(wnd_->GetIntersectionRadio()->GetCheck());
  EXPECT_FALSE(wnd_->GetUnionRadio()->GetCheck());

  // A loaded scheme shows its own expression and keeps its display settings.
  IndexScheme stored;
  stored.name = "存";
  stored.expression = "#2 or #1";
  IndexSchemeItem pe{"市盈率", "", "小于", "20", ""};
  pe.colwidth = 77;
  pe.decimalbit = 4;
  IndexSchemeItem revenue{"营业总收入", "2026三季", "大于", "1", "亿元"};
  revenue.visable = false;
  stored.items = {pe, revenue};
  wnd_->ChangeScheme(stored);
  EXPECT_EQ(wnd_->GetEditExpressText(), "#2 or #1");
  IndexScheme again;
  ASSERT_EQ(wnd_->GenScheme(again), 1);
  EXPECT_EQ(again.items, stored.items);
  EXPECT_EQ(again.expression, stored.expression);

  // A row whose indicator is gone is skipped: the numbers no longer fit the
  // scheme's expression, so the regenerated one stays.
  IndexSchemeItem missing;
  missing.index = "不存在的指标";
  stored.items.insert(stored.items.begin(), missing);
  wnd_->ChangeScheme(stored);
  EXPECT_EQ(Grid().GetRowCount(), 3);
  EXPECT_EQ(wnd_->GetEditExpressText(), "#1 and #2");
}

TEST_F(ConditionWindowTest, ReportPeriodsAndDefaultParameters) {
  const std::vector<std::string> list = CIndexConditionWnd::ReportPeriodList(2013);
  ASSERT_EQ(list.size(), 84u);
  EXPECT_EQ(std::vector<std::string>(list.begin(), list.begin() + 4),
            (std::vector<std::string>{"2013年度", "2013三季", "2013中期", "2013一季"}));
  EXPECT_EQ(std::vector<std::string>(list.end() - 4, list.end()),
            (std::vector<std::string>{"1993年度", "1993三季", "1993中期", "1993一季"}));

  // Choosing an entry sets the module's report period, which new rows take.
  CKvxComboBox& periods = *wnd_->GetPeriodCombo();
  ASSERT_EQ(periods.GetCount(), 84);
  ASSERT_TRUE(periods.PickItem(5));  // the year before, 三季
  const std::string chosen = periods.GetLBText(5);
  std::string year;
  std::string period;
  GetCurReport(year, period, 0);
  EXPECT_EQ(year + period, chosen);
  EXPECT_EQ(CIndexConditionWnd::DefaultParameter(*Index("营业总收入")), chosen);
  EXPECT_TRUE(std::regex_match(CIndexConditionWnd::DefaultParameter(*Index("收盘价")),
                               std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}")));
  EXPECT_EQ(CIndexConditionWnd::DefaultParameter(*Index("市盈率")), "");
  EXPECT_EQ(CIndexConditionWnd::DefaultParameter(*Index("所属行业")), "");
  EXPECT_EQ(CIndexConditionWnd::DefaultParameter(*Index("最新价")), "");
}

TEST_F(ConditionWindowTest, ButtonsPostTheirCommandsToTheReceiver) {
  const UINT posted[] = {orbe::kCmdRunScreening, orbe::kCmdSaveScheme, orbe::kCmdDeleteScheme,
                         orbe::kCmdExport,       orbe::kCmdSaveBoard,  orbe::kCmdStatistics};
  for (const UINT id : posted) {
    SCOPED_TRACE(id);
    ASSERT_TRUE(wnd_->GetButton(id)->Click());
    EXPECT_EQ(Posted(), std::vector<UINT>{id});
  }
  // "新建条件" asks first when there are rows; Cancel stops it.
  BoxCapture boxes(IDCANCEL);
  ASSERT_TRUE(wnd_->GetButton(orbe::kCmdNewScheme)->Click());
  EXPECT_EQ(Posted(), std::vector<UINT>{orbe::kCmdNewScheme});
  EXPECT_TRUE(boxes.texts.empty());
  wnd_->AddIndex(Index("市盈率"));
  wnd_->GetButton(orbe::kCmdNewScheme)->Click();
  EXPECT_TRUE(Posted().empty());
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], "   确认不先保存模板吗?");
  EXPECT_EQ(boxes.captions[0], "提示");
  boxes.Answer(IDOK);
  wnd_->GetButton(orbe::kCmdNewScheme)->Click();
  EXPECT_EQ(Posted(), std::vector<UINT>{orbe::kCmdNewScheme});

  // Without a receiver nothing is posted.
  wnd_->SetMsgHwnd(nullptr);
  wnd_->GetButton(orbe::kCmdRunScreening)->Click();
  EXPECT_TRUE(Posted().empty());
  // Disabled buttons refuse the click.
  wnd_->EnableFetchButton(false);
  EXPECT_FALSE(wnd_->GetButton(orbe::kCmdRunScreening)->Click());
  EXPECT_FALSE(wnd_->GetButton(orbe::kCmdExport)->Click());
  EXPECT_TRUE(wnd_->GetButton(orbe::kCmdSaveScheme)->Click());
}

TEST_F(ConditionWindowTest, DeletingAndEditingNeedASelectedRow) {
  BoxCapture boxes;
  wnd_->AddIndex(Index("市盈率"));
  wnd_->AddIndex(Index("总股本"));
  wnd_->GetButton(orbe::kCmdDeleteCondition)->Click();
  wnd_->GetButton(orbe::kCmdEditCondition)->Click();
  EXPECT_EQ(boxes.texts, (std::vector<std::string>{"请选择需要删除的条件", "请选择需要编辑的条件"}));
  EXPECT_EQ(Grid().GetRowCount(), 3);
  // A click selects the row; "删除条件" deletes it.
  ASSERT_TRUE(Grid().ClickCell(1, 2));
  EXPECT_EQ(wnd_->GetSelectedRow(), 1);
  wnd_->GetButton(orbe::kCmdDeleteCondition)->Click();
  ASSERT_EQ(Grid().GetRowCount(), 2);
  EXPECT_EQ(Grid().GetItemText(1, 1), "总股本");
  EXPECT_EQ(Grid().GetItemText(1, 0), "1");
  EXPECT_EQ(boxes.texts.size(), 2u);
}

TEST_F(ConditionWindowTest, KeysPopUpAndParameterDialogActOnTheSelectedRow) {
  for (const char* name : {"市盈率", "总股本", "营业总收入", "净资产收益率"}) wnd_->AddIndex(Index(name));
  // Delete and the keypad's Delete on the grid delete the selected row; elsewhere they do nothing.
  Grid().ClickCell(2, 2);
  ASSERT_TRUE(orbe::PressKey(Grid().GetSafeHwnd(), VK_DELETE));
  orbe::RunUntilIdle();
  ASSERT_EQ(Grid().GetRowCount(), 4);
  EXPECT_EQ(Grid().GetItemText(2, 1), "营业总收入");
  Grid().ClickCell(1, 2);
  orbe::PressKey(wnd_->GetSafeHwnd(), VK_DELETE);
  orbe::RunUntilIdle();
  EXPECT_EQ(Grid().GetRowCount(), 4);
  orbe::PressKey(Grid().GetSafeHwnd(), VK_DECIMAL);
  orbe::RunUntilIdle();
  ASSERT_EQ(Grid().GetRowCount(), 3);
  EXPECT_EQ(Grid().GetItemText(1, 1), "营业总收入");

  // The pop-up: "删除所选" deletes the row under the click, "删除全部" every row.
  std::vector<std::vector<std::string>> menus;
  orbe::SetPopupMenuHandler([&menus](const orbe::PopupMenuRequest& request) {
    std::vector<std::string> texts;
    for (const orbe::PopupMenuItem& item : request.items) texts.push_back(item.text);
    menus.push_back(texts);
    return orbe::FindPopupMenuCommand(request.items, menus.size() == 1 ? "删除所选" : "删除全部");
  });
  ASSERT_TRUE(Grid().RightClickCell(2, 3));
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0], (std::vector<std::string>{"删除所选", "删除全部"}));
  ASSERT_EQ(Grid().GetRowCount(), 2);
  EXPECT_EQ(Grid().GetItemText(1, 1), "营业总收入");
  Grid().RightClickCell(1, 3);
  EXPECT_EQ(Grid().GetRowCount(), 1);
  EXPECT_EQ(wnd_->GetEditExpressText(), "");
  orbe::SetPopupMenuHandler(nullptr);

  // A double click on the first columns edits the parameter: OK takes the
  // text, Cancel leaves it; the dialog is titled by the indicator.
  wnd_->AddIndex(Index("营业总收入"));
  std::vector<std::string> titles;
  int answer = IDOK;
  orbe::SetDialogHandler([&](CDialog& dialog) {
    CString title;
    dialog.GetWindowText(title);
    titles.push_back(title);
    auto& parameter = dynamic_cast<CDlgIndexParam&>(dialog);
    EXPECT_EQ(parameter.GetText(), Grid().GetItemText(1, 2));
    parameter.GetEdit()->SetText("2025年度");
    parameter.GetButton(answer)->Click();
  });
  ASSERT_TRUE(Grid().DoubleClickCell(1, 1));
  EXPECT_EQ(Grid().GetItemText(1, 2), "2025年度");
  answer = IDCANCEL;
  Grid().DoubleClickCell(1, 0);
  EXPECT_EQ(Grid().GetItemText(1, 2), "2025年度");
  answer = IDOK;
  Grid().DoubleClickCell(1, 4);  // the value column is typed into, not a dialog
  Grid().ClickCell(1, 2);
  wnd_->GetButton(orbe::kCmdEditCondition)->Click();
  orbe::SetDialogHandler(nullptr);
  EXPECT_EQ(titles, std::vector<std::string>(3, "修改参数 - 营业总收入"));
}

}  // namespace
