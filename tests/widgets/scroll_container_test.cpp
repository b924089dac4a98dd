#include "orbe/widgets/scroll_container.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/histogram_list.h"
#include "orbe/widgets/html_render.h"
#include "orbe/widgets/vlist.h"

namespace {

constexpr int kList = static_cast<int>(ScrollCellType::kList);
constexpr int kChart = static_cast<int>(ScrollCellType::kChartBar);
constexpr int kLabel = static_cast<int>(ScrollCellType::kLabel);
constexpr int kHistogramList = static_cast<int>(ScrollCellType::kHistogramList);

int TopOf(const CWnd& window) {
  RECT screen, parent;
  window.GetWindowRect(&screen);
  window.GetParent()->GetWindowRect(&parent);
  return screen.top - parent.top;
}

struct Report {
  ScrollContainer container;
  Report() {
    container.Create(nullptr, RECT{0, 0, 500, 300}, 1, WS_VISIBLE);
    container.SetTitle("report", RGB(0, 0, 0), 30);
  }
};

void FillList(VList& list, const char* value_title, double value) {
  VListHead name, number;
  name.title = "name";
  number.title = value_title;
  number.data_kind = 1;
  list.SetHead({name, number});
  list.AddRow();
  list.SetValue(0, 0, orbe::ListValue::Text("a"));
  list.SetValue(0, 1, orbe::ListValue::Number(value));
}

TEST(ScrollContainer, StacksCellsUnderTheTitleAndCollapsesThem) {
  Report r;
  const int list = r.container.AddWnd("list", kList, 20, 100);
  const int chart = r.container.AddWnd("chart", kChart, 20, 150, 300);
  const int label = r.container.AddWnd("label", kLabel, 0, 40);
  EXPECT_EQ(r.container.AddWnd("bad", 9, 20, 100), -1);
  EXPECT_EQ(r.container.GetAllWndID(), (std::vector<int>{list, chart, label}));
  EXPECT_EQ(r.container.GetWndType(chart), kChart);
  EXPECT_EQ(TopOf(*r.container.GetWnd(list)), 50);
  EXPECT_EQ(r.container.CellTitleRect(chart).top, 150);
  EXPECT_EQ(TopOf(*r.container.GetWnd(chart)), 170);
  RECT chart_rect;
  r.container.GetWnd(chart)->GetClientRect(&chart_rect);
  EXPECT_EQ(chart_rect.right, 300);
  EXPECT_EQ(TopOf(*r.container.GetWnd(label)), 320);
  EXPECT_EQ(r.container.GetTotalHeight(), 360);

  // "No data": collapsed to the title bar, the cells below move up.
  EXPECT_TRUE(r.container.SetWndHigth(list, 0, true));
  EXPECT_TRUE(r.container.IsCollapsed(list));
  EXPECT_FALSE(r.container.GetWnd(list)->IsWindowVisible());
  EXPECT_EQ(r.container.CellTitleRect(chart).top, 50);
  // A split original: no title, no body -> not shown at all.
  r.container.SetTitleHeight(list, 0);
  r.container.AdjustAllWnd();
  EXPECT_EQ(r.container.CellTitleRect(chart).top, 30);
  // A title click expands a collapsed cell again.
  r.container.SetTitleHeight(list, 20);
  r.container.SetWndHigth(list, 100, true);
  EXPECT_TRUE(r.container.ClickTitle(list));
  EXPECT_TRUE(r.container.GetWnd(list)->IsWindowVisible());
  EXPECT_EQ(TopOf(*r.container.GetWnd(chart)), 170);

  EXPECT_TRUE(r.container.DeleteWnd(list));
  EXPECT_FALSE(r.container.DeleteWnd(list));
  EXPECT_EQ(TopOf(*r.container.GetWnd(chart)), 50);
  EXPECT_EQ(r.container.GetWndCount(), 2);
}

TEST(ScrollContainer, ScrollsWithinItsContentAndGivesTypedWidgets) {
  Report r;
  const int list = r.container.AddWnd("l", kList, 20, 200);
  const int histogram = r.container.AddWnd("h", kHistogramList, 20, 200);
  const int label = r.container.AddWnd("t", kLabel, 20, 50);
  ASSERT_EQ(r.container.GetTotalHeight(), 30 + 220 + 220 + 70);
  r.container.SetScrollPos(10000);
  EXPECT_EQ(r.container.GetScrollPos(), 540 - 300);
  EXPECT_EQ(TopOf(*r.container.GetWnd(list)), 50 - 240);
  r.container.SetScrollPos(-5);
  EXPECT_EQ(r.container.GetScrollPos(), 0);
  EXPECT_NE(r.container.GetList(list), nullptr);
  EXPECT_EQ(r.container.GetList(histogram), &r.container.GetHistogramList(histogram)->GetList());
  EXPECT_EQ(r.container.GetList(label), nullptr);
  EXPECT_NE(r.container.GetLabel(label), nullptr);
  EXPECT_EQ(r.container.GetChartBar(label), nullptr);
  EXPECT_EQ(r.container.GetWeb(99), nullptr);
  r.container.SetCellTitle(list, "x");
  r.container.SetCellTitleColor(list, RGB(192, 192, 192));
  EXPECT_EQ(r.container.GetCellTitle(list), "x");
  EXPECT_EQ(r.container.GetCellTitleColor(list), RGB(192, 192, 192));
  ScrollContainer unmade;
  EXPECT_EQ(unmade.AddWnd("x", kList, 1, 1), -1);  // no window yet
}

// Every shown list cell lands in one worksheet under its title; hidden cells do not.
TEST(ScrollContainer, SaveAsExcelWritesEveryShownList) {
  if (std::system("/usr/bin/python3 -c 'import zipfile' 2>/dev/null") != 0) GTEST_SKIP() << "no python3";
  Report r;
  const int first = r.container.AddWnd("first", kList, 20, 100);
  const int second = r.container.AddWnd("second", kHistogramList, 20, 100);
  const int hidden = r.container.AddWnd("hidden", kList, 0, 0);
  r.container.AddWnd("chart", kChart, 20, 100);
  FillList(*r.container.GetList(first), "eps", 1.5);
  FillList(*r.container.GetList(second), "roe", 12.25);
  FillList(*r.container.GetList(hidden), "gone", 7);
  char pattern[] = "/tmp/orbe_scroll_XXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern);
  const std::string xlsx = (dir / "report.xlsx").string();
  ASSERT_TRUE(r.container.SaveAsExcel(xlsx));
  const std::string command =
      "/usr/bin/python3 -c \"import sys,zipfile,re;z=zipfile.ZipFile(sys.argv[1]);"
      "print(' '.join(re.findall(r'<t[^>]*>([^<]*)</t>', z.read('xl/sharedStrings.xml').decode())));"
      "print(' '.join(re.findall(r'<v>([0-9.]+)</v>', z.read('xl/worksheets/sheet1.xml').decode())))\" " +
      xlsx;
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  pclose(pipe);
  std::filesystem::remove_all(dir);
  EXPECT_NE(output.find("first"), std::string::npos);
  EXPECT_NE(output.find("roe"), std::string::npos);
  EXPECT_EQ(output.find("gone"), std::string::npos);
  EXPECT_EQ(output.find("chart"), std::string::npos);
  EXPECT_NE(output.find("1.5"), std::string::npos);
  EXPECT_NE(output.find("12.25"), std::string::npos);
}

TEST(ScrollContainer, AFittedCellTakesItsContentsHeight) {
  Report r;
  struct Case {
    const char* name;
    int type;
    int rows;  // list rows, or label lines
    int expected;
  } const cases[] = {
      // A heading row and one data row of 20 px each.
      {"list", kList, 1, 40},
      {"empty list", kList, 0, 20},
      {"histogram list", kHistogramList, 1, 40 * 100 / 65},
      {"chart", kChart, 0, ScrollContainer::kChartContentHeight},
      {"web", static_cast<int>(ScrollCellType::kWeb), 0, ScrollContainer::kWebContentHeight},
      {"label", kLabel, 3, 3 * ScrollContainer::kLabelLineHeight + 8},
  };
  int y = 30;
  std::vector<int> ids;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int id = r.container.AddWnd(c.name, c.type, 20, ScrollContainer::kFitContent);
    ASSERT_NE(id, -1);
    ids.push_back(id);
    if (c.type == kList || c.type == kHistogramList) {
      VList& list = *r.container.GetList(id);
      FillList(list, "eps", 1);
      if (c.rows == 0) list.SetHead({VListHead{}});
    }
    if (c.type == kLabel) r.container.GetLabel(id)->SetText("a\nb\nc");
    r.container.AdjustAllWnd();
    EXPECT_EQ(r.container.GetWndHigth(id), -1);
    EXPECT_EQ(r.container.GetShownHigth(id), c.expected);
    EXPECT_EQ(r.container.CellTitleRect(id).top, y);
    EXPECT_TRUE(r.container.GetWnd(id)->IsWindowVisible());
    y += 20 + c.expected;
  }
  EXPECT_EQ(r.container.GetTotalHeight(), y);
  // Collapsing still shows only the title; any negative height fits.
  r.container.SetWndHigth(ids[0], -7, true);
  EXPECT_EQ(r.container.GetShownHigth(ids[0]), 0);
  r.container.SetWndHigth(ids[0], -7, false);
  EXPECT_EQ(r.container.GetWndHigth(ids[0]), -1);
  EXPECT_EQ(r.container.GetShownHigth(ids[0]), 40);
}

TEST(ScrollContainer, InsertsACellRightAfterAnother) {
  Report r;
  const int original = r.container.AddWnd("original", kList, 20, 100);
  const int last = r.container.AddWnd("last", kLabel, 20, 40);
  // Split pieces: the first right after the original, each next one after
  // the piece before it.
  const int first_piece = r.container.InsertWndAfter(original, "piece 1", kList, 20, -1);
  const int second_piece = r.container.InsertWndAfter(first_piece, "piece 2", kList, 20, -1);
  EXPECT_EQ(r.container.InsertWndAfter(4242, "nowhere", kList, 20, -1), -1);
  EXPECT_EQ(r.container.GetWndCount(), 4);
  EXPECT_EQ(r.container.GetAllWndID(), (std::vector<int>{original, first_piece, second_piece, last}));
  // Hide the original as a split does: the pieces take its place, in order.
  r.container.SetTitleHeight(original, 0);
  r.container.SetWndHigth(original, 0, false);
  EXPECT_EQ(r.container.CellTitleRect(first_piece).top, 30);
  EXPECT_LT(r.container.CellTitleRect(first_piece).top, r.container.CellTitleRect(second_piece).top);
  EXPECT_LT(r.container.CellTitleRect(second_piece).top, r.container.CellTitleRect(last).top);
  EXPECT_TRUE(r.container.DeleteWnd(first_piece));
  EXPECT_EQ(r.container.CellTitleRect(second_piece).top, 30);
}

// A rebuilt page detaches its old cells at once and drops their widgets
// later: until then they are children outside the layout, and new cells get
// new ids laid out from the top.
TEST(ScrollContainer, DetachesEveryCellAndKeepsTheWidgetsUntilDropped) {
  Report r;
  const int list = r.container.AddWnd("list", kList, 20, 100);
  r.container.AddWnd("label", kLabel, 20, 40);
  const std::size_t children = r.container.GetChildren().size();
  {
    const auto detached = r.container.DetachAllWnd();
    ASSERT_EQ(detached.size(), 2u);
    EXPECT_EQ(r.container.GetWndCount(), 0);
    EXPECT_EQ(r.container.GetWnd(list), nullptr);
    EXPECT_EQ(r.container.GetTotalHeight(), 30);
    EXPECT_EQ(r.container.GetChildren().size(), children);
    const int fresh = r.container.AddWnd("fresh", kList, 20, 100);
    EXPECT_NE(fresh, list);
    EXPECT_EQ(r.container.CellTitleRect(fresh).top, 30);
  }
  EXPECT_EQ(r.container.GetChildren().size(), children - 1);
}

TEST(ScrollContainer, RendersTitleBarsAndShownCells) {
  Report r;
  const int list = r.container.AddWnd("\xc1\xd0\xb1\xed", kList, 20, 100);  // 列表
  const int chart = r.container.AddWnd("chart", kChart, 20, 100);
  r.container.SetWndHigth(chart, 0, true);
  FillList(*r.container.GetList(list), "eps", 1);
  const std::string html = orbe::RenderWindowHtml(r.container);
  EXPECT_NE(html.find("\xe5\x88\x97\xe8\xa1\xa8"), std::string::npos);
  EXPECT_NE(html.find("data-cell=\"" + std::to_string(chart) + "\""), std::string::npos);
  EXPECT_NE(html.find("data-id=\"" + std::to_string(list) + "\""), std::string::npos);
  EXPECT_EQ(html.find("data-id=\"" + std::to_string(chart) + "\""), std::string::npos);  // collapsed
}

}  // namespace
