#include "orbe/widgets/html_render.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>
#include <string>

#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window_class.h"
#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/html_tree.h"
#include "orbe/widgets/switch_ex.h"
#include "orbe/widgets/vlist.h"

namespace {

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;

// A report-like page: a list, a bar chart and a label inside one window.
struct Page {
  orbe::KvxWidget root{orbe::WidgetKind::kGeneric};
  VList list;
  CChartBarCtrl chart;
  orbe::KvxWidget label{orbe::WidgetKind::kEdit};
  orbe::KvxWidget hidden{orbe::WidgetKind::kEdit};

  Page() {
    root.Create(nullptr, RECT{0, 0, 600, 500}, 1);
    root.SetWindowText("report <1>");
    list.Create(RECT{10, 20, 310, 120}, &root, 2, kShown);
    VListHead head;
    head.title = "\xc3\xfb\xb3\xc6";  // 名称
    head.width = 80;
    list.SetHead({head});
    list.AddRow();
    list.SetValue(0, 0, orbe::ListValue::Text("a&b"));
    chart.Create(&root, RECT{10, 130, 410, 330}, 3, kShown);
    chart.SetTitle("\xd3\xaa\xca\xd5");  // 营收
    chart.SetLegendVisible(true);
    chart.SetLeftMinMax(0, 10);
    chart.AddBar(1, 4, "Q1", CLR_NONE, false);
    chart.AddBar(2, 8, "Q2", RGB(255, 0, 0), false);
    label.Create(&root, RECT{10, 340, 210, 370}, 4, kShown);
    label.SetWindowText("\xb1\xea\xc7\xa9\r\nline\nend");  // 标签, a CRLF and an LF line end
    label.SetBkColor(RGB(255, 255, 255));
    hidden.Create(&root, RECT{0, 0, 10, 10}, 5, kShown);
    hidden.SetWindowText("invisible");
    hidden.ShowWindow(SW_HIDE);
  }
};

TEST(HtmlRender, PlacesEveryVisibleWindowAndConvertsTexts) {
  Page page;
  const std::string html = orbe::RenderWindowHtml(page.root);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(html.find("<title>report &lt;1&gt;</title>"), std::string::npos);
  // Four boxes: the root and three visible children; the hidden one is left out.
  EXPECT_EQ(Count(html, "<div class=\"w\""), 4u);
  EXPECT_EQ(html.find("invisible"), std::string::npos);
  EXPECT_NE(html.find("data-id=\"2\" data-kind=\"1\" style=\"left:10px;top:20px;width:300px;height:100px;"),
            std::string::npos);
  EXPECT_NE(html.find("data-id=\"4\" data-kind=\"4\" style=\"left:10px;top:340px;width:200px;height:30px;"
                      "background:#ffffff;\">"),
            std::string::npos);
  // The list as a table with its heading and escaped value; texts in UTF-8.
  EXPECT_EQ(Count(html, "<table class=\"g\""), 1u);
  EXPECT_NE(html.find("\xe5\x90\x8d\xe7\xa7\xb0</td>"), std::string::npos);
  EXPECT_NE(html.find(">a&amp;b</td>"), std::string::npos);
  // The chart as inline SVG with one rect per bar, its title and colours.
  EXPECT_EQ(Count(html, "<svg "), 1u);
  EXPECT_EQ(Count(html, "<rect class=\"bar\""), 2u);
  // Its value axis from 0 to 10 in steps of 2, each tick with its value.
  EXPECT_EQ(Count(html, "<text class=\"tick\""), 6u);
  for (const char* tick : {">0<", ">2<", ">4<", ">6<", ">8<", ">10<"}) EXPECT_NE(html.find(tick), std::string::npos) << tick;
  EXPECT_NE(html.find("\xe8\x90\xa5\xe6\x94\xb6</text>"), std::string::npos);
  EXPECT_NE(html.find("fill=\"#ff0000\""), std::string::npos);
  EXPECT_EQ(Count(html, "class=\"legend\""), 2u);
  EXPECT_EQ(Count(html, "<br>"), 2u);  // one per line end, CRLF or LF
  EXPECT_EQ(Count(html, "\r"), 0u);
  EXPECT_NE(html.find("\xe6\xa0\x87\xe7\xad\xbe"), std::string::npos);
  // Nothing GBK is left: the page is valid UTF-8.
  EXPECT_TRUE(orbe::Utf8ToGbkStrict(html).has_value());
}

// The live form carries what a front end sends back for every control; the
// snapshot form of the same windows carries none of it.
TEST(HtmlRender, TheLiveFormAddressesWhatAUserActsOn) {
  orbe::KvxWidget root{orbe::WidgetKind::kGeneric};
  root.Create(nullptr, RECT{0, 0, 600, 500}, 1);
  CGridCtrl grid(3, 2, 1, 0);
  grid.Create(RECT{0, 0, 200, 80}, &root, 2, kShown);
  grid.SetEditable(true);
  grid.SetItemText(1, 0, "edit me");
  grid.SetCellType(2, 1, GridCellType::kCombo);
  grid.SetComboItems(2, 1, {"a", "b\"", "\x95\x5c"});  // a GBK character whose second byte is a backslash
  CXHtmlTree tree;
  tree.Create(kShown, RECT{0, 100, 200, 200}, &root, 3);
  tree.SetCheckBoxes(true);
  const HTREEITEM branch = tree.InsertItem("branch");
  tree.InsertItem("leaf", branch);
  tree.Expand(branch, TVE_EXPAND);
  CKvxComboBox combo;
  combo.Create(&root, RECT{0, 220, 100, 240}, 4, kShown);
  combo.AddString("x");
  combo.AddString("y");
  combo.SetCurSel(1);
  CSwitchEx tabs;
  tabs.Create(&root, RECT{0, 250, 200, 270}, 5, kShown);
  tabs.InsertSwitchLabel(0, "one");
  tabs.InsertSwitchLabel(1, "two");

  const std::string live = orbe::RenderWindowLive(root);
  const std::string snapshot = orbe::RenderWindowHtml(root);
  EXPECT_EQ(live.rfind("<div class=\"w\"", 0), 0u) << "a fragment, no page around it";
  EXPECT_EQ(Count(live, " data-h=\""), 5u);
  const std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(grid.GetSafeHwnd()));
  const std::vector<std::string> pieces = {
      "data-h=\"" + handle + "\"",
      "data-r=\"1\" data-c=\"0\" data-edit=\"1\"",
      "data-r=\"2\" data-c=\"1\" data-entries=\"[&quot;a&quot;,&quot;b\\&quot;&quot;,&quot;" + orbe::GbkToUtf8("\x95\x5c") + "&quot;]\"",
      "data-item=\"" + std::to_string(branch) + "\"",
      "<span class=\"tog\">",
      "<span class=\"box\">",
      "<select class=\"combo\" style",
      "<option value=\"1\" selected>y</option>",
      " data-i=\"1\"",
  };
  for (const std::string& piece : pieces) {
    EXPECT_NE(live.find(piece), std::string::npos) << piece;
    EXPECT_EQ(snapshot.find(piece), std::string::npos) << piece;
  }
  EXPECT_EQ(Count(live, "data-r=\""), 6u);  // every cell, the heading row too
  EXPECT_NE(snapshot.find("<select class=\"combo\" disabled"), std::string::npos);
}

TEST(HtmlRender, SavesOnePageFile) {
  Page page;
  const auto path = std::filesystem::temp_directory_path() / "orbe_widgets_render_test.html";
  ASSERT_TRUE(orbe::SaveWindowHtml(page.root, path.string()));
  EXPECT_EQ(orbe::ReadWholeFile(path.string()).value_or(""), orbe::RenderWindowHtml(page.root));
  std::filesystem::remove(path);
  EXPECT_FALSE(orbe::SaveWindowHtml(page.root, "/nonexistent-dir/x.html"));
}

TEST(HtmlRender, AWindowOfARegisteredClassShowsTheClassBackground) {
  WNDCLASSA wc;
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.hbrBackground = CreateSolidBrush(15592427);  // 0xEDEBEB
  wc.lpszClassName = "HtmlRenderBackgroundTest";
  ASSERT_TRUE(AfxRegisterClass(&wc));
  CWnd window;
  ASSERT_TRUE(window.Create("HtmlRenderBackgroundTest", "stats", WS_VISIBLE, RECT{0, 0, 50, 50}, nullptr, 1));
  EXPECT_NE(orbe::RenderWindowHtml(window).find("background:#ebebed"), std::string::npos);
  // A widget's own colour wins over its class's.
  orbe::KvxWidget widget{orbe::WidgetKind::kGeneric};
  ASSERT_TRUE(widget.Create("HtmlRenderBackgroundTest", "", WS_VISIBLE, RECT{0, 0, 50, 50}, nullptr, 2));
  widget.SetBkColor(RGB(0, 0, 0));
  const std::string html = orbe::RenderWindowHtml(widget);
  EXPECT_EQ(html.find("background:#ebebed"), std::string::npos);
  EXPECT_NE(html.find("background:#000000"), std::string::npos);
}

TEST(ChartBar, KeepsSettings) {
  CChartBarCtrl chart;
  EXPECT_FALSE(chart.SetLeftMinMax(5, 5));
  EXPECT_TRUE(chart.SetLeftMinMax(0, 2.5));
  EXPECT_DOUBLE_EQ(chart.GetLeftMax(), 2.5);
  chart.SetBottomTickIncrement(false, 1.0);
  EXPECT_FALSE(chart.IsBottomTickAutomatic());
  chart.SetTitleFont(120, "Times New Roman");
  EXPECT_EQ(chart.GetTitleFont().face, "Times New Roman");
  EXPECT_EQ(chart.GetTitleFont().size, 12);  // given in tenths of a point
  chart.SetPanEnabled(false);
  chart.SetZoomEnabled(false);
  EXPECT_FALSE(chart.IsPanEnabled() || chart.IsZoomEnabled());
  chart.AddBar(3, 1.5, "x", 0xFFFFFFFF, false);
  ASSERT_EQ(chart.GetBars().size(), 1u);
  EXPECT_DOUBLE_EQ(chart.GetBars()[0].x, 3);
}

}  // namespace
