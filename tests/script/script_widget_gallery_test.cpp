// The sample page data/scripts/widget_gallery.py builds one widget of every
// family through the script object; the container's HTML snapshot shows each
// with the state the script gave it, checked family by family.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "orbe/widgets/html_render.h"
#include "support/script_harness.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

std::string ReadSource(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Pages are UTF-8; the sources' narrow literals are GBK.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

struct Family {
  const char* widget;  // the script's name for it (a key of W)
  int kind;            // orbe::WidgetKind
  // What its own page must show (UTF-8), and how often (0: at least once).
  std::vector<std::pair<const char8_t*, std::size_t>> shows;
};

TEST(ScriptWidgetGalleryTest, EveryFamilyShowsTheStateTheScriptSet) {
  orbe_test::HarnessContainer c;
  ASSERT_TRUE(c.Load(ReadSource(std::string(ORBE_SOURCE_DIR) + "/data/scripts/widget_gallery.py"))) << c.LastError();
  ASSERT_TRUE(c.Call("InitContainer", {""})) << c.LastError();

  const std::vector<Family> families = {
      {"title", 14, {{u8"行情与财务", 0}, {u8"linear-gradient(to right,#c0e0ff,#ffffff)", 1}, {u8"title=\"本页的所有控件\"", 1}, {u8"返回", 1}}},
      {"grid", 6,
       {{u8"colspan=\"3\"", 1}, {u8">行情<", 1}, {u8"data-hide=\"SH600519\"", 1},
        {u8"<a href=\"http://quote.example/600519\">", 1}, {u8"title=\"提示&#10;按涨幅排序\"", 1},
        {u8"data-image=\"0\"", 1}, {u8"class=\"arrow\"", 1}, {u8"background:#f0f0f0", 0}, {u8"color:#008000", 0}}},
      {"chart", 7,
       {{u8"<g class=\"series\"", 4}, {u8"class=\"gantt\"", 1}, {u8"class=\"strap\"", 1}, {u8">01-03<", 1}, {u8">放量<", 1},
        {u8"class=\"grid\"", 0}, {u8"<g class=\"legend\">", 4}, {u8"股价与成交量", 0}, {u8"class=\"shadow\"", 1}}},
      {"edit", 4, {{u8"公司公告：", 1}, {u8"<a href=\"http://notice.example/1\"", 1}, {u8"class=\"toolbar\"", 1}}},
      {"switch", 9, {{u8"<span class=\"tab\"", 2}, {u8"<span class=\"tab cur\"", 1}, {u8"财务", 0}}},
      {"web", 3, {{u8"https://www.example.org/report", 0}}},
      {"pie", 21, {{u8"class=\"slice\"", 2}, {u8"70.0%", 1}, {u8"stroke-width=\"2\" data-label=\"限售股\"", 1}, {u8"股本结构", 1}}},
      {"vchart", 34, {{u8"class=\"column\"", 4}, {u8"季度利润", 1}, {u8">-0.40<", 0}, {u8"fill=\"#00a000\"", 1}}},
      {"combo", 18, {{u8"<option selected>周线</option>", 1}, {u8"data-dropped-height=\"120\"", 1}}},
      {"checkcombo", 22, {{u8"沪市", 0}, {u8" checked>沪市", 1}}},
      {"check", 16, {{u8"复权", 0}, {u8"checked", 0}}},
      {"radio2", 17, {{u8"后复权", 0}, {u8"checked", 0}}},
      {"button", 15, {{u8"刷新", 0}, {u8"background:#ccffcc", 1}}},
      {"spin", 23, {{u8">20<", 1}}},
      {"datetime", 24, {{u8"2024-06-28", 1}, {u8"15:00:00", 1}}},
      {"paging", 25, {{u8"<span class=\"page cur\"", 1}, {u8">3</span>", 1}}},
      {"xpaging", 26, {{u8">7</span>", 1}, {u8"background:#cc6633", 1}, {u8"7/40", 1}}},
      {"monthcal", 27, {{u8"2024-06", 1}}},
      {"picture", 28, {{u8"data:image/bmp;base64,", 1}}},
      {"updownstream", 29, {{u8"钢铁", 1}, {u8"铁矿石", 1}, {u8"汽车", 1}}},
      {"picturebtn", 30, {{u8"title=\"打印\"", 1}}},
      {"combotree", 31, {{u8"概念\\新能源", 1}, {u8"银行", 1}}},
      {"listtree", 20, {{u8"自选股", 1}, {u8"浦发银行", 1}}},
      {"trade", 32, {{u8"class=\"quote\"", 1}}},
      {"plugin", 33, {{u8"600000", 0}}},
  };
  for (const Family& family : families) {
    const std::string id_text = c.Eval("W['" + std::string(family.widget) + "']");
    ASSERT_NE(id_text.find("<error"), 0u) << family.widget;
    const int id = std::stoi(id_text);
    ASSERT_NE(c.GetWnd(id), nullptr) << family.widget;
    EXPECT_EQ(c.GetWndType(id), family.kind) << family.widget;
    const std::string page = orbe::RenderWindowHtml(*c.GetWnd(id));
    for (const auto& [text, times] : family.shows) {
      const std::string piece = Utf8(text);
      if (times == 0) {
        EXPECT_NE(page.find(piece), std::string::npos) << family.widget << " shows " << piece << "\n" << page;
      } else {
        EXPECT_EQ(Count(page, piece), times) << family.widget << " shows " << piece << "\n" << page;
      }
    }
  }
  // The grid's rows in the order of the script's sort (change, descending).
  const std::string grid = orbe::RenderWindowHtml(*c.GetWnd(std::stoi(c.Eval("W['grid']"))));
  EXPECT_LT(grid.find("600519"), grid.find("600000"));
  EXPECT_LT(grid.find("600000"), grid.find("000001"));

  // The container's own page: the strip, what it draws, its menu, its state.
  const std::string page = orbe::RenderWindowHtml(c);
  for (const char8_t* piece : {u8">行情与财务</span>", u8"数据仅供参考", u8"stroke-dasharray", u8"data-tabs=\"",
                               u8"background:#f8f8f8"}) {
    EXPECT_NE(page.find(Utf8(piece)), std::string::npos) << Utf8(piece);
  }
  // Every widget is a box of the page (a few own child windows of their own).
  for (const int id : c.GetAllWndID()) {
    EXPECT_NE(page.find("data-id=\"" + std::to_string(id) + "\""), std::string::npos) << id;
  }
}

}  // namespace
