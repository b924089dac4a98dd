// The container's own state as its operations and a user change it:
// scrolling, the tab order and the keyboard, the mouse point, the cursor,
// one widget recycled, the navigation strip of titles, a grid's frame, and
// the column chart.
#include <gtest/gtest.h>

#include <cmath>

#include "event_log.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/window_class.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/grid_scroll_frame.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/title_bar.h"
#include "orbe/widgets/vchart.h"

namespace {

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

TEST(KvxContainerOps, ScrollingMovesTheWidgetsWithinTheRange) {
  TestContainer t;
  CKVXContainer& c = t.container;
  int top = 0, low = 0;
  ASSERT_TRUE(c.Edit_AddWnd(10, 10, 100, 50, top, "top"));
  ASSERT_TRUE(c.Button_AddWnd(10, 1000, 100, 50, low, "low"));
  c.SetBottomInterval(30);
  c.RefreshScrollWnd();
  EXPECT_EQ(c.GetScrollRange().cx, 110);
  EXPECT_EQ(c.GetScrollRange().cy, 1080) << "the lowest widget plus the bottom interval";
  struct {
    int x, y;
    int want_y;
  } steps[] = {{0, 200, 200}, {0, 5000, 480}, {0, -7, 0}, {50, 100, 100}};
  for (const auto& s : steps) {
    c.SetScrollPos32(s.x, s.y);
    int x = -1, y = -1;
    c.GetScrollPos32(x, y);
    EXPECT_EQ(x, 0) << "the content is narrower than the container";
    EXPECT_EQ(y, s.want_y);
    int wx = 0, wy = 0, cx = 0, cy = 0;
    c.GetWndRect(low, false, wx, wy, cx, cy);
    EXPECT_EQ(wy, 1000 - s.want_y) << "the widgets move as the platform scrolls children";
  }
  EXPECT_NE(orbe::RenderWindowHtml(c).find("data-scroll=\"0,100\" data-range=\"110,1080\""), std::string::npos);
  c.SetScrollPos32(0, 0);
  c.DeleteWnd(low);
  c.RefreshScrollWnd();
  EXPECT_EQ(c.GetScrollRange().cy, 90);
}

TEST(KvxContainerOps, TabOrderMouseAndCursor) {
  TestContainer t;
  CKVXContainer& c = t.container;
  int a = 0, b = 0, d = 0;
  c.Edit_AddWnd(0, 0, 50, 20, a, "");
  c.Button_AddWnd(0, 30, 50, 20, b, "");
  c.Button_AddWnd(0, 60, 50, 20, d, "");
  c.EnableContainerWindow(b, false);
  ASSERT_TRUE(c.SetWndTabList({a, b, d}));
  c.SetFocusWnd(a);
  // The Tab key goes through the loop's PreTranslateMessage; disabled widgets are skipped.
  orbe::PressKey(c.GetWnd(a)->GetSafeHwnd(), VK_TAB);
  orbe::RunUntilIdle();
  EXPECT_EQ(CWnd::GetFocus(), c.GetWnd(d));
  orbe::PressKey(c.GetWnd(d)->GetSafeHwnd(), VK_TAB);
  orbe::RunUntilIdle();
  EXPECT_EQ(CWnd::GetFocus(), c.GetWnd(a)) << "round again";
  SetKeyDown(VK_SHIFT, true);
  EXPECT_TRUE(c.TabToNextWnd(true));
  SetKeyDown(VK_SHIFT, false);
  EXPECT_EQ(CWnd::GetFocus(), c.GetWnd(d));
  c.SetWndTabList({});
  EXPECT_FALSE(c.TabToNextWnd(false));

  // A click on a widget is a point of the container's client area.
  orbe::ClickMouse(c.GetWnd(d)->GetSafeHwnd(), 7, 3);
  orbe::RunUntilIdle();
  int x = 0, y = 0;
  c.GetMousePoint(x, y);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 63);

  c.SetContainerCursor(0x10000 | 32514);  // the low 16 bits name the cursor
  EXPECT_EQ(c.GetContainerCursor(), 32514);
  EXPECT_EQ(orbe::CurrentCursorId(), 32514u);
  c.SetContainerCursor(12345);  // no such cursor: the current one stays
  EXPECT_EQ(c.GetContainerCursor(), 32514);
  EXPECT_NE(orbe::RenderWindowHtml(c).find("cursor:wait"), std::string::npos);
}

TEST(KvxContainerOps, OneWidgetRecycledLeavesItsIdAndItsEvents) {
  TestContainer t;
  CKVXContainer& c = t.container;
  int button = 0, other = 0;
  c.Button_AddWnd(0, 0, 50, 20, button, "b");
  c.Button_AddWnd(0, 30, 50, 20, other, "o");
  CKvxButton* widget = c.GetWidget<CKvxButton>(button);
  c.SetWndTabList({button, other});
  c.RecycleWnd(button);
  EXPECT_EQ(c.GetWnd(button), nullptr);
  EXPECT_EQ(c.GetPooledCount(), 1);
  EXPECT_EQ(c.GetWndTabList(), std::vector<int>{other});
  EXPECT_FALSE(widget->IsWindowVisible());
  widget->Click();  // still a window, but no longer the container's
  EXPECT_TRUE(t.log.events.empty());
  c.RecycleWnd(424242);  // unknown: nothing happens
  EXPECT_EQ(c.GetWndCount(), 1);
  EXPECT_EQ(orbe::RenderWindowHtml(c).find(">b<"), std::string::npos);
}

TEST(KvxContainerOps, NavigationStripListsTitlesAndScrollsToThem) {
  TestContainer t;
  CKVXContainer& c = t.container;
  int first = 0, second = 0, plain = 0, filler = 0;
  c.Title_AddWnd(0, 100, 400, 20, first, "first");
  c.Title_AddWnd(0, 900, 400, 20, second, "second");
  c.Title_AddWnd(0, 950, 400, 20, plain, "plain");
  c.Edit_AddWnd(0, 1500, 100, 100, filler, "");
  c.Title_IsAppendNavigate(second, true, 0);
  c.Title_IsAppendNavigate(first, true, -1);
  c.Navigate_SetStyle(0);
  c.Navigate_SetFontColorSchema(9, 700, 0, 1, 2, 3, 4, 5, 6, 7, "SimSun");
  ASSERT_NE(c.GetNavigateBar(), nullptr);
  EXPECT_FALSE(c.GetNavigateBar()->IsWindowVisible()) << "set up, not yet shown";
  c.EnableNavigate(true);
  CKvxNavigateBar& bar = *c.GetNavigateBar();
  EXPECT_EQ(bar.GetTitleIds(), (std::vector<int>{second, first})) << "ordered first, the rest after";
  EXPECT_EQ(bar.GetFontColorSchema().font_weight, 700);
  EXPECT_NE(orbe::RenderWindowHtml(c).find(">second</span>"), std::string::npos);

  EXPECT_TRUE(bar.ClickEntry(0));
  int x = 0, y = 0;
  c.GetScrollPos32(x, y);
  EXPECT_EQ(y, 900 - 24) << "the title just under the strip";
  EXPECT_EQ(bar.GetCurLabel(), 0);
  // The title's "go back" mark scrolls back to the top.
  EXPECT_TRUE(c.GetWidget<CKvxTitle>(second)->ClickGoBack());
  c.GetScrollPos32(x, y);
  EXPECT_EQ(y, 0);
  c.Title_HideGoBack(second, true);
  EXPECT_FALSE(c.GetWidget<CKvxTitle>(second)->ClickGoBack());

  c.DeleteWnd(second);
  EXPECT_EQ(bar.GetTitleIds(), std::vector<int>{first});
  c.Navigate_ShowWnd(0, 0, 300, 30);
  RECT rect;
  bar.GetClientRect(&rect);
  EXPECT_EQ(rect.right, 300);
}

TEST(KvxContainerOps, GridFrameFollowsItsGrid) {
  TestContainer t;
  CKVXContainer& c = t.container;
  int grid = 0;
  c.Grid_AddWnd(20, 30, 200, 100, grid, "");
  c.Grid_SetRowCount(grid, 50);
  c.Grid_SetColumnCount(grid, 3);
  EXPECT_FALSE(c.Grid_Frame_UseGridScroll(grid, false)) << "no frame yet";
  ASSERT_TRUE(c.Grid_IsAppendFrame(grid, true));
  GridCustomScrollFrame* frame = c.GetGridFrame(grid);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->VerticalBar().IsWindowVisible()) << "50 rows do not fit in 100 px";
  RECT rect;
  c.GetGrid(grid)->GetClientRect(&rect);
  EXPECT_EQ(rect.right, 200 - GridCustomScrollFrame::kBarThickness);
  ASSERT_TRUE(c.MoveWndRect(grid, 0, 0, 300, 2000));
  EXPECT_FALSE(frame->VerticalBar().IsWindowVisible()) << "now they fit";
  int x = 0, y = 0, cx = 0, cy = 0;
  c.GetWndRect(grid, false, x, y, cx, cy);
  EXPECT_EQ(cx, 300);
  c.Grid_SetRowCount(grid, 200);
  EXPECT_TRUE(frame->VerticalBar().IsWindowVisible()) << "the frame follows the grid's shape";
  // A user's scroll on the frame's bar moves the grid.
  EXPECT_TRUE(frame->VerticalBar().ClickTrack(true));
  EXPECT_GT(c.GetGrid(grid)->GetScrollPos32().row, 0);
  EXPECT_TRUE(c.Grid_Frame_HideScrollBar(grid, SB_VERT, true));
  EXPECT_FALSE(frame->VerticalBar().IsWindowVisible());
  EXPECT_TRUE(c.Grid_IsAppendFrame(grid, false));
  EXPECT_EQ(c.GetGridFrame(grid), nullptr);
  EXPECT_TRUE(c.Grid_SetItemText(grid, 1, 1, "still here"));
}

TEST(KvxContainerOps, ColumnChartKeepsItsItemsOrderAndScale) {
  TestContainer t;
  auto& chart = t.Add<CKvxVChart>(orbe::WidgetKind::kVChart, "\xc1\xbf");
  chart.MoveWindow(0, 0, 300, 200);
  EXPECT_TRUE(chart.SetMaxItemCount(3));
  for (int i = 0; i < 5; ++i) chart.AddItem({"i" + std::to_string(i), static_cast<double>(i * (i % 2 ? -1 : 1)), CLR_NONE, CLR_DEFAULT, true});
  ASSERT_EQ(chart.GetItems().size(), 3u);
  EXPECT_EQ(chart.GetItems().front().label, "i2") << "the oldest went";
  EXPECT_FALSE(chart.AddItem({"nan", std::nan(""), CLR_NONE, CLR_DEFAULT, true}));
  double min = 0, max = 0;
  chart.GetRange(&min, &max);
  EXPECT_EQ(min, -3);
  EXPECT_EQ(max, 4);
  chart.Look().order = 2;
  EXPECT_EQ(chart.ShownItems().front().label, "i4");
  EXPECT_FALSE(chart.SetMinMax(5, 5, 1));
  EXPECT_TRUE(chart.SetMinMax(-10, 10, 1));
  orbe::HtmlWriter out;
  chart.RenderHtml(out);
  const std::string svg = out.Take();
  EXPECT_EQ(Count(svg, "class=\"column\""), 3u);
  EXPECT_NE(svg.find(">-10.0<"), std::string::npos) << "the ruler's decimals";
  EXPECT_NE(svg.find("fill=\"#00a000\""), std::string::npos) << "a negative column is green";
  chart.SetRedraw(false);
  chart.RemoveAllItem();
  orbe::HtmlWriter frozen;
  chart.RenderHtml(frozen);
  EXPECT_EQ(frozen.str(), svg) << "paused drawing keeps the picture";
  chart.SetRedraw(true);
  orbe::HtmlWriter after;
  chart.RenderHtml(after);
  EXPECT_EQ(Count(after.str(), "class=\"column\""), 0u);
}

}  // namespace
