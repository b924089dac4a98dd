// The statistics of result columns: the computation over checked rows as
// data, and the statistics pane driven through its options panel over a
// result grid laid out as the result display lays it out.
#include <gtest/gtest.h>

#include <map>

#include "orbe/screening/stat_calculate_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_ctrl.h"
#include "screening/column_statistics.h"

namespace {

using orbe::Statistic;

std::vector<Statistic> AllStatistics() {
  std::vector<Statistic> all;
  for (const orbe::StatisticSpec& spec : orbe::kStatistics) all.push_back(spec.statistic);
  return all;
}

orbe::StatColumn Column(int type, std::vector<std::string> texts, std::vector<bool> checked = {}) {
  if (checked.empty()) checked.assign(texts.size(), true);
  return orbe::StatColumn{type, std::move(texts), std::move(checked)};
}

// In output-row order: 总和 算术平均 计数 中位数 最大值 最小值 样本标准差 总体标准差 样本方差 总体方差 加权平均.
TEST(ColumnStatisticsTest, EveryStatisticOfTheCheckedCells) {
  struct Case {
    const char* name;
    orbe::StatColumn column;
    std::vector<std::string> want;
  };
  const Case cases[] = {
      {"one to four",
       Column(orbe::kStatDouble, {"1", "2", "3", "4"}),
       {"10.00", "2.50", "4", "2.50", "4.00", "1.00", "1.29", "1.12", "1.67", "1.25", "--"}},
      {"one value spreads by nothing",
       Column(orbe::kStatInt32, {"7"}),
       {"7.00", "7.00", "1", "7.00", "7.00", "7.00", "0.00", "0.00", "0.00", "0.00", "--"}},
      {"odd count: the middle value",
       Column(orbe::kStatInt64, {"9", "1", "5"}),
       {"15.00", "5.00", "3", "5.00", "9.00", "1.00", "4.00", "3.27", "16.00", "10.67", "--"}},
      {"empty and unchecked cells are neither counted nor used",
       Column(orbe::kStatDouble, {"2", "", "4", "100", "--"}, {true, true, true, false, true}),
       {"6.00", "3.00", "2", "3.00", "4.00", "2.00", "1.41", "1.00", "2.00", "1.00", "--"}},
      {"a leading minus is a number",
       Column(orbe::kStatDouble, {"-3", "1"}),
       {"-2.00", "-1.00", "2", "-1.00", "1.00", "-3.00", "2.83", "2.00", "8.00", "4.00", "--"}},
      {"a date makes the column text",
       Column(orbe::kStatDouble, {"1", "2026-09-30"}),
       {"--", "--", "2", "--", "--", "--", "--", "--", "--", "--", "--"}},
      {"a text type is never numeric",
       Column(orbe::kStatText, {"1", "2"}),
       {"--", "--", "2", "--", "--", "--", "--", "--", "--", "--", "--"}},
      {"no value",
       Column(orbe::kStatDouble, {"", ""}),
       {"--", "--", "0", "--", "--", "--", "--", "--", "--", "--", "--"}},
      // A spread below 1 is shown, not cut to 0.
      {"small spread",
       Column(orbe::kStatDouble, {"1.0", "1.2"}),
       {"2.20", "1.10", "2", "1.10", "1.20", "1.00", "0.14", "0.10", "0.02", "0.01", "--"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(orbe::ComputeStatistics(c.column, AllStatistics(), std::nullopt), c.want);
  }
}

TEST(ColumnStatisticsTest, WeightedMeanAndChosenStatistics) {
  struct Case {
    const char* name;
    std::vector<bool> checked;
    std::vector<double> weights;
    std::string want;
  };
  const Case cases[] = {
      {"weights of the checked rows", {true, true, true}, {1, 1, 2}, "2.50"},  // (1 + 2 + 7) / 4
      {"an unchecked row weighs nothing", {true, false, true}, {1, 5, 1}, "2.25"},
      {"no weight at all", {true, true, true}, {0, 0, 0}, "--"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    orbe::StatWeights weights{c.weights, 0};
    for (std::size_t i = 0; i < c.weights.size(); ++i) {
      if (c.checked[i]) weights.total += c.weights[i];
    }
    const orbe::StatColumn column = Column(orbe::kStatDouble, {"1", "2", "3.5"}, c.checked);
    EXPECT_EQ(orbe::ComputeStatistics(column, {Statistic::kWeightedMean, Statistic::kCount}, weights),
              (std::vector<std::string>{c.want, c.checked[1] ? "3" : "2"}));
  }
  EXPECT_TRUE(orbe::ComputeStatistics(Column(orbe::kStatDouble, {"1"}), {}, std::nullopt).empty());
}

// A result grid: 序号, 代码, 简称, the check boxes, then one indicator column per entry.
class StatisticsPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner_.Create(nullptr, RECT{0, 0, 900, 600}, 1, WS_VISIBLE));
    result_ = std::make_unique<CGridCtrl>(1, 6, 1, 3);
    ASSERT_TRUE(result_->Create(RECT{0, 0, 900, 300}, &owner_, 13001));
    const char* headers[] = {"序号", "代码", "简称", "选择", "收盘价", "公告日"};
    const int types[] = {0, 0, 0, 0, orbe::kStatDouble, orbe::kStatDouble};
    for (int col = 0; col < 6; ++col) {
      result_->SetItemText(0, col, headers[col]);
      result_->SetItemData(0, col, types[col]);
      result_->SetColumnWidth(col, 40 + col);
    }
    const char* rows[][3] = {
        {"600000", "1", "2026-01-05"}, {"600001", "2", ""}, {"600002", "3", "2026-02-01"}, {"600003", "4", ""}};
    for (const auto& row : rows) {
      const int r = result_->InsertRow("");
      result_->SetItemText(r, 1, row[0]);
      result_->SetItemText(r, 4, row[1]);
      result_->SetItemText(r, 5, row[2]);
      result_->SetCellType(r, 3, GridCellType::kCheck);
      result_->SetCheck(r, 3, true);
    }
    pane_ = std::make_unique<CStatCalculateWnd>();
    ASSERT_TRUE(pane_->Create(&owner_, RECT{0, 300, 900, 600}, 7000, WS_CHILD | WS_VISIBLE));
    pane_->SetResultGrid(result_.get());
    pane_->RefreshWeightList();
  }

  CDlgCalculate& Options() { return *pane_->GetOptions(); }
  void Press(UINT button) {
    ASSERT_TRUE(Options().GetButton(button)->Click());
    orbe::RunUntilIdle();
  }
  std::vector<bool> Checks() const {
    std::vector<bool> checks;
    for (int row = 1; row < result_->GetRowCount(); ++row) checks.push_back(result_->GetCheck(row, 3));
    return checks;
  }
  // Statistic label -> the texts of its row.
  std::map<std::string, std::vector<std::string>> Output() const {
    std::map<std::string, std::vector<std::string>> out;
    const CGridCtrl& grid = *pane_->GetOutputGrid();
    for (int row = 0; row < grid.GetRowCount(); ++row) {
      for (int col = 1; col < grid.GetColumnCount(); ++col)
        out[grid.GetItemText(row, 0)].push_back(grid.GetItemText(row, col));
    }
    return out;
  }

  CWnd owner_;
  std::unique_ptr<CGridCtrl> result_;
  std::unique_ptr<CStatCalculateWnd> pane_;
};

TEST_F(StatisticsPaneTest, OptionsPanelChoosesStatisticsRowsAndWeights) {
  EXPECT_EQ(Options().GetWeightList()->GetCount(), 2);
  EXPECT_EQ(Options().GetWeightTitle(), "收盘价");
  // Nothing enabled: the computation still runs and leaves no rows.
  Press(CDlgCalculate::kComputeButton);
  EXPECT_EQ(pane_->GetOutputGrid()->GetRowCount(), 0);
  EXPECT_EQ(pane_->GetOutputGrid()->GetColumnCount(), 3);

  for (const UINT control : {4006u, 4009u, 4008u, 4004u, 4005u}) Options().GetStatisticCheck(control)->Click();
  Press(CDlgCalculate::kComputeButton);
  const CGridCtrl& out = *pane_->GetOutputGrid();
  ASSERT_EQ(out.GetRowCount(), 5);
  // Rows stand in the table's order, whatever order they were checked in.
  std::vector<std::string> labels;
  for (int row = 0; row < out.GetRowCount(); ++row) labels.push_back(out.GetItemText(row, 0));
  EXPECT_EQ(labels, (std::vector<std::string>{"计数", "中位数", "样本方差", "总体方差", "加权平均"}));
  auto stats = Output();
  EXPECT_EQ(stats["中位数"], (std::vector<std::string>{"2.50", "--"}));
  EXPECT_EQ(stats["样本方差"], (std::vector<std::string>{"1.67", "--"}));
  EXPECT_EQ(stats["总体方差"], (std::vector<std::string>{"1.25", "--"}));
  EXPECT_EQ(stats["计数"], (std::vector<std::string>{"4", "2"}));
  EXPECT_EQ(stats["加权平均"], (std::vector<std::string>{"3.00", "--"}));  // 1+4+9+16 over 10
  // Widths: the label column spans the first three result columns, the first
  // statistics column also the check boxes'.
  EXPECT_EQ(out.GetColumnWidth(0), 40 + 41 + 42);
  EXPECT_EQ(out.GetColumnWidth(1), 43 + 44);
  EXPECT_EQ(out.GetColumnWidth(2), 45);

  // Row choice: select row 3, clear above it (rows 1-2), invert, check all.
  result_->ClickCell(3, 4);
  Press(CDlgCalculate::kClearAboveButton);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(Output()["中位数"], (std::vector<std::string>{"3.50", "--"}));
  Press(CDlgCalculate::kClearBelowButton);
  EXPECT_EQ(Checks(), (std::vector<bool>{false, false, true, false}));
  EXPECT_EQ(Output()["计数"], (std::vector<std::string>{"1", "1"}));
  EXPECT_EQ(Output()["样本方差"], (std::vector<std::string>{"0.00", "--"}));
  Press(CDlgCalculate::kInvertButton);
  EXPECT_EQ(Checks(), (std::vector<bool>{true, true, false, true}));
  Press(CDlgCalculate::kCheckAllButton);
  EXPECT_EQ(Checks(), (std::vector<bool>(4, true)));
  // Reset clears every statistic and computes: no rows.
  Press(CDlgCalculate::kResetButton);
  EXPECT_EQ(pane_->GetOutputGrid()->GetRowCount(), 0);
  EXPECT_FALSE(Options().GetStatisticCheck(4006)->GetCheck());
}

TEST_F(StatisticsPaneTest, TheToggleShowsThePanelUnderTheRows) {
  Options().GetStatisticCheck(4011)->Click();
  Options().GetStatisticCheck(4001)->Click();
  Press(CDlgCalculate::kComputeButton);
  EXPECT_EQ(pane_->GetPaneHeight(), 2 * CStatCalculateWnd::kRowHeight);
  pane_->ToggleOptions();
  EXPECT_TRUE(pane_->OptionsShown());
  EXPECT_EQ(pane_->GetPaneHeight(), 2 * CStatCalculateWnd::kRowHeight + CDlgCalculate::kHeight);
  EXPECT_TRUE(Options().IsWindowVisible());
  pane_->ToggleOptions();
  EXPECT_EQ(pane_->GetShowCount(), 2);
  EXPECT_FALSE(Options().IsWindowVisible());
  EXPECT_EQ(pane_->GetPaneHeight(), 2 * CStatCalculateWnd::kRowHeight);
}

}  // namespace
