// The chart's series kinds, axis ticks, layout (ValueToScreen against the
// drawing), its user-facing extras (cross-hair, axis scroll bar, frozen
// refresh, fixed point) and the picture file drawn from the same shapes.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/html_writer.h"
#include "png_reader.h"

namespace {

std::string Svg(const CChartCtrl& chart) {
  orbe::HtmlWriter out;
  chart.RenderHtml(out);
  return out.Take();
}

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
  return n;
}

std::vector<std::string> Labels(const CChartCtrl& chart, ChartAxisPos pos) {
  std::vector<std::string> labels;
  for (const ChartTick& tick : chart.GetTicks(pos)) labels.push_back(tick.label);
  return labels;
}

double LocalDay(int year, int month, int day) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_isdst = -1;
  return static_cast<double>(std::mktime(&tm));
}

struct Chart {
  CChartCtrl chart;
  Chart() { chart.Create(nullptr, RECT{0, 0, 400, 300}, 1); }
};

TEST(ChartSeries, EachKindTakesItsPointsAndTheAxesSpanThem) {
  Chart c;
  CChartCtrl& chart = c.chart;
  const int gantt = chart.AddSerie(ChartSeriesKind::kGantt);
  EXPECT_TRUE(chart.AddGanttPoint(gantt, 1, 5, 2));
  EXPECT_FALSE(chart.AddGanttPoint(gantt, 5, 1, 2)) << "an end before its start";
  EXPECT_FALSE(chart.AddPoint(gantt, 1, 1)) << "a Gantt series takes bars only";
  const int strap = chart.AddSerie(ChartSeriesKind::kStrap);
  EXPECT_TRUE(chart.AddStrapPoint(strap, 0, 1, 7));
  EXPECT_TRUE(chart.AddStrapPoint(strap, 6, 2, 3));
  EXPECT_FALSE(chart.AddStrapPoint(strap, 1, 3, 1)) << "a low above its high";
  EXPECT_FALSE(chart.AddGanttPoint(strap, 0, 1, 1));
  double min = 0, max = 0;
  chart.GetAxisMinMax(ChartAxisPos::kBottom, &min, &max);
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 6);
  chart.GetAxisMinMax(ChartAxisPos::kLeft, &min, &max);
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 7);

  // Bars and surfaces grow from their base, which the automatic axis keeps in view.
  Chart b;
  const int bars = b.chart.AddSerie(ChartSeriesKind::kBar);
  b.chart.AddPoint(bars, 1, 5);
  b.chart.AddPoint(bars, 2, 8);
  b.chart.GetAxisMinMax(ChartAxisPos::kLeft, &min, &max);
  EXPECT_EQ(min, 0);
  b.chart.GetSerie(bars)->horizontal_bars = true;  // categories go up the vertical axis
  b.chart.GetAxisMinMax(ChartAxisPos::kLeft, &min, &max);
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 2);

  // Points leave from either end; the fixed (clicked) point follows its point.
  const int line = b.chart.AddSerie(ChartSeriesKind::kLine);
  for (int x = 0; x < 5; ++x) b.chart.AddPoint(line, x, x);
  EXPECT_TRUE(b.chart.ClickPoint(line, 3));
  EXPECT_TRUE(b.chart.RemovePoints(line, 2, true));
  EXPECT_EQ(b.chart.GetSerie(line)->fixed_point, 1);
  EXPECT_EQ(b.chart.GetSerie(line)->points.front().x, 2);
  EXPECT_TRUE(b.chart.RemovePoints(line, 10, false));
  EXPECT_TRUE(b.chart.GetSerie(line)->points.empty());
  EXPECT_EQ(b.chart.GetSerie(line)->fixed_point, -1);
  EXPECT_FALSE(b.chart.RemovePoints(line, -1, true));

  const std::string svg = Svg(chart);
  EXPECT_EQ(Count(svg, "class=\"gantt\""), 1u);
  EXPECT_EQ(Count(svg, "class=\"strap\""), 1u);
}

TEST(ChartSeries, TicksByAxisType) {
  struct Case {
    const char* what;
    void (*setup)(CChartCtrl&);
    ChartAxisPos axis;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {"numbers in steps of 1, 2 or 5",
       [](CChartCtrl& c) { c.SetAxisMinMax(ChartAxisPos::kLeft, 0, 10); }, ChartAxisPos::kLeft,
       {"0", "2", "4", "6", "8", "10"}},
      {"a fixed step shows the decimals it needs",
       [](CChartCtrl& c) {
         c.SetAxisMinMax(ChartAxisPos::kLeft, 0, 6);
         c.GetAxis(ChartAxisPos::kLeft).tick = 2.5;
       },
       ChartAxisPos::kLeft, {"0.0", "2.5", "5.0"}},
      {"a unit after each text",
       [](CChartCtrl& c) {
         c.SetAxisMinMax(ChartAxisPos::kLeft, 0, 1);
         c.GetAxis(ChartAxisPos::kLeft).unit = "%";
       },
       ChartAxisPos::kLeft, {"0.0%", "0.2%", "0.4%", "0.6%", "0.8%", "1.0%"}},
      {"a discrete axis: whole steps, half a step of room",
       [](CChartCtrl& c) {
         const int s = c.AddSerie(ChartSeriesKind::kBar);
         for (int x = 1; x <= 3; ++x) c.AddPoint(s, x, x);
         c.GetAxis(ChartAxisPos::kBottom).discrete = true;
       },
       ChartAxisPos::kBottom, {"1", "2", "3"}},
      {"a logarithmic axis: decades",
       [](CChartCtrl& c) {
         c.CreateAxis(ChartAxisPos::kLeft, ChartAxisType::kLogarithmic);
         c.SetAxisMinMax(ChartAxisPos::kLeft, 1, 1000);
       },
       ChartAxisPos::kLeft, {"1", "10", "100", "1000"}},
      {"a time axis in days",
       [](CChartCtrl& c) {
         c.CreateAxis(ChartAxisPos::kBottom, ChartAxisType::kDateTime);
         c.SetAxisMinMax(ChartAxisPos::kBottom, LocalDay(2024, 2, 27), LocalDay(2024, 3, 2));
       },
       ChartAxisPos::kBottom, {"02-27", "02-28", "02-29", "03-01", "03-02"}},
      {"a time axis by calendar months, its own format",
       [](CChartCtrl& c) {
         c.CreateAxis(ChartAxisPos::kBottom, ChartAxisType::kDateTime);
         c.SetAxisMinMax(ChartAxisPos::kBottom, LocalDay(2023, 11, 15), LocalDay(2024, 3, 1));
         ChartAxis& a = c.GetAxis(ChartAxisPos::kBottom);
         a.time_auto = false;
         a.time_unit = ChartTimeUnit::kMonth;
         a.time_format_auto = false;
         a.time_format = "%Y/%m";
       },
       ChartAxisPos::kBottom, {"2023/12", "2024/01", "2024/02", "2024/03"}},
      {"a time axis every other day from a reference",
       [](CChartCtrl& c) {
         c.CreateAxis(ChartAxisPos::kBottom, ChartAxisType::kDateTime);
         c.SetAxisMinMax(ChartAxisPos::kBottom, LocalDay(2024, 1, 1), LocalDay(2024, 1, 6));
         ChartAxis& a = c.GetAxis(ChartAxisPos::kBottom);
         a.time_auto = false;
         a.time_multiple = 2;
         a.time_reference = LocalDay(2023, 12, 31);
       },
       ChartAxisPos::kBottom, {"01-02", "01-04", "01-06"}},
      {"custom ticks from a series' user data",
       [](CChartCtrl& c) {
         const int s = c.AddSerie(ChartSeriesKind::kLine);
         c.AddPoint(s, 1, 1, "Q1");
         c.AddPoint(s, 2, 2, "Q2");
         ChartAxis& a = c.GetAxis(ChartAxisPos::kBottom);
         a.custom_ticks = true;
         a.active_series = s;
       },
       ChartAxisPos::kBottom, {"Q1", "Q2"}},
  };
  for (const Case& t : cases) {
    Chart c;
    t.setup(c.chart);
    EXPECT_EQ(Labels(c.chart, t.axis), t.labels) << t.what;
    // The page writes every tick text it has.
    const std::string svg = Svg(c.chart);
    for (const std::string& label : t.labels) EXPECT_NE(svg.find(">" + label + "<"), std::string::npos) << t.what;
  }
  Chart c;
  c.chart.CreateAxis(ChartAxisPos::kBottom, ChartAxisType::kDateTime);
  c.chart.SetAxisMinMax(ChartAxisPos::kBottom, 0, 3 * 86400);
  EXPECT_EQ(c.chart.GetTickIncrement(ChartAxisPos::kBottom), 86400);
  EXPECT_FALSE(c.chart.SetAxisMinMax(ChartAxisPos::kLeft, 1, 1));
  c.chart.CreateAxis(ChartAxisPos::kLeft, ChartAxisType::kLogarithmic);
  EXPECT_FALSE(c.chart.SetAxisMinMax(ChartAxisPos::kLeft, 0, 10)) << "no zero on a logarithmic scale";
}

TEST(ChartSeries, ValueToScreenIsWhereTheDrawingPutsThePoint) {
  Chart c;
  CChartCtrl& chart = c.chart;
  chart.SetTitle("t");
  chart.SetLegendVisible(true);
  const int points = chart.AddSerie(ChartSeriesKind::kPoints, "p", ChartAxisPos::kRight);
  chart.AddPoint(points, 3, 40);
  chart.AddPoint(points, 7, 90);
  int px = 0, py = 0;
  ASSERT_TRUE(chart.ValueToScreen(points, 7, 90, &px, &py));
  const std::string svg = Svg(chart);
  const std::regex mark("<circle class=\"point\" cx=\"([0-9.]+)\" cy=\"([0-9.]+)\"[^>]*data-point=\"1\"");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(svg, m, mark)) << svg;
  EXPECT_NEAR(std::stod(m[1]), px, 0.5);
  EXPECT_NEAR(std::stod(m[2]), py, 0.5);
  // The last x is the plot's right edge, the highest y its top.
  int left_x = 0, left_y = 0;
  ASSERT_TRUE(chart.ValueToScreen(points, 3, 40, &left_x, &left_y));
  EXPECT_LT(left_x, px);
  EXPECT_GT(left_y, py);
  CChartCtrl empty;  // no window, no room
  EXPECT_FALSE(empty.ValueToScreen(0, 1, 1, &px, &py));
}

TEST(ChartSeries, CrossHairScrollBarRefreshAndLooksShowOnThePage) {
  Chart c;
  CChartCtrl& chart = c.chart;
  const int line = chart.AddSerie(ChartSeriesKind::kLine, "close");
  for (int x = 0; x < 100; ++x) chart.AddPoint(line, x, x % 7);
  // The cross-hair follows the mouse inside the plot only.
  chart.CrossHair() = {true, true, true, RGB(255, 0, 0), 1, 1};
  chart.MoveMouse(5, 5);
  EXPECT_EQ(Count(Svg(chart), "class=\"crosshair\""), 0u);
  chart.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
  EXPECT_EQ(Count(Svg(chart), "class=\"crosshair\""), 1u);
  EXPECT_EQ(Count(Svg(chart), "class=\"crossvalue\""), 2u);

  // A range narrower than the data shows the axis scroll bar, which pans it.
  ChartAxis& bottom = chart.GetAxis(ChartAxisPos::kBottom);
  bottom.scroll_bar = true;
  EXPECT_FALSE(chart.IsAxisScrollBarShown(ChartAxisPos::kBottom)) << "the whole data is in view";
  ASSERT_TRUE(chart.SetAxisMinMax(ChartAxisPos::kBottom, 0, 20));
  EXPECT_TRUE(chart.IsAxisScrollBarShown(ChartAxisPos::kBottom));
  EXPECT_EQ(Count(Svg(chart), "class=\"thumb\""), 1u);
  EXPECT_TRUE(chart.ScrollAxis(ChartAxisPos::kBottom, 3));
  EXPECT_EQ(bottom.min, 6);
  EXPECT_EQ(bottom.max, 26);
  EXPECT_TRUE(chart.ScrollAxis(ChartAxisPos::kBottom, 1000));
  EXPECT_EQ(bottom.max, 99) << "kept inside the data";
  EXPECT_FALSE(chart.ScrollAxis(ChartAxisPos::kBottom, 1)) << "at the end already";
  bottom.auto_hide_scroll_bar = false;
  bottom.automatic = true;
  EXPECT_TRUE(chart.IsAxisScrollBarShown(ChartAxisPos::kBottom));
  EXPECT_FALSE(chart.ScrollAxis(ChartAxisPos::kBottom, -1)) << "an automatic axis shows everything";

  // Switched off, the page keeps what it showed.
  const std::string before = Svg(chart);
  chart.EnableRefresh(false);
  chart.SetTitle("changed");
  EXPECT_EQ(Svg(chart), before);
  chart.EnableRefresh(true);
  EXPECT_NE(Svg(chart).find(">changed<"), std::string::npos);

  // Legend, bar and series looks.
  chart.SetLegendVisible(true);
  chart.LegendLook().undocked = true;
  chart.LegendLook().x = 30;
  chart.LegendLook().shadow = true;
  const int bars = chart.AddSerie(ChartSeriesKind::kBar, "vol");
  chart.AddPoint(bars, 10, -3);
  chart.AddPoint(bars, 11, 4);
  ChartSeries& b = *chart.GetSerie(bars);
  b.negative = true;
  b.negative_color = RGB(0, 0, 255);
  b.bar_3d = true;
  b.bar_gradient = true;
  b.points[1].balloon = "peak";
  chart.GetSerie(line)->shadow = true;
  chart.GetSerie(line)->smooth = true;
  const std::string svg = Svg(chart);
  EXPECT_EQ(Count(svg, "class=\"legendshadow\""), 1u);
  EXPECT_NE(svg.find("<rect class=\"legendback\" x=\"30\""), std::string::npos);
  EXPECT_EQ(Count(svg, "class=\"bar3d\""), 4u);
  EXPECT_NE(svg.find("stop-color=\"#0000ff\""), std::string::npos) << "the negative bar, its gradient from blue";
  EXPECT_NE(svg.find(">peak<"), std::string::npos);
  EXPECT_EQ(Count(svg, "class=\"shadow\""), 1u);
  EXPECT_NE(svg.find("<path d=\"M"), std::string::npos) << "a smooth line is a curve";
  EXPECT_NE(svg.find("<linearGradient"), std::string::npos);
}

TEST(ChartSeries, TheSavedPictureIsTheDrawing) {
  Chart c;
  CChartCtrl& chart = c.chart;
  chart.SetBkColor(RGB(255, 255, 255));
  const int bars = chart.AddSerie(ChartSeriesKind::kBar);
  chart.GetSerie(bars)->color = RGB(200, 0, 0);
  chart.GetSerie(bars)->bar_width = 20;
  chart.AddPoint(bars, 1, 10);
  chart.AddPoint(bars, 2, 10);
  int px = 0, py = 0;
  ASSERT_TRUE(chart.ValueToScreen(bars, 1, 5, &px, &py));  // halfway up the first bar
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "orbe_chart_series_test.png";
  ASSERT_TRUE(chart.SaveAsImage(path.string()));
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const auto png = DecodePng(bytes.str());
  ASSERT_TRUE(png.has_value());
  EXPECT_EQ(png->width, 400);
  EXPECT_EQ(png->height, 300);
  EXPECT_EQ(png->Pixel(px, py), 0xC80000u) << "the bar's colour where the page has the bar";
  EXPECT_EQ(png->Pixel(px, 3), 0xFFFFFFu) << "background above it";
  std::filesystem::remove(path);
  EXPECT_FALSE(chart.SaveAsImage("")) << "no path, no file";
}

}  // namespace
