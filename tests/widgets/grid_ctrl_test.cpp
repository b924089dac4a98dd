#include "orbe/widgets/grid_ctrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_render.h"

namespace {

// Records the WM_NOTIFY codes a grid sends to its parent.
class NotifyParent : public CWnd {
 public:
  std::vector<UINT> codes;
  std::vector<CCellID> cells;
  std::vector<CCellID> crosses;  // posted cross-selection messages
  LRESULT begin_edit_answer = 0;
  static constexpr UINT kCrossMessage = WM_USER + 1;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kCrossMessage) crosses.push_back({static_cast<int>(wparam), static_cast<int>(lparam)});
    if (message != WM_NOTIFY) return CWnd::WindowProc(message, wparam, lparam);
    const auto* record = reinterpret_cast<const NM_GRIDVIEW*>(lparam);
    codes.push_back(record->hdr.code);
    cells.push_back({record->iRow, record->iColumn});
    return record->hdr.code == GVN_BEGINLABELEDIT ? begin_edit_answer : 0;
  }
};

class RecordingListener : public IGridNotifyMsg {
 public:
  std::vector<std::string> events;
  void OnGridClick(CGridCtrl&, int row, int col) override { Add("click", row, col); }
  void OnGridDblClick(CGridCtrl&, int row, int col) override { Add("dblclick", row, col); }
  void OnGridSelChanged(CGridCtrl&, int row, int col) override { Add("sel", row, col); }
  void OnGridEndEdit(CGridCtrl&, int row, int col, const std::string& text) override {
    Add("edit:" + text, row, col);
  }
  void OnGridCheckClicked(CGridCtrl&, int row, int col, bool checked) override {
    Add(checked ? "check:1" : "check:0", row, col);
  }
  void OnGridComboSelChange(CGridCtrl&, int row, int col, int index) override {
    Add("combo:" + std::to_string(index), row, col);
  }

 private:
  void Add(const std::string& what, int row, int col) {
    events.push_back(what + "@" + std::to_string(row) + "," + std::to_string(col));
  }
};

struct GridFixture : ::testing::Test {
  NotifyParent parent;
  CGridCtrl grid{4, 3, 1, 1};
  RecordingListener listener;

  void SetUp() override {
    ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 400, 300}, 1));
    ASSERT_TRUE(grid.Create(RECT{0, 0, 300, 200}, &parent, 13001));
    grid.SetNotifyListener(&listener);
  }
};

std::vector<std::string> Column(const CGridCtrl& grid, int col) {
  std::vector<std::string> texts;
  for (int row = grid.GetFixedRowCount(); row < grid.GetRowCount(); ++row)
    texts.push_back(grid.GetItemText(row, col));
  return texts;
}

TEST_F(GridFixture, SortsNumbersByValueAndTextsByBytes) {
  grid.SetRowCount(6);
  const std::vector<std::string> numbers = {"10", "--", "9.5", "1,200", "-3"};
  const std::vector<std::string> names = {"b", "B", "\xd6\xd0", "a", ""};
  for (int i = 0; i < 5; ++i) {
    grid.SetItemText(1 + i, 1, numbers[static_cast<std::size_t>(i)]);
    grid.SetItemText(1 + i, 2, names[static_cast<std::size_t>(i)]);
  }
  grid.SetItemText(0, 1, "header stays");
  grid.SetColumnSortKind(1, GridSortKind::kNumber);

  ASSERT_TRUE(grid.SortItems(1, true));
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"-3", "9.5", "10", "1,200", "--"}));
  // Rows move whole: the texts travel with their numbers.
  EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"", "\xd6\xd0", "b", "a", "B"}));
  ASSERT_TRUE(grid.SortItems(1, false));
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"1,200", "10", "9.5", "-3", "--"}));
  EXPECT_EQ(grid.GetItemText(0, 1), "header stays");

  // As text, "10" sorts before "9.5"; GBK bytes sort after ASCII.
  grid.SetColumnSortKind(1, GridSortKind::kText);
  grid.SortItems(1, true);
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"--", "-3", "1,200", "10", "9.5"}));
  grid.SortItems(2, true);
  EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"", "B", "a", "b", "\xd6\xd0"}));
  EXPECT_FALSE(grid.SortItems(3, true));
}

TEST_F(GridFixture, HeaderClickTogglesSortOrder) {
  grid.SetHeaderSort(true);
  grid.SetColumnSortKind(1, GridSortKind::kNumber);
  grid.SetItemText(1, 1, "2");
  grid.SetItemText(2, 1, "3");
  grid.SetItemText(3, 1, "1");
  ASSERT_TRUE(grid.ClickCell(0, 1));
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"1", "2", "3"}));
  grid.ClickCell(0, 1);
  EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"3", "2", "1"}));
  EXPECT_FALSE(grid.GetSortAscending());
  EXPECT_EQ(parent.codes, (std::vector<UINT>{GVN_COLUMNCLICK, NM_CLICK, GVN_COLUMNCLICK, NM_CLICK}));
}

TEST_F(GridFixture, CheckCellsToggleOnClickUnlessReadOnly) {
  ASSERT_TRUE(grid.SetCellType(1, 2, GridCellType::kCheck));
  EXPECT_FALSE(grid.SetCheck(2, 2, true)) << "not a check cell";
  ASSERT_TRUE(grid.ClickCell(1, 2));
  EXPECT_TRUE(grid.GetCheck(1, 2));
  EXPECT_EQ(parent.codes, (std::vector<UINT>{GVN_SELCHANGED, GVN_CHECKCLICKED, NM_CLICK}));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"sel@1,2", "check:1@1,2", "click@1,2"}));

  parent.codes.clear();
  grid.ClickCell(1, 2);
  EXPECT_FALSE(grid.GetCheck(1, 2));
  EXPECT_EQ(parent.codes, (std::vector<UINT>{GVN_CHECKCLICKED, NM_CLICK})) << "selection unchanged";

  grid.SetCellReadOnly(1, 2, true);
  parent.codes.clear();
  grid.ClickCell(1, 2);
  EXPECT_FALSE(grid.GetCheck(1, 2));
  EXPECT_EQ(parent.codes, (std::vector<UINT>{NM_CLICK}));
}

TEST_F(GridFixture, SelectionFollowsClicksAndListMode) {
  grid.ClickCell(2, 1);
  EXPECT_EQ(grid.GetFocusCell(), (CCellID{2, 1}));
  EXPECT_EQ(grid.GetSelectedCellRange(), (CCellRange{2, 1, 2, 1}));
  grid.SetListMode(true);
  grid.ClickCell(3, 2);
  EXPECT_EQ(grid.GetSelectedCellRange(), (CCellRange{3, 1, 3, 2}));
  EXPECT_TRUE(grid.IsCellSelected(3, 1));
  EXPECT_FALSE(grid.IsCellSelected(2, 1));
  // Shrinking the grid drops a selection that no longer fits.
  grid.SetRowCount(3);
  EXPECT_FALSE(grid.GetSelectedCellRange().IsValid());
  EXPECT_FALSE(grid.GetFocusCell().IsValid());
  EXPECT_FALSE(grid.ClickCell(5, 0));
}

TEST_F(GridFixture, CrossSelectionMarksRowAndColumnAndTellsTheParent) {
  grid.SetSelColor(52479);
  grid.EnableCrossSelection(true, NotifyParent::kCrossMessage);
  // The programmatic start, as a report sets it: silent.
  ASSERT_TRUE(grid.SetCrossCell(1, 1));
  EXPECT_FALSE(grid.SetCrossCell(0, 1));  // fixed
  EXPECT_FALSE(grid.SetCrossCell(9, 1));
  struct Click {
    int row, col;
    std::vector<CCellID> posted;
  } const clicks[] = {
      {2, 2, {{2, 2}}},
      {2, 2, {}},      // the cross did not move
      {0, 1, {}},      // a fixed cell moves nothing
      {3, 1, {{3, 1}}},
  };
  for (const Click& click : clicks) {
    parent.crosses.clear();
    grid.ClickCell(click.row, click.col);
    orbe::RunUntilIdle();
    EXPECT_EQ(parent.crosses, click.posted) << click.row << "," << click.col;
  }
  EXPECT_EQ(grid.GetCrossCell(), (CCellID{3, 1}));
  // Row 3 and column 1, non-fixed cells only.
  const bool expected[4][3] = {{false, false, false}, {false, true, false}, {false, true, false}, {false, true, true}};
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) EXPECT_EQ(grid.IsCellCrossSelected(row, col), expected[row][col]) << row << col;
  }
  // The page paints the cross in the selection colour (0x00CCFF is #ffcc00).
  grid.SetItemText(2, 1, "crossed");
  const std::string html = orbe::RenderWindowHtml(grid);
  EXPECT_NE(html.find("background:#ffcc00"), std::string::npos);
  // Off: nothing is cross-selected, the cell is kept for later.
  grid.EnableCrossSelection(false);
  EXPECT_FALSE(grid.IsCellCrossSelected(3, 2));
  EXPECT_EQ(grid.GetCrossCell(), (CCellID{3, 1}));
  grid.SetRowCount(3);
  EXPECT_FALSE(grid.GetCrossCell().IsValid());
}

TEST_F(GridFixture, SelectedCellsTakeTheSelectionColours) {
  grid.SetItemFgColour(2, 1, RGB(255, 0, 0));
  grid.SetSelColor(0x800000);
  grid.ClickCell(2, 1);
  std::string html = orbe::RenderWindowHtml(grid);
  EXPECT_NE(html.find("background:#000080"), std::string::npos);
  EXPECT_NE(html.find("color:#ff0000"), std::string::npos);  // keeps its colour
  grid.SetSelTextColor(RGB(255, 255, 255));
  html = orbe::RenderWindowHtml(grid);
  EXPECT_EQ(html.find("color:#ff0000"), std::string::npos);
}

TEST_F(GridFixture, DoubleClickIsAClickThenADoubleClick) {
  ASSERT_TRUE(grid.DoubleClickCell(1, 1));
  EXPECT_EQ(parent.codes, (std::vector<UINT>{GVN_SELCHANGED, NM_CLICK, NM_DBLCLK}));
  EXPECT_EQ(listener.events.back(), "dblclick@1,1");
}

TEST_F(GridFixture, EditingRespectsReadOnlyFixedAndVeto) {
  EXPECT_TRUE(grid.EditCell(1, 1, "new"));
  EXPECT_EQ(grid.GetItemText(1, 1), "new");
  EXPECT_EQ(parent.codes, (std::vector<UINT>{GVN_BEGINLABELEDIT, GVN_ENDLABELEDIT}));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"edit:new@1,1"}));

  EXPECT_FALSE(grid.EditCell(0, 1, "x")) << "fixed row";
  EXPECT_FALSE(grid.EditCell(1, 0, "x")) << "fixed column";
  grid.SetRowReadOnly(2, true);
  EXPECT_FALSE(grid.EditCell(2, 1, "x"));
  grid.SetEditable(false);
  EXPECT_FALSE(grid.EditCell(3, 1, "x"));
  grid.SetEditable(true);
  parent.begin_edit_answer = -1;
  EXPECT_FALSE(grid.EditCell(3, 1, "vetoed"));
  EXPECT_EQ(grid.GetItemText(3, 1), "");
}

TEST_F(GridFixture, ComboCellsPickTheirEntries) {
  ASSERT_TRUE(grid.SetComboItems(1, 2, {"", "\xb5\xc8\xd3\xda", "\xb4\xf3\xd3\xda"}));
  EXPECT_FALSE(grid.EditCell(1, 2, "typed")) << "a drop-down list is not typed into";
  ASSERT_TRUE(grid.PickComboEntry(1, 2, 2));
  EXPECT_EQ(grid.GetItemText(1, 2), "\xb4\xf3\xd3\xda");
  EXPECT_EQ(parent.codes, (std::vector<UINT>{GVN_COMBOSELCHANGE}));
  EXPECT_EQ(listener.events, (std::vector<std::string>{"combo:2@1,2"}));
  EXPECT_FALSE(grid.PickComboEntry(1, 2, 3));
  EXPECT_FALSE(grid.PickComboEntry(1, 2, -1));
  EXPECT_FALSE(grid.PickComboEntry(2, 2, 0)) << "not a combo cell";
}

TEST(GridShape, ResizingKeepsCellsAndClampsFixedCounts) {
  CGridCtrl grid(2, 2, 1, 1);
  grid.SetItemText(1, 1, "kept");
  grid.SetColumnCount(4);
  grid.SetRowCount(5);
  EXPECT_EQ(grid.GetItemText(1, 1), "kept");
  EXPECT_EQ(grid.InsertRow("first", 1), 1);
  EXPECT_EQ(grid.GetItemText(1, 0), "first");
  EXPECT_EQ(grid.GetItemText(2, 1), "kept");
  EXPECT_TRUE(grid.DeleteRow(0));
  EXPECT_EQ(grid.GetFixedRowCount(), 0);
  EXPECT_EQ(grid.GetItemText(5, 5), "");
  EXPECT_EQ(grid.GetCell(-1, 0), nullptr);
  EXPECT_FALSE(grid.SetColumnWidth(9, 10));
  grid.SetColumnWidth(2, 0);
  EXPECT_FALSE(grid.IsColumnShown(2));
  grid.AutoSizeColumns();
  EXPECT_FALSE(grid.IsColumnShown(2)) << "hidden columns stay hidden";
  EXPECT_GT(grid.GetColumnWidth(1), grid.GetColumnWidth(3));
}

TEST(GridNumbers, ParsesShownNumbers) {
  double value = 0;
  EXPECT_TRUE(orbe::ParseGridNumber("1,234.5", &value));
  EXPECT_DOUBLE_EQ(value, 1234.5);
  EXPECT_TRUE(orbe::ParseGridNumber("-12%", &value));
  EXPECT_DOUBLE_EQ(value, -12);
  EXPECT_FALSE(orbe::ParseGridNumber("--", &value));
  EXPECT_FALSE(orbe::ParseGridNumber("", &value));
  EXPECT_FALSE(orbe::ParseGridNumber("12abc", &value));
  EXPECT_FALSE(orbe::ParseGridNumber("1e999", &value));
}

}  // namespace
