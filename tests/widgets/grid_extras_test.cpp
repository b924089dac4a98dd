// The grid's extras as a user and the page see them: cell links, images,
// hidden texts and tips; merged fixed cells; alternating rows, sort arrows
// and lines; auto-sizing; hit tests and the cells in view; cross ranges and
// the selection and resize switches.
#include <gtest/gtest.h>

#include "orbe/platform/shell.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/pager.h"

namespace {

std::string Page(const CGridCtrl& grid) {
  orbe::HtmlWriter out;
  grid.RenderHtml(out);
  return out.Take();
}

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

// 6 rows (1 fixed) by 4 columns (1 fixed), 20 px rows, 80 px columns.
struct Grid {
  CGridCtrl grid{6, 4, 1, 1};
  Grid() { grid.Create(RECT{0, 0, 250, 70}, nullptr, 1); }
};

TEST(GridExtras, CellExtrasShowAndActAsTheyShould) {
  Grid g;
  CGridCtrl& grid = g.grid;
  std::vector<std::string> opened;
  const auto previous = orbe::SetShellExecuteHandler([&](const orbe::ShellRequest& r) {
    opened.push_back(r.file);
    return kShellExecuteDone;
  });
  EXPECT_TRUE(grid.SetItemUrl(1, 1, "http://example/q?a=1&b=2"));
  grid.SetItemText(1, 1, "link");
  EXPECT_TRUE(grid.SetItemUrl(1, 2, "javascript:alert(1)"));
  EXPECT_TRUE(grid.SetItemImage(2, 1, static_cast<int>(GridCellImage::kStar)));
  EXPECT_FALSE(grid.SetItemImage(2, 1, kGridCellImageCount));
  EXPECT_TRUE(grid.SetCellType(2, 2, GridCellType::kImage));
  grid.SetItemImage(2, 2, 0);
  grid.SetItemText(2, 2, "not shown");
  EXPECT_TRUE(grid.SetItemHidden(3, 1, "key-7"));
  EXPECT_EQ(grid.GetItemHidden(3, 1), "key-7");
  EXPECT_TRUE(grid.SetItemTitleTip(3, 2, "T", "body"));
  EXPECT_TRUE(grid.AddComboItem(4, 1, "a"));
  EXPECT_TRUE(grid.SetComboStyle(4, 1, 1));
  EXPECT_FALSE(grid.SetComboStyle(4, 1, 2));
  EXPECT_FALSE(grid.SetItemUrl(99, 1, "x"));

  const std::string page = Page(grid);
  EXPECT_NE(page.find("<a href=\"http://example/q?a=1&amp;b=2\">link</a>"), std::string::npos);
  EXPECT_EQ(page.find("href=\"javascript"), std::string::npos) << "only safe addresses become links";
  EXPECT_NE(page.find("data-image=\"3\""), std::string::npos);
  EXPECT_EQ(page.find("not shown"), std::string::npos);
  EXPECT_NE(page.find("data-hide=\"key-7\""), std::string::npos);
  EXPECT_NE(page.find("title=\"T&#10;body\""), std::string::npos);
  EXPECT_NE(page.find("&#9998;"), std::string::npos) << "an editable drop-down";

  // A click on a link opens it; on a fixed or plain cell nothing opens.
  EXPECT_TRUE(grid.ClickCell(1, 1));
  EXPECT_TRUE(grid.ClickCell(3, 3));
  EXPECT_EQ(opened, std::vector<std::string>{"http://example/q?a=1&b=2"});
  orbe::SetShellExecuteHandler(previous);

  grid.CleanNonFixedCells();
  EXPECT_EQ(grid.GetItemHidden(3, 1), "");
  EXPECT_EQ(grid.GetCell(1, 1)->type, GridCellType::kText);
  EXPECT_EQ(grid.GetRowCount(), 6) << "rows stay";
}

TEST(GridExtras, MergedFixedCellsAndTheHeadingsLook) {
  Grid g;
  CGridCtrl& grid = g.grid;
  grid.SetItemText(0, 1, "merged");
  const struct {
    CCellRange range;
    bool taken;
  } merges[] = {
      {{0, 1, 0, 2}, true},    // two heading cells
      {{0, 2, 0, 3}, false},   // overlaps the first
      {{1, 1, 2, 2}, false},   // data cells
      {{0, 3, 0, 3}, false},   // one cell merges nothing
      {{2, 0, 4, 0}, true},    // down the fixed column
      {{0, 0, 0, 9}, false},   // past the grid
  };
  for (const auto& m : merges) {
    EXPECT_EQ(grid.MergeFixedCells({m.range, CellAlign::kCenter, RGB(1, 2, 3)}), m.taken)
        << m.range.min_row << "," << m.range.min_col;
  }
  ASSERT_NE(grid.MergeAt(0, 2), nullptr);
  EXPECT_EQ(grid.MergeAt(0, 2)->range.min_col, 1);

  grid.Look().alternate_even = RGB(255, 0, 0);
  grid.Look().alternate_odd = RGB(0, 255, 0);
  grid.Look().lines = GVL_HORZ;
  grid.SetColumnSortKind(3, GridSortKind::kNumber);
  grid.SortItems(3, false);
  grid.Look().arrow_color = RGB(0, 0, 255);
  std::string page = Page(grid);
  EXPECT_EQ(Count(page, "colspan=\"2\""), 1u);
  EXPECT_EQ(Count(page, "rowspan=\"3\""), 1u);
  EXPECT_EQ(Count(page, " merged"), 2u);
  EXPECT_NE(page.find("width:160px"), std::string::npos) << "the merged width";
  EXPECT_EQ(Count(page, "background:#ff0000"), 9u) << "the data cells of rows 1, 3, 5 by their parity";
  EXPECT_EQ(Count(page, "background:#00ff00"), 6u);
  EXPECT_NE(page.find("border-left:none"), std::string::npos) << "horizontal lines only";
  EXPECT_NE(page.find("<span class=\"arrow\" style=\"color:#0000ff\">&#9660;</span>"), std::string::npos);

  grid.Look().arrow_type = 2;
  grid.Look().fixed_gradient = true;
  grid.Look().gradient_from = RGB(1, 1, 1);
  grid.Look().gradient_to = RGB(2, 2, 2);
  grid.Look().frame_color = RGB(9, 9, 9);
  grid.Look().frame_width = 2;
  page = Page(grid);
  EXPECT_EQ(page.find("class=\"arrow\""), std::string::npos) << "type 2 shows no arrow";
  EXPECT_NE(page.find("linear-gradient(to bottom,#010101,#020202)"), std::string::npos);
  EXPECT_NE(page.find("outline:2px solid #090909"), std::string::npos);

  grid.SetFixedRowCount(0);  // the heading merge no longer lies in fixed cells
  EXPECT_EQ(grid.MergeAt(0, 1), nullptr);
  grid.UnMergeAllFixedCells();
  EXPECT_TRUE(grid.GetMerges().empty());
}

TEST(GridExtras, AutoSizeHitTestsAndTheCellsInView) {
  Grid g;
  CGridCtrl& grid = g.grid;
  grid.SetItemText(0, 2, "heading-wide");  // 12 bytes
  grid.SetItemText(3, 2, "abc");
  grid.SetMultiLineItemText(4, 1, "one\ntwo\nthree");
  EXPECT_TRUE(grid.AutoSizeColumn(2, GVS_DATA));
  EXPECT_EQ(grid.GetColumnWidth(2), 3 * 7 + 8);
  EXPECT_TRUE(grid.AutoSizeColumn(2, GVS_BOTH));
  EXPECT_EQ(grid.GetColumnWidth(2), 12 * 7 + 8);
  grid.SetColumnWidth(3, 0);
  EXPECT_FALSE(grid.AutoSizeColumn(3, GVS_BOTH)) << "a hidden column stays hidden";
  EXPECT_TRUE(grid.AutoSizeRow(4));
  EXPECT_EQ(grid.GetRowHeight(4), 3 * 18 + 2);
  EXPECT_FALSE(grid.SetAutoSizeStyle(4));

  grid.SetColumnWidth(2, 80);
  grid.SetRowHeight(4, 20);
  EXPECT_EQ(grid.GetTotalSize().cx, 80 * 3);
  EXPECT_EQ(grid.GetTotalSize().cy, 6 * 20);
  // Client 250 x 70: the fixed row and column, then the scrolled part.
  const struct {
    int x, y;
    CCellID cell;
  } points[] = {{5, 5, {0, 0}}, {85, 25, {1, 1}}, {170, 45, {2, 2}}, {5, 65, {3, 0}}, {-1, 5, {}}, {5, 500, {}}};
  for (const auto& p : points) EXPECT_EQ(grid.GetCellFromPt(p.x, p.y), p.cell) << p.x << "," << p.y;
  EXPECT_EQ(grid.GetVisibleNonFixedCellRange(), (CCellRange{1, 1, 3, 2}));
  grid.SetScrollPos32(0, 2);
  EXPECT_EQ(grid.GetCellFromPt(85, 25), (CCellID{3, 1})) << "scrolled rows move under the heading";
  EXPECT_EQ(grid.GetVisibleNonFixedCellRange().min_row, 3);
}

TEST(GridExtras, CrossRangesAndTheSelectionSwitches) {
  Grid g;
  CGridCtrl& grid = g.grid;
  grid.EnableCrossSelection(true, 0);
  EXPECT_TRUE(grid.SetCrossRange({1, 1, 2, 2}, false));
  EXPECT_FALSE(grid.SetCrossRange({0, 1, 2, 2}, false)) << "a fixed corner";
  EXPECT_TRUE(grid.IsCellCrossSelected(5, 2)) << "column 2 is in the range";
  EXPECT_TRUE(grid.IsCellCrossSelected(2, 3)) << "row 2 is in the range";
  EXPECT_FALSE(grid.IsCellCrossSelected(4, 3));
  grid.SetRowCount(2);  // the range no longer fits
  EXPECT_FALSE(grid.GetCrossRange().IsValid());
  grid.SetRowCount(6);

  grid.SetSingleColSelection(true);
  grid.ClickCell(3, 2);
  EXPECT_EQ(grid.GetSelectedCellRange(), (CCellRange{1, 2, 5, 2}));
  grid.SetSingleColSelection(false);
  grid.EnableSelectFixedColumn(true);
  grid.ClickCell(4, 0);
  EXPECT_EQ(grid.GetSelectedCellRange(), (CCellRange{4, 1, 4, 3}));
  EXPECT_TRUE(grid.SelectColumn(3));
  EXPECT_TRUE(grid.IsCellSelected(5, 3));
  EXPECT_FALSE(grid.SelectRow(9));

  grid.SetColumnResize(false);
  EXPECT_FALSE(grid.ResizeColumn(1, 50));
  grid.SetRowResize(false);
  EXPECT_FALSE(grid.ResizeRow(1, 50));
  grid.SetRowResize(true);
  EXPECT_TRUE(grid.ResizeRow(1, 50));

  // After a heading click's sort, a grid that goes to its head scrolls back up.
  grid.SetHeaderSort(true);
  grid.SetSortedGoHead(true);
  grid.SetScrollPos32(0, 3);
  grid.ClickCell(0, 2);
  EXPECT_EQ(grid.GetScrollPos32().row, 0);
}

// A script's count is refused when it cannot be held, rather than allocated.
TEST(GridExtras, CountsBeyondTheLimitsAreRefused) {
  CGridCtrl grid(2, 2);
  EXPECT_FALSE(grid.SetRowCount(CGridCtrl::kMaxRows + 1));
  EXPECT_FALSE(grid.SetColumnCount(CGridCtrl::kMaxColumns + 1));
  EXPECT_TRUE(grid.SetColumnCount(1000));
  EXPECT_FALSE(grid.SetRowCount(20000)) << "20 million cells";
  EXPECT_FALSE(grid.SetFixedRowCount(2000000000));
  EXPECT_EQ(grid.GetRowCount(), 2);
  EXPECT_EQ(grid.GetFixedRowCount(), 0);
  CKvxPager pager(true);
  EXPECT_TRUE(pager.SetTotalPageNum(2147483647));
  EXPECT_FALSE(pager.SetMaxPageNumber(CKvxPager::kMaxShownPages + 1));
  EXPECT_TRUE(pager.SetCurPageNo(2147483647));
  EXPECT_EQ(pager.GetShownPages().back(), 2147483647) << "the last page, without overflow";
}

}  // namespace
