#include "orbe/widgets/chart_ctrl.h"

#include <gtest/gtest.h>

#include <vector>

#include "orbe/widgets/html_writer.h"

namespace {

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t count = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++count;
  return count;
}

struct Recorder : IChartListener {
  std::vector<int> points;
  std::vector<UINT> keys;
  void OnMouseEventSeries(CChartCtrl&, int series, int point, ChartMouseEvent event) override {
    points.push_back(series * 100 + point * 10 + static_cast<int>(event));
  }
  void OnKeyEventPlotArea(CChartCtrl&, UINT key) override { keys.push_back(key); }
};

TEST(ChartCtrl, SeriesPointsAndAutomaticAxes) {
  CChartCtrl chart;
  const int line = chart.AddSerie(ChartSeriesKind::kLine, "close");
  const int right = chart.AddSerie(ChartSeriesKind::kBar, "volume", ChartAxisPos::kRight);
  EXPECT_NE(line, right);
  EXPECT_TRUE(chart.GetAxis(ChartAxisPos::kRight).visible);
  double min = 0, max = 0;
  chart.GetAxisMinMax(ChartAxisPos::kLeft, &min, &max);
  EXPECT_EQ(min, 0);
  EXPECT_EQ(max, 1);
  chart.AddPoint(line, 1, 10);
  chart.GetAxisMinMax(ChartAxisPos::kLeft, &min, &max);
  EXPECT_EQ(min, 9);  // a single value is widened
  EXPECT_EQ(max, 11);
  chart.AddPoint(line, 2, 14);
  chart.AddPoint(right, 3, 5000);
  chart.GetAxisMinMax(ChartAxisPos::kLeft, &min, &max);
  EXPECT_EQ(max, 14);  // the right axis' series does not stretch the left one
  chart.GetAxisMinMax(ChartAxisPos::kBottom, &min, &max);
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 3);
  EXPECT_FALSE(chart.SetAxisMinMax(ChartAxisPos::kLeft, 5, 5));
  EXPECT_TRUE(chart.SetAxisMinMax(ChartAxisPos::kLeft, 0, 20));
  chart.GetAxisMinMax(ChartAxisPos::kLeft, &min, &max);
  EXPECT_EQ(max, 20);
  EXPECT_FALSE(chart.AddCandlestickPoint(line, 1, 1, 2, 1, 2));  // not a candle series
  const int candles = chart.AddSerie(ChartSeriesKind::kCandlestick);
  EXPECT_TRUE(chart.AddCandlestickPoint(candles, 1, 9, 12, 10, 11));
  EXPECT_FALSE(chart.AddCandlestickPoint(candles, 2, 12, 9, 10, 11));  // low above high
  EXPECT_FALSE(chart.AddCandlestickPoint(candles, 2, 9, 12, 13, 11));  // open above high
  EXPECT_FALSE(chart.AddPoint(candles, 1, 1));
  EXPECT_EQ(chart.GetSeriesCount(), 3);
  EXPECT_TRUE(chart.RemoveSerie(right));
  EXPECT_FALSE(chart.RemoveSerie(right));
  EXPECT_EQ(chart.AddSerie(ChartSeriesKind::kPoints), candles + 1);  // ids are not reused
}

TEST(ChartCtrl, UserEventsReachTheListener) {
  CChartCtrl chart;
  chart.Create(nullptr, RECT{0, 0, 200, 100}, 1);
  Recorder recorder;
  chart.SetListener(&recorder);
  const int s = chart.AddSerie(ChartSeriesKind::kPoints);
  chart.AddPoint(s, 1, 1, "user");
  chart.AddPoint(s, 2, 2);
  EXPECT_TRUE(chart.ClickPoint(s, 0));  // the fixed point moves, but nobody listens yet
  EXPECT_EQ(chart.GetSerie(s)->fixed_point, 0);
  chart.GetSerie(s)->mouse_listener = true;
  EXPECT_TRUE(chart.ClickPoint(s, 1, ChartMouseEvent::kDoubleClick));
  EXPECT_FALSE(chart.ClickPoint(s, 2));
  EXPECT_FALSE(chart.ClickPoint(s + 1, 0));
  chart.GetSerie(s)->visible = false;
  EXPECT_FALSE(chart.ClickPoint(s, 0));
  EXPECT_EQ(recorder.points, std::vector<int>{s * 100 + 11});
  EXPECT_FALSE(chart.PressKey(0x25));
  chart.EnableKeyDownMsg(true);
  EXPECT_TRUE(chart.PressKey(0x25));
  EXPECT_EQ(recorder.keys, std::vector<UINT>{0x25});
}

TEST(ChartCtrl, RendersSeriesTitlesAndLegendAsSvg) {
  CChartCtrl chart;
  chart.Create(nullptr, RECT{0, 0, 400, 300}, 1);
  chart.SetTitle("\xd6\xf7\xcc\xe2");  // 主题
  chart.AddTitleString("second & last");
  chart.SetLegendVisible(true);
  const int line = chart.AddSerie(ChartSeriesKind::kLine, "close");
  const int bars = chart.AddSerie(ChartSeriesKind::kBar, "vol");
  for (int i = 0; i < 3; ++i) {
    chart.AddPoint(line, i, i * 2.0);
    chart.AddPoint(bars, i, i + 1.0);
  }
  chart.GetSerie(bars)->color = RGB(0, 0, 255);
  const int hidden = chart.AddSerie(ChartSeriesKind::kPoints, "hidden");
  chart.GetSerie(hidden)->visible = false;
  orbe::HtmlWriter out;
  chart.RenderHtml(out);
  const std::string& svg = out.str();
  EXPECT_EQ(Count(svg, "<polyline"), 1u);
  EXPECT_EQ(Count(svg, "<rect class=\"bar\""), 3u);
  EXPECT_EQ(Count(svg, "class=\"legend\""), 2u);
  EXPECT_NE(svg.find("\xe4\xb8\xbb\xe9\xa2\x98"), std::string::npos);  // UTF-8 title
  EXPECT_NE(svg.find("second &amp; last"), std::string::npos);
  EXPECT_NE(svg.find("fill=\"#0000ff\""), std::string::npos);
  EXPECT_EQ(svg.find("hidden"), std::string::npos);
}

}  // namespace
