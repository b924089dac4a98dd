#include "orbe/widgets/kvx_container.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_tree.h"
#include "orbe/widgets/list_tree.h"
#include "orbe/widgets/switch_ex.h"
#include "orbe/widgets/web_pane.h"

namespace {

using orbe::WidgetKind;

struct Log : CContainerListener {
  std::vector<std::string> events;
  void Add(const std::string& name, int id, int a, int b) {
    events.push_back(name + " " + std::to_string(id) + " " + std::to_string(a) + " " + std::to_string(b));
  }
  void CellEndEdit(int id, int row, int col, const std::string& text) override {
    Add("edit:" + text, id, row, col);
  }
  void ComboCellSelChange(int id, int row, int col, int index) override {
    Add("combo" + std::to_string(index), id, row, col);
  }
  void CheckCellClicked(int id, int row, int col, bool checked) override {
    Add(checked ? "check1" : "check0", id, row, col);
  }
  void SelectChangedNotify(int id, int row, int col) override { Add("sel", id, row, col); }
  void ManualResizeColNotify(int id, int col, int width) override { Add("resize", id, col, width); }
  void LButtonDblClkNotify(int id, int row, int col) override { Add("dbl", id, row, col); }
  void LButtonClkNotify(int id, int row, int col) override { Add("clk", id, row, col); }
  void OnMouseEventSeries(int id, int series, int point, ChartMouseEvent) override {
    Add("series", id, series, point);
  }
  void OnKeyEventPlotArea(int id, UINT key) override { Add("key", id, static_cast<int>(key), 0); }
  void PluginMessage(IPluginWnd*, const std::string& name, const std::string& value) override {
    events.push_back("plugin " + name + "=" + value);
  }
};

// A container that overrides one callback, as the script container does.
class Counting : public CKVXContainer {
 public:
  Counting() : CKVXContainer(3) {}
  int clicks = 0;
  void LButtonClkNotify(int /*id*/, int /*row*/, int /*col*/) override { ++clicks; }
};

TEST(KvxContainer, CreatesWidgetsByKindWithFreshIds) {
  CWnd host;
  host.Create(nullptr, RECT{0, 0, 800, 600}, 1, WS_VISIBLE);
  CKVXContainer container(7);
  EXPECT_EQ(container.GetContainerType(), 7);
  int id = -1;
  EXPECT_FALSE(container.Grid_AddWnd(0, 0, 10, 10, id, ""));  // no window yet
  EXPECT_EQ(id, 0);
  ASSERT_TRUE(container.Create(&host, RECT{0, 0, 800, 600}, WS_CHILD | WS_VISIBLE, 100));
  int grid = 0, chart = 0, tabs = 0, web = 0, edit = 0, tree = 0, title = 0;
  ASSERT_TRUE(container.Grid_AddWnd(0, 0, 300, 200, grid, "g"));
  ASSERT_TRUE(container.Chart_AddWnd(0, 200, 300, 200, chart, "price"));
  ASSERT_TRUE(container.Switch_AddWnd(0, 400, 300, 18, tabs, "first"));
  ASSERT_TRUE(container.Web_AddWnd(300, 0, 300, 200, web, "http://a/b"));
  ASSERT_TRUE(container.Edit_AddWnd(300, 200, 300, 100, edit, "note"));
  ASSERT_TRUE(container.Tree_AddWnd(600, 0, 200, 300, tree, ""));
  ASSERT_TRUE(container.Title_AddWnd(0, 420, 300, 20, title, "caption"));
  int list_tree = 0;
  ASSERT_TRUE(container.ListTree_AddWnd(600, 300, 200, 300, list_tree));
  EXPECT_NE(container.GetListTree(list_tree), nullptr);
  EXPECT_EQ(container.GetTree(list_tree), nullptr);
  container.DeleteWnd(list_tree);
  EXPECT_EQ(container.GetWndType(list_tree), -1);
  EXPECT_FALSE(container.AddWnd(0, 0, 10, 10, id, static_cast<int>(WidgetKind::kContainer), "b"));
  EXPECT_FALSE(container.AddWnd(0, 0, 10, 10, id, 999, ""));
  EXPECT_FALSE(container.Grid_AddWnd(0, 0, -1, 10, id, ""));
  EXPECT_EQ(container.GetWndCount(), 7);
  EXPECT_EQ(container.GetAllWndID(), (std::vector<int>{grid, chart, tabs, web, edit, tree, title}));
  EXPECT_EQ(container.GetWndType(grid), static_cast<int>(WidgetKind::kGrid));
  EXPECT_EQ(container.GetWndType(tree), static_cast<int>(WidgetKind::kTree));
  EXPECT_EQ(container.GetWndType(12345), -1);
  EXPECT_EQ(container.GetChart(chart)->GetTitles(), std::vector<std::string>{"price"});
  EXPECT_EQ(container.GetSwitch(tabs)->GetLabel(0)->text, "first");
  EXPECT_EQ(container.GetWeb(web)->GetLocationURL(), "http://a/b");
  EXPECT_EQ(container.GetEdit(edit)->GetText(), "note");
  EXPECT_EQ(container.GetGrid(chart), nullptr);  // wrong kind
  EXPECT_EQ(container.GetWnd(grid)->GetDlgCtrlID(), grid);

  EXPECT_TRUE(container.MoveWndRect(grid, 5, 6, 50, 60));
  RECT rect;
  container.GetWnd(grid)->GetClientRect(&rect);
  EXPECT_EQ(rect.right, 50);
  EXPECT_TRUE(container.ShowWnd(grid, false));
  EXPECT_FALSE(container.GetWnd(grid)->IsWindowVisible());
  container.DeleteWnd(grid);
  EXPECT_EQ(container.GetWnd(grid), nullptr);
  container.DeleteWnd(grid);  // an id already gone is refused quietly
  EXPECT_EQ(container.GetWndCount(), 6);
  int again = 0;
  container.Grid_AddWnd(0, 0, 10, 10, again, "");
  EXPECT_GT(again, title);  // ids are not reused
}

TEST(KvxContainer, WidgetEventsBecomeCallbacksWithTheWidgetId) {
  CKVXContainer container(0);
  ASSERT_TRUE(container.Create(nullptr, RECT{0, 0, 400, 400}, WS_VISIBLE, 1));
  Log log;
  container.RegisterContainerListener(&log);
  int grid_id = 0, chart_id = 0, list_id = 0;
  container.Grid_AddWnd(0, 0, 200, 200, grid_id, "");
  container.Chart_AddWnd(0, 200, 200, 200, chart_id, "");
  container.AddWnd(200, 0, 200, 200, list_id, static_cast<int>(WidgetKind::kHistogramList), "");
  CGridCtrl& grid = *container.GetGrid(grid_id);
  grid.SetRowCount(3);
  grid.SetColumnCount(3);
  grid.SetFixedRowCount(1);
  grid.SetCellType(1, 1, GridCellType::kCheck);
  grid.SetCellType(2, 2, GridCellType::kCombo);
  grid.SetComboItems(2, 2, {"a", "b"});
  grid.ClickCell(1, 1);
  grid.EditCell(1, 2, "x");
  grid.PickComboEntry(2, 2, 1);
  grid.ResizeColumn(0, 40);
  grid.DoubleClickCell(2, 1);
  const std::string g = std::to_string(grid_id);
  const std::vector<std::string> expected{
      "sel " + g + " 1 1",    "check1 " + g + " 1 1", "clk " + g + " 1 1",
      "edit:x " + g + " 1 2", "combo1 " + g + " 2 2", "resize " + g + " 0 40",
      "sel " + g + " 2 1",    "clk " + g + " 2 1",    "dbl " + g + " 2 1"};
  EXPECT_EQ(log.events, expected);

  log.events.clear();
  CChartCtrl& chart = *container.GetChart(chart_id);
  const int series = chart.AddSerie(ChartSeriesKind::kLine);
  chart.AddPoint(series, 1, 1);
  chart.ClickPoint(series, 0);  // not listened to: the container hears nothing
  chart.GetSerie(series)->mouse_listener = true;
  chart.ClickPoint(series, 0);
  chart.EnableKeyDownMsg(true);
  chart.PressKey(13);
  container.PluginMessage(nullptr, "name", "value");
  // The list inside a list-with-histogram reports the id the container gave out.
  auto* composite = container.GetWnd(list_id);
  ASSERT_NE(composite, nullptr);
  const std::string c = std::to_string(chart_id);
  EXPECT_EQ(log.events, (std::vector<std::string>{"series " + c + " " + std::to_string(series) + " 0",
                                                  "key " + c + " 13 0", "plugin name=value"}));

  Counting counting;
  counting.Create(nullptr, RECT{0, 0, 100, 100}, WS_VISIBLE, 2);
  counting.RegisterContainerListener(&log);
  int id = 0;
  counting.Grid_AddWnd(0, 0, 100, 100, id, "");
  counting.GetGrid(id)->SetRowCount(2);
  counting.GetGrid(id)->SetColumnCount(2);
  log.events.clear();
  counting.GetGrid(id)->ClickCell(1, 1);
  EXPECT_EQ(counting.clicks, 1);
  EXPECT_EQ(log.events,
            std::vector<std::string>{"sel " + std::to_string(id) + " 1 1"});  // the rest went to the override
}

TEST(KvxContainer, RecycledWidgetsWaitHiddenInTheBoundedPool) {
  CKVXContainer container(0);
  container.Create(nullptr, RECT{0, 0, 400, 400}, WS_VISIBLE, 1);
  container.InitWndPool();
  container.SetWndPoolSize(2);
  int a = 0, b = 0, c = 0;
  container.Grid_AddWnd(0, 0, 10, 10, a, "");
  container.Edit_AddWnd(0, 0, 10, 10, b, "");
  container.Title_AddWnd(0, 0, 10, 10, c, "t");
  const HWND first = container.GetWnd(a)->GetSafeHwnd();
  const HWND last = container.GetWnd(c)->GetSafeHwnd();
  container.RecycleWndPool(true);
  EXPECT_EQ(container.GetWndCount(), 0);
  EXPECT_EQ(container.GetWnd(a), nullptr);
  EXPECT_EQ(container.GetPooledCount(), 2);  // the oldest went beyond the size
  // Beyond the pool a widget is retired: hidden now, destroyed by the loop.
  EXPECT_EQ(container.GetRetiredCount(), 1);
  EXPECT_FALSE(CWnd::FromHandle(first)->IsWindowVisible());
  orbe::RunUntilIdle();
  EXPECT_EQ(container.GetRetiredCount(), 0);
  EXPECT_FALSE(IsWindow(first));
  ASSERT_TRUE(IsWindow(last));
  EXPECT_FALSE(CWnd::FromHandle(last)->IsWindowVisible());
  container.DeleteWndPool();
  orbe::RunUntilIdle();
  EXPECT_FALSE(IsWindow(last));

  int d = 0;
  container.Grid_AddWnd(0, 0, 10, 10, d, "");
  const HWND fresh = container.GetWnd(d)->GetSafeHwnd();
  container.RecycleWndPool(false);
  EXPECT_EQ(container.GetPooledCount(), 0);
  EXPECT_EQ(container.GetWnd(d), nullptr);
  orbe::RunUntilIdle();
  EXPECT_FALSE(IsWindow(fresh));
}

// A listener that takes widgets away from inside their own events, as a
// script does: the widget's code goes on over a live object, and tells
// nothing more once it is gone from the container.
class Taker : public CContainerListener {
 public:
  CKVXContainer* container = nullptr;
  std::vector<std::string> heard;
  void LButtonClkNotify(int id, int row, int col) override {
    heard.push_back("click " + std::to_string(row) + " " + std::to_string(col));
    container->DeleteWnd(id);
  }
  void LButtonDblClkNotify(int, int, int) override { heard.push_back("double"); }
  void OnWidgetEvent(const orbe::WidgetEvent& event) override {
    heard.push_back(event.name);
    container->RecycleWndPool(false);
  }
};

TEST(KvxContainer, WidgetsTakenAwayInTheirOwnEventsLiveUntilTheEventReturned) {
  CKVXContainer container(0);
  container.Create(nullptr, RECT{0, 0, 400, 400}, WS_VISIBLE, 1);
  Taker taker;
  taker.container = &container;
  container.RegisterContainerListener(&taker);
  int grid = 0, button = 0, other = 0;
  container.Grid_AddWnd(0, 0, 100, 100, grid, "");
  container.GetGrid(grid)->SetRowCount(3);
  container.GetGrid(grid)->SetColumnCount(3);
  container.Button_AddWnd(0, 0, 10, 10, button, "b");
  container.Check_AddWnd(0, 0, 10, 10, other, "c");
  CGridCtrl* const grid_window = container.GetGrid(grid);
  const HWND grid_handle = grid_window->GetSafeHwnd();
  // The double click's first press deletes the grid: no double click follows.
  EXPECT_TRUE(grid_window->DoubleClickCell(1, 1));
  EXPECT_EQ(taker.heard, std::vector<std::string>{"click 1 1"});
  EXPECT_EQ(container.GetGrid(grid), nullptr);
  EXPECT_TRUE(IsWindow(grid_handle));
  EXPECT_EQ(container.GetRetiredCount(), 1);

  auto* const button_window = container.GetWidget<CKvxButton>(button);
  EXPECT_TRUE(button_window->Click());
  EXPECT_EQ(container.GetWndCount(), 0);
  button_window->Click();  // retired: it tells nobody
  EXPECT_EQ(taker.heard, (std::vector<std::string>{"click 1 1", "OnButtonClicked"}));
  orbe::RunUntilIdle();
  EXPECT_EQ(container.GetRetiredCount(), 0);
  EXPECT_FALSE(IsWindow(grid_handle));
}

}  // namespace
