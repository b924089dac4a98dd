#include "orbe/widgets/splitter_wnd.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;

RECT PlaceOf(const CWnd& pane) {
  RECT screen, parent;
  pane.GetWindowRect(&screen);
  pane.GetParent()->GetWindowRect(&parent);
  return {screen.left - parent.left, screen.top - parent.top, screen.right - parent.left,
          screen.bottom - parent.top};
}

void ExpectRect(const RECT& actual, const RECT& expected) {
  EXPECT_EQ(actual.left, expected.left);
  EXPECT_EQ(actual.top, expected.top);
  EXPECT_EQ(actual.right, expected.right);
  EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(Splitter, LaysOutBothPanesAndFollowsSizeAndDrag) {
  CWnd host;
  host.Create(nullptr, RECT{0, 0, 400, 300}, 1);
  CStaticSplitterWnd split(CStaticSplitterWnd::kVertical);
  split.Create(&host, RECT{0, 0, 400, 300}, 59648, kShown);
  CWnd left, right;
  left.Create(&split, RECT{0, 0, 1, 1}, 2, kShown);
  right.Create(&split, RECT{0, 0, 1, 1}, 3, kShown);
  split.SetPane(0, &left);
  split.SetPane(1, &right);
  split.SetSplitPos(250);
  ExpectRect(PlaceOf(left), {0, 0, 250, 300});
  ExpectRect(PlaceOf(right), {254, 0, 400, 300});
  split.MoveWindow(0, 0, 200, 100);  // narrower than the split: the first pane is cut back
  ExpectRect(PlaceOf(left), {0, 0, 196, 100});
  ExpectRect(PlaceOf(right), {200, 0, 200, 100});
  EXPECT_TRUE(split.DragBar(50));
  ExpectRect(PlaceOf(right), {54, 0, 200, 100});

  CStaticSplitterWnd rows(CStaticSplitterWnd::kHorizontal);
  rows.Create(&host, RECT{0, 0, 300, 200}, 9, kShown);
  rows.SetSplitPos(60);
  ExpectRect(rows.PaneRect(1), {0, 64, 300, 200});
}

TEST(Splitter, SinglePaneModeHidesTheOtherPane) {
  CWnd host;
  host.Create(nullptr, RECT{0, 0, 400, 300}, 1, WS_VISIBLE);
  CStaticSplitterWnd split(CStaticSplitterWnd::kHorizontal);
  split.Create(&host, RECT{0, 0, 400, 300}, 5, kShown);
  CWnd top, bottom;
  top.Create(&split, RECT{0, 0, 1, 1}, 2, kShown);
  bottom.Create(&split, RECT{0, 0, 1, 1}, 3, kShown);
  split.SetPane(0, &top);
  split.SetPane(1, &bottom);
  EXPECT_TRUE(split.SetSinglePaneMode(1));
  EXPECT_FALSE(top.IsWindowVisible());
  EXPECT_TRUE(bottom.IsWindowVisible());
  ExpectRect(PlaceOf(bottom), {0, 0, 400, 300});
  EXPECT_FALSE(split.DragBar(10));
  EXPECT_FALSE(split.SetSinglePaneMode(2));
  EXPECT_TRUE(split.SetSinglePaneMode(-1));
  EXPECT_TRUE(top.IsWindowVisible());
  EXPECT_FALSE(split.SetPane(2, &top));
  top.DestroyWindow();
  EXPECT_EQ(split.GetPane(0), nullptr);  // a destroyed pane is not reached again
  split.SetSplitPos(10);
}

}  // namespace
