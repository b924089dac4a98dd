// CChartCtrl as SVG: title lines on top, the plot area inside fixed margins,
// the legend as a column of swatches on its dock side.
#include <algorithm>
#include <array>
#include <cmath>

#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/html_writer.h"

namespace {

constexpr std::array<COLORREF, 6> kPalette{RGB(70, 130, 180), RGB(220, 20, 60),  RGB(46, 139, 87),
                                           RGB(255, 140, 0),  RGB(106, 90, 205), RGB(128, 128, 0)};
constexpr double kMargin = 40;
constexpr double kTitleLine = 18;
constexpr double kLegendWidth = 90;

struct Plot {
  double left, top, width, height;
  double x_min, x_max, y_min, y_max;
  double X(double x) const { return left + width * (x - x_min) / (x_max - x_min); }
  double Y(double y) const { return top + height * (y_max - y) / (y_max - y_min); }
};

void Line(orbe::HtmlWriter& out, double x1, double y1, double x2, double y2, const std::string& color) {
  out.Raw("<line x1=\"").Number(x1).Raw("\" y1=\"").Number(y1).Raw("\" x2=\"").Number(x2);
  out.Raw("\" y2=\"").Number(y2).Raw("\" stroke=\"").Raw(color).Raw("\"/>");
}

void RenderSeries(const ChartSeries& series, const Plot& plot, const std::string& color,
                  orbe::HtmlWriter& out) {
  out.Raw("<g class=\"series\" data-series=\"").Raw(std::to_string(series.id)).Raw("\">");
  if (series.kind == ChartSeriesKind::kLine) {
    out.Raw("<polyline fill=\"none\" stroke=\"").Raw(color).Raw("\" stroke-width=\"").Number(series.width);
    out.Raw("\" points=\"");
    for (const ChartPoint& p : series.points) out.Number(plot.X(p.x)).Raw(",").Number(plot.Y(p.y)).Raw(" ");
    out.Raw("\"/>");
  }
  const double slot = plot.width / static_cast<double>(std::max<std::size_t>(series.points.size(), 1));
  for (const ChartPoint& p : series.points) {
    if (series.kind == ChartSeriesKind::kPoints) {
      out.Raw("<circle cx=\"").Number(plot.X(p.x)).Raw("\" cy=\"").Number(plot.Y(p.y));
      out.Raw("\" r=\"3\" fill=\"").Raw(color).Raw("\"/>");
    } else if (series.kind == ChartSeriesKind::kBar) {
      const double zero = plot.Y(std::clamp(0.0, plot.y_min, plot.y_max));
      const double y = plot.Y(p.y);
      out.Raw("<rect class=\"bar\" x=\"")
          .Number(plot.X(p.x) - slot * 0.35)
          .Raw("\" y=\"")
          .Number(std::min(y, zero));
      out.Raw("\" width=\"").Number(slot * 0.7).Raw("\" height=\"").Number(std::abs(zero - y));
      out.Raw("\" fill=\"").Raw(color).Raw("\"/>");
    } else if (series.kind == ChartSeriesKind::kCandlestick) {
      // Rising candles hollow red, falling filled green, as quotes are read here.
      const bool rising = p.y >= p.open;
      const std::string candle = rising ? "#ff0000" : "#008000";
      Line(out, plot.X(p.x), plot.Y(p.high), plot.X(p.x), plot.Y(p.low), candle);
      out.Raw("<rect class=\"candle\" x=\"").Number(plot.X(p.x) - slot * 0.3);
      out.Raw("\" y=\"").Number(plot.Y(std::max(p.open, p.y))).Raw("\" width=\"").Number(slot * 0.6);
      out.Raw("\" height=\"").Number(std::max(std::abs(plot.Y(p.open) - plot.Y(p.y)), 1.0));
      out.Raw("\" stroke=\"").Raw(candle).Raw("\" fill=\"").Raw(rising ? "#ffffff" : candle).Raw("\"/>");
    }
  }
  out.Raw("</g>");
}

// The drawing's size and the plot area of one vertical axis, shared by the
// renderer and the mouse position of a point.
struct Frame {
  double width, height;
  bool legend_side;
};

Frame FrameOf(const RECT& rect, bool legend_visible, LegendDock dock) {
  return Frame{std::max<double>(rect.right - rect.left, 3 * kMargin + kLegendWidth),
               std::max<double>(rect.bottom - rect.top, 3 * kMargin),
               legend_visible && (dock == LegendDock::kRight || dock == LegendDock::kLeft)};
}

Plot PlotOf(const Frame& frame, std::size_t title_lines, LegendDock dock) {
  const double titles = kTitleLine * static_cast<double>(title_lines);
  return Plot{kMargin + (frame.legend_side && dock == LegendDock::kLeft ? kLegendWidth : 0),
              kMargin / 2 + titles,
              frame.width - 2 * kMargin - (frame.legend_side ? kLegendWidth : 0),
              frame.height - kMargin * 1.5 - titles,
              0,
              1,
              0,
              1};
}

}  // namespace

COLORREF CChartCtrl::SeriesColor(const ChartSeries& series) const {
  if (series.color != CLR_NONE) return series.color;
  return kPalette[static_cast<std::size_t>(series.id) % kPalette.size()];
}

bool CChartCtrl::GetPointScreenPos(int series_id, int point, int* x, int* y) const {
  const ChartSeries* series = GetSerie(series_id);
  if (series == nullptr || point < 0 || point >= static_cast<int>(series->points.size())) return false;
  RECT rect;
  GetClientRect(&rect);
  Plot plot = PlotOf(FrameOf(rect, legend_visible_, legend_dock_), titles_.size(), legend_dock_);
  GetAxisMinMax(ChartAxisPos::kBottom, &plot.x_min, &plot.x_max);
  GetAxisMinMax(series->vertical_axis, &plot.y_min, &plot.y_max);
  const ChartPoint& at = series->points[static_cast<std::size_t>(point)];
  if (x != nullptr) *x = static_cast<int>(std::lround(plot.X(at.x)));
  if (y != nullptr) *y = static_cast<int>(std::lround(plot.Y(at.y)));
  return true;
}

void CChartCtrl::RenderHtml(orbe::HtmlWriter& out) const {
  RECT rect;
  GetClientRect(&rect);
  const Frame frame = FrameOf(rect, legend_visible_, legend_dock_);
  const double width = frame.width;
  const double height = frame.height;
  const bool legend_side = frame.legend_side;
  Plot plot = PlotOf(frame, titles_.size(), legend_dock_);
  GetAxisMinMax(ChartAxisPos::kBottom, &plot.x_min, &plot.x_max);
  GetAxisMinMax(ChartAxisPos::kLeft, &plot.y_min, &plot.y_max);
  Plot right_plot = plot;
  GetAxisMinMax(ChartAxisPos::kRight, &right_plot.y_min, &right_plot.y_max);

  out.Raw("<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" width=\"").Number(width);
  out.Raw("\" height=\"").Number(height).Raw("\">");
  if (border_visible_) {
    out.Raw("<rect x=\"0.5\" y=\"0.5\" width=\"").Number(width - 1).Raw("\" height=\"").Number(height - 1);
    out.Raw("\" fill=\"none\" stroke=\"").Raw(orbe::CssColor(border_color_)).Raw("\"/>");
  }
  for (std::size_t i = 0; i < titles_.size(); ++i) {
    out.Raw("<text class=\"title\" x=\"").Number(width / 2).Raw("\" y=\"").Number(kTitleLine * (i + 1));
    out.Raw("\" text-anchor=\"middle\" fill=\"").Raw(orbe::CssColor(title_color_)).Raw("\" style=\"");
    out.Raw(orbe::CssFont(title_font_)).Raw("\">").Text(titles_[i]).Raw("</text>");
  }
  const double bottom = plot.top + plot.height, right = plot.left + plot.width;
  if (GetAxis(ChartAxisPos::kLeft).visible) Line(out, plot.left, plot.top, plot.left, bottom, "#000");
  if (GetAxis(ChartAxisPos::kBottom).visible) Line(out, plot.left, bottom, right, bottom, "#000");
  if (GetAxis(ChartAxisPos::kRight).visible) Line(out, right, plot.top, right, bottom, "#000");
  out.Raw("<text class=\"scale\" x=\"2\" y=\"").Number(plot.top + 4).Raw("\" font-size=\"10\">");
  out.Number(plot.y_max)
      .Raw("</text><text class=\"scale\" x=\"2\" y=\"")
      .Number(bottom)
      .Raw("\" font-size=\"10\">");
  out.Number(plot.y_min).Raw("</text>");
  for (const ChartSeries& series : series_) {
    if (!series.visible) continue;
    RenderSeries(series, series.vertical_axis == ChartAxisPos::kRight ? right_plot : plot,
                 orbe::CssColor(SeriesColor(series)), out);
  }
  if (legend_visible_) {
    double x = legend_dock_ == LegendDock::kLeft ? 4 : legend_side ? width - kLegendWidth : plot.left;
    double y = legend_dock_ == LegendDock::kBottom ? height - 12 : plot.top;
    for (const ChartSeries& series : series_) {
      if (!series.visible) continue;
      out.Raw("<g class=\"legend\"><rect x=\"")
          .Number(x)
          .Raw("\" y=\"")
          .Number(y)
          .Raw("\" width=\"10\" height=\"10\"");
      out.Raw(" fill=\"").Raw(orbe::CssColor(SeriesColor(series))).Raw("\"/><text x=\"").Number(x + 14);
      out.Raw("\" y=\"")
          .Number(y + 9)
          .Raw("\" font-size=\"10\" style=\"")
          .Raw(orbe::CssFont(legend_font_))
          .Raw("\">");
      out.Text(series.name).Raw("</text></g>");
      if (legend_side)
        y += 14;
      else
        x += kLegendWidth;
    }
  }
  out.Raw("</svg>");
}
