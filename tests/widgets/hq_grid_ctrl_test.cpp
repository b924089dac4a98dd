#include "orbe/widgets/hq_grid_ctrl.h"

#include <gtest/gtest.h>

namespace {

HQHead Head(const char* title, int decimals, double scale = 1) {
  HQHead head;
  head.title = title;
  head.decimals = decimals;
  head.scale = scale;
  return head;
}

TEST(HQGrid, HeadsColumnsAndFormattedData) {
  HQGridCtrl grid;
  EXPECT_EQ(grid.InsertHead(-1, Head("price", 2)), 0);
  EXPECT_EQ(grid.InsertHead(-1, Head("volume", 1, 10000)), 1);
  HQHead name = Head("name", 0);
  name.numeric = false;
  name.align = CellAlign::kLeft;
  EXPECT_EQ(grid.InsertHead(0, name), 0);  // before the others
  ASSERT_EQ(grid.GetColumnCount(), 3);
  EXPECT_EQ(grid.GetItemText(0, 0), "name");
  EXPECT_EQ(grid.GetItemText(0, 2), "volume");
  EXPECT_EQ(grid.GetHead(2)->scale, 10000);
  EXPECT_EQ(grid.GetColumnSortKind(0), GridSortKind::kText);
  EXPECT_EQ(grid.GetColumnSortKind(2), GridSortKind::kNumber);

  grid.SetDataRowCount(2);
  EXPECT_EQ(grid.GetRowCount(), 3);
  EXPECT_TRUE(grid.SetCellData(0, 0, "\xc6\xbd\xb0\xb2"));  // 平安
  EXPECT_TRUE(grid.SetCellData(0, 1, 12.345, RGB(0, 0, 255)));
  EXPECT_TRUE(grid.SetCellData(0, 2, 1234567.0));
  EXPECT_FALSE(grid.SetCellData(2, 0, 1.0));
  EXPECT_FALSE(grid.SetCellData(0, 3, 1.0));
  EXPECT_EQ(grid.GetItemText(1, 1), "12.35");
  EXPECT_EQ(grid.GetItemText(1, 2), "123.5");
  EXPECT_EQ(grid.GetCell(1, 1)->text_color, RGB(0, 0, 255));
  double value = 0;
  EXPECT_TRUE(grid.GetCellValue(0, 2, &value));
  EXPECT_EQ(value, 1234567.0);
  EXPECT_FALSE(grid.GetCellValue(0, 0, &value));  // a text has no value

  grid.SetHeadColors(0, RGB(255, 255, 82));
  grid.SetBodyColors(0, RGB(192, 192, 192));
  EXPECT_EQ(grid.GetFixedTextColor(), RGB(255, 255, 82));
  EXPECT_EQ(grid.GetTextBkColor(), 0u);
}

TEST(HQGrid, UpdatesColourByDirectionAndValuesFollowSorting) {
  HQGridCtrl grid;
  grid.InsertHead(-1, Head("price", 2));
  grid.SetDataRowCount(3);
  grid.UpdateCellData(0, 0, 10);
  EXPECT_TRUE(grid.IsCellChanged(0, 0));
  grid.ClearChangeMarks();
  grid.UpdateCellData(0, 0, 11);
  EXPECT_EQ(grid.GetCell(1, 0)->text_color, RGB(255, 0, 0));
  grid.UpdateCellData(0, 0, 9.5);
  EXPECT_EQ(grid.GetCell(1, 0)->text_color, RGB(0, 160, 0));
  grid.ClearChangeMarks();
  grid.UpdateCellData(0, 0, 9.5);
  EXPECT_EQ(grid.GetCell(1, 0)->text_color, RGB(0, 160, 0));
  EXPECT_FALSE(grid.IsCellChanged(0, 0));

  grid.SetCellData(1, 0, 30.0);
  grid.SetCellData(2, 0, 20.0);
  grid.SetItemData(2, 0, 777);
  ASSERT_TRUE(grid.SortItems(0, false));
  double value = 0;
  grid.GetCellValue(0, 0, &value);
  EXPECT_EQ(value, 30.0);
  grid.GetCellValue(2, 0, &value);
  EXPECT_EQ(value, 9.5);
  EXPECT_EQ(grid.GetItemText(3, 0), "9.50");
  EXPECT_EQ(grid.GetItemData(1, 0), 777);  // the caller's item data survives
  grid.UpdateCellData(2, 0, 9.0);          // the value moved with its row
  EXPECT_EQ(grid.GetCell(3, 0)->text_color, RGB(0, 160, 0));
}

}  // namespace
