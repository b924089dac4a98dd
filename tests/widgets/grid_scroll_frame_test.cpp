#include "orbe/widgets/grid_scroll_frame.h"

#include <gtest/gtest.h>

#include <string>

#include "orbe/widgets/html_writer.h"

namespace {

// A 300 x 200 frame around a grid of 1 fixed + 20 rows of 20 px and 1 fixed +
// 5 columns of 60 px: both bars are needed. With both shown the grid keeps
// 283 x 183, so 8 rows (163 px below the header) and 3 columns (223 px) fit.
struct Fixture {
  CWnd host;
  GridCustomScrollFrame frame{21, 6, 1, 1};
  Fixture() {
    host.Create(nullptr, RECT{0, 0, 400, 400}, 1, WS_VISIBLE);
    for (int col = 0; col < 6; ++col) frame.Grid().SetColumnWidth(col, 60);
    EXPECT_TRUE(frame.Create(RECT{0, 0, 300, 200}, &host, 10));
  }
};

RECT ClientOf(const CWnd& wnd) {
  RECT rect{};
  wnd.GetClientRect(&rect);
  return rect;
}

TEST(GridScrollFrame, BarsFitTheGridAndKeepTheLastPageFull) {
  Fixture f;
  EXPECT_TRUE(f.frame.VerticalBar().IsWindowVisible());
  EXPECT_TRUE(f.frame.HorizontalBar().IsWindowVisible());
  EXPECT_EQ(f.frame.VerticalBar().GetPageSize(), 8);
  EXPECT_EQ(f.frame.VerticalBar().GetMaxPos(), 12);
  EXPECT_EQ(f.frame.HorizontalBar().GetPageSize(), 3);
  EXPECT_EQ(f.frame.HorizontalBar().GetMaxPos(), 2);
  const RECT grid = ClientOf(f.frame.Grid());
  EXPECT_EQ(grid.right, 283);
  EXPECT_EQ(grid.bottom, 183);

  f.frame.SetScrollPos32(100, 100);
  EXPECT_EQ(f.frame.GetScrollPos32(), (CCellID{12, 2}));
  EXPECT_EQ(f.frame.VerticalBar().GetScrollPos32(), 12);
  f.frame.SetScrollPos32(-4, 5);
  EXPECT_EQ(f.frame.Grid().GetScrollPos32(), (CCellID{5, 0}));
  EXPECT_EQ(f.frame.HorizontalBar().GetScrollPos32(), 0);
}

TEST(GridScrollFrame, ScrollingOnEitherSideMovesTheOther) {
  Fixture f;
  EXPECT_TRUE(f.frame.VerticalBar().ClickTrack(true));
  EXPECT_EQ(f.frame.Grid().GetScrollPos32().row, 8) << "a page of rows";
  EXPECT_TRUE(f.frame.HorizontalBar().DragThumb(2));
  EXPECT_EQ(f.frame.Grid().GetScrollPos32().col, 2);

  EXPECT_TRUE(f.frame.Grid().Scroll(-3));  // the wheel over the grid
  EXPECT_EQ(f.frame.VerticalBar().GetScrollPos32(), 5);
}

TEST(GridScrollFrame, DisabledBarsAndGridScrollGiveTheRoomBack) {
  Fixture f;
  f.frame.EnableScrollBars(SB_VERT, FALSE);
  EXPECT_FALSE(f.frame.IsScrollBarEnabled(SB_VERT));
  EXPECT_FALSE(f.frame.IsScrollBarEnabled(SB_BOTH));
  EXPECT_FALSE(f.frame.VerticalBar().IsWindowVisible());
  EXPECT_EQ(ClientOf(f.frame.Grid()).right, 300);
  EXPECT_EQ(f.frame.HorizontalBar().GetPageSize(), 4) << "the freed room fits one more column";

  f.frame.EnableScrollBars(SB_BOTH, TRUE);
  f.frame.SetUseGridScroll(true);
  EXPECT_TRUE(f.frame.GetUseGridScroll());
  EXPECT_FALSE(f.frame.VerticalBar().IsWindowVisible());
  EXPECT_FALSE(f.frame.HorizontalBar().IsWindowVisible());
  EXPECT_EQ(ClientOf(f.frame.Grid()).bottom, 200);
  f.frame.SetScrollPos32(0, 7);
  EXPECT_EQ(f.frame.GetScrollPos32().row, 7) << "the frame still scrolls its grid";
}

TEST(GridScrollFrame, ResetFollowsAShrunkGrid) {
  Fixture f;
  f.frame.SetScrollPos32(2, 12);
  f.frame.Grid().SetRowCount(5);
  f.frame.Grid().SetColumnCount(3);
  f.frame.ResetScrollBars();
  EXPECT_FALSE(f.frame.VerticalBar().IsWindowVisible());
  EXPECT_FALSE(f.frame.HorizontalBar().IsWindowVisible());
  EXPECT_EQ(f.frame.GetScrollPos32(), (CCellID{0, 0})) << "nothing left to scroll: back at the top";
}

TEST(GridScrollFrame, CornerAndBarColours) {
  Fixture f;
  f.frame.SetStaticColor(RGB(0, 0, 255));
  f.frame.SetScrollColor(RGB(0, 128, 0));
  EXPECT_EQ(f.frame.VerticalBar().GetBarColor(), RGB(0, 128, 0));
  orbe::HtmlWriter out;
  f.frame.RenderHtml(out);
  EXPECT_NE(out.str().find("class=\"corner\""), std::string::npos);
  EXPECT_NE(out.str().find("#0000ff"), std::string::npos);

  f.frame.EnableScrollBars(SB_HORZ, FALSE);
  orbe::HtmlWriter without;
  f.frame.RenderHtml(without);
  EXPECT_EQ(without.str(), "") << "no corner without both bars";
}

}  // namespace
