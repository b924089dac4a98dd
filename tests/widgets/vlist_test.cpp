#include "orbe/widgets/vlist.h"

#include <gtest/gtest.h>

namespace {

using orbe::ListValue;

VListHead Head(const std::string& title, int kind, int format = 0, int head_format = 0) {
  VListHead head;
  head.title = title;
  head.data_kind = kind;
  head.data_format = format;
  head.head_format = head_format;
  head.width = 60;
  return head;
}

// Three records: date, name, revenue (money), growth.
void Fill(VList& list) {
  list.SetHead({Head("date", 2, 13), Head("name", 0), Head("revenue", 1, 1, 1), Head("growth", 1, 2)});
  const int dates[] = {20100630, 20101231, 20110630};
  const char* names[] = {"a", "b", "c"};
  const double revenue[] = {1234567, 0, 25000000};
  const double growth[] = {5.5, -2.25, 0};
  for (int r = 0; r < 3; ++r) {
    ASSERT_EQ(list.AddRow(), r);
    list.SetValue(r, 0, ListValue::Date(dates[r]));
    list.SetValue(r, 1, ListValue::Text(names[r]));
    list.SetValue(r, 2, ListValue::Number(revenue[r]));
    list.SetValue(r, 3, ListValue::Number(growth[r]));
  }
}

TEST(VList, ShowsValuesByColumnFormats) {
  VList list;
  Fill(list);
  ASSERT_EQ(list.GetRowCount(), 4);
  EXPECT_EQ(list.GetItemText(0, 2), "revenue");
  EXPECT_EQ(list.GetItemText(1, 0), "2010-06-30");
  EXPECT_EQ(list.GetItemText(1, 2), "1,234,567.00");
  EXPECT_EQ(list.GetItemText(2, 3), "-2.25%");
  EXPECT_EQ(list.GetValueText(2, 1), "c");
  EXPECT_EQ(list.GetValueText(9, 1), "");
}

TEST(VList, MoneyUnitScalesAndLabelsMoneyColumns) {
  VList list;
  Fill(list);
  list.SetMoneyUnit(2);  // 万元
  EXPECT_EQ(list.GetItemText(0, 2), "revenue(\xcd\xf2\xd4\xaa)");
  EXPECT_EQ(list.GetItemText(1, 2), "123.46");
  EXPECT_EQ(list.GetItemText(3, 2), "2,500.00");
  EXPECT_EQ(list.GetItemText(1, 3), "5.50%") << "not a money column";
  list.SetMoneyUnit(9);
  EXPECT_EQ(list.GetMoneyUnit(), 2) << "an unknown unit is ignored";
  list.SetMoneyUnit(0);
  EXPECT_EQ(list.GetItemText(0, 2), "revenue");
}

TEST(VList, ReverseTurnsRecordsIntoColumnsAndBack) {
  VList list;
  Fill(list);
  list.SetFixFirstCol(true);
  list.Reverse();
  ASSERT_TRUE(list.IsReversed());
  ASSERT_EQ(list.GetRowCount(), 4);
  ASSERT_EQ(list.GetColumnCount(), 4);
  EXPECT_EQ(list.GetFixedRowCount(), 1) << "the first column's values head the turned list";
  EXPECT_EQ(list.GetItemText(0, 3), "2011-06-30");
  EXPECT_EQ(list.GetItemText(2, 0), "revenue");
  EXPECT_EQ(list.GetItemText(2, 1), "1,234,567.00");
  // Values set while turned land in the turned place.
  list.SetValue(0, 1, ListValue::Text("z"));
  EXPECT_EQ(list.GetItemText(1, 1), "z");
  EXPECT_FALSE(list.SortItems(1, true));
  list.Reverse();
  EXPECT_EQ(list.GetItemText(1, 1), "z");
  EXPECT_EQ(list.GetColumnCount(), 4);
  EXPECT_EQ(list.GetRowCount(), 4);
}

TEST(VList, SortsRecordsByValue) {
  VList list;
  Fill(list);
  list.SetValue(1, 3, ListValue::Invalid());
  ASSERT_TRUE(list.SortByColumn(2, false));
  EXPECT_EQ(list.GetItemText(1, 1), "c");
  EXPECT_EQ(list.GetItemText(3, 1), "b");
  ASSERT_TRUE(list.SortItems(3, true));
  EXPECT_EQ(list.GetItemText(1, 1), "c") << "0 before 5.5";
  EXPECT_EQ(list.GetItemText(3, 1), "b") << "invalid last";
  EXPECT_EQ(list.GetValue(1, 1).text, "a");
}

TEST(VList, HidesEmptyColumnsAndAddsSummaries) {
  VList list;
  Fill(list);
  VListHead keep = Head("flag off", 1);
  keep.hide_invalid = false;
  list.SetHead({Head("name", 0), Head("zeros", 1), keep, Head("v", 1)});
  for (int r = 0; r < 3; ++r) {
    list.AddRow();
    list.SetValue(r, 0, ListValue::Text("n"));
    list.SetValue(r, 1, r == 0 ? ListValue::Invalid() : ListValue::Number(0));
    list.SetValue(r, 2, ListValue::Number(0));
    list.SetValue(r, 3, ListValue::Number(r + 1));
  }
  list.HideInvalidColumns();
  EXPECT_TRUE(list.IsColumnHidden(1));
  EXPECT_FALSE(list.IsColumnHidden(2));
  EXPECT_FALSE(list.IsColumnHidden(3));
  EXPECT_EQ(list.GetColumnWidth(1), 0);
  list.AddSummaryRow(SummaryKind::kSum, {3});
  list.AddSummaryRow(SummaryKind::kAvg, {3});
  list.AddSummaryRow(SummaryKind::kCount, {1, 3});
  EXPECT_EQ(list.GetDataRowCount(), 3);
  ASSERT_EQ(list.GetRowCount(), 7);
  EXPECT_EQ(list.GetItemText(4, 0), "\xba\xcf\xbc\xc6");  // 合计
  EXPECT_EQ(list.GetItemText(4, 3), "6.00");
  EXPECT_EQ(list.GetItemText(5, 3), "2.00");
  EXPECT_EQ(list.GetItemText(6, 1), "2") << "the invalid value is not counted";
  list.SetTruncated(true);
  EXPECT_TRUE(list.IsTruncated());
}

TEST(VList, CompareColouring) {
  VList list;
  VListHead sign = Head("sign", 1);
  sign.color_mode = 1;
  VListHead against = Head("now", 1);
  against.color_mode = 2;
  against.compare_title = "before";
  list.SetHead({sign, against, Head("before", 1)});
  const double rows[][3] = {{1, 5, 3}, {-1, 2, 3}, {0, 3, 3}};
  for (int r = 0; r < 3; ++r) {
    list.AddRow();
    for (int c = 0; c < 3; ++c) list.SetValue(r, c, ListValue::Number(rows[r][c]));
  }
  list.ApplyCompareColors();
  EXPECT_EQ(list.GetCell(1, 0)->text_color, RGB(255, 0, 0));
  EXPECT_EQ(list.GetCell(2, 0)->text_color, RGB(0, 128, 0));
  EXPECT_EQ(list.GetCell(3, 0)->text_color, CLR_DEFAULT);
  EXPECT_EQ(list.GetCell(1, 1)->text_color, RGB(255, 0, 0));
  EXPECT_EQ(list.GetCell(2, 1)->text_color, RGB(0, 128, 0));
  EXPECT_EQ(list.GetCell(3, 1)->text_color, CLR_DEFAULT);
  list.Reverse();
  EXPECT_EQ(list.GetCell(0, 1)->text_color, RGB(255, 0, 0)) << "colours travel when turned";
}

}  // namespace
