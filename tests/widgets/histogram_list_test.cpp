#include "orbe/widgets/histogram_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "orbe/widgets/grid_notify.h"

namespace {

class Owner : public CWnd {
 public:
  std::vector<UINT> codes;
  std::vector<int> rows;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_NOTIFY) {
      const auto* note = reinterpret_cast<const NM_GRIDVIEW*>(lparam);
      codes.push_back(note->hdr.code);
      rows.push_back(note->iRow);
      return 0;
    }
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

VListHead Head(const char* title, int kind) {
  VListHead head;
  head.title = title;
  head.data_kind = kind;
  head.width = 60;
  return head;
}

struct Fixture {
  Owner owner;
  KVXHistogramList cell;
  Fixture() {
    owner.Create(nullptr, RECT{0, 0, 400, 300}, 1);
    cell.Create(&owner, RECT{0, 0, 400, 300}, 9, WS_CHILD | WS_VISIBLE);
    VList& list = cell.GetList();
    list.SetHead({Head("name", 0), Head("eps", 1), Head("roe", 1)});
    const char* names[] = {"2021", "2022", "2023"};
    const double eps[] = {1.5, -0.5, 2.0};
    for (int i = 0; i < 3; ++i) {
      list.AddRow();
      list.SetValue(i, 0, orbe::ListValue::Text(names[i]));
      list.SetValue(i, 1, orbe::ListValue::Number(eps[i]));
      list.SetValue(i, 2, i == 1 ? orbe::ListValue::Invalid() : orbe::ListValue::Number(10.0 * i));
    }
  }
};

TEST(HistogramList, ListClickPicksColumnAndRecordForTheHistogram) {
  Fixture f;
  KVXHistogram& histogram = f.cell.GetHistogram();
  ASSERT_TRUE(f.cell.GetList().ClickCell(2, 1));  // record 1, column eps
  EXPECT_EQ(f.cell.GetHistogramColumn(), 1);
  ASSERT_EQ(histogram.GetItemCount(), 3);
  EXPECT_EQ(histogram.GetItem(1)->value, -0.5);
  EXPECT_EQ(histogram.GetItem(2)->label, "2023");
  EXPECT_EQ(histogram.GetSelectedItem(), 1);
  f.cell.GetList().ClickCell(3, 2);  // roe: the invalid value is an empty bar
  EXPECT_TRUE(std::isnan(histogram.GetItem(1)->value));
  EXPECT_EQ(histogram.GetSelectedItem(), 2);
  // The list's own notifications still reach the owner.
  EXPECT_NE(std::find(f.owner.codes.begin(), f.owner.codes.end(), GVN_SELCHANGED), f.owner.codes.end());
}

TEST(HistogramList, BarClickSelectsTheRecordAndTellsTheOwner) {
  Fixture f;
  f.cell.SetHistogramColumn(1);
  f.owner.codes.clear();
  f.owner.rows.clear();
  ASSERT_TRUE(f.cell.GetHistogram().ClickItem(2));
  orbe::RunUntilIdle();
  EXPECT_TRUE(f.cell.GetList().IsCellSelected(3, 0));
  EXPECT_TRUE(f.cell.GetList().IsCellSelected(3, 2));
  EXPECT_EQ(f.owner.codes, std::vector<UINT>{HLN_BARSELECTED});
  EXPECT_EQ(f.owner.rows, std::vector<int>{3});
  // New records: the refreshed histogram follows, and keeps a selection that still exists.
  f.cell.GetList().AddRow();
  f.cell.RefreshHistogram();
  EXPECT_EQ(f.cell.GetHistogram().GetItemCount(), 4);
  EXPECT_EQ(f.cell.GetHistogram().GetSelectedItem(), 2);
  f.cell.GetList().Reverse();
  f.cell.RefreshHistogram();
  EXPECT_EQ(f.cell.GetHistogram().GetItemCount(), 0);
}

TEST(HistogramList, LaysOutListAboveHistogram) {
  Fixture f;
  RECT list_rect, histogram_rect;
  f.cell.GetList().GetClientRect(&list_rect);
  f.cell.GetHistogram().GetClientRect(&histogram_rect);
  EXPECT_EQ(list_rect.bottom + histogram_rect.bottom, 300);
  EXPECT_EQ(histogram_rect.bottom, 105);
  f.cell.SetHistogramPercent(0);
  f.cell.GetHistogram().GetClientRect(&histogram_rect);
  EXPECT_EQ(histogram_rect.bottom, 0);
}

}  // namespace
