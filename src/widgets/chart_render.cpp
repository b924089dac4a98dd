// The chart's picture: title lines on top, the plot area inside margins that
// leave room for the shown axes, their scroll bars and the legend, then the
// series, the legend and the cross-hair. ValueToScreen uses the same layout.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "orbe/platform/text.h"
#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/vector_drawing.h"

namespace {

constexpr std::array<COLORREF, 6> kPalette{RGB(70, 130, 180), RGB(220, 20, 60),  RGB(46, 139, 87),
                                           RGB(255, 140, 0),  RGB(106, 90, 205), RGB(128, 128, 0)};
constexpr double kMargin = 40;
constexpr double kTitleLine = 18;
constexpr double kLegendWidth = 90;
constexpr double kLegendLine = 14;
constexpr double kScrollBar = 8;

bool IsHorizontal(ChartAxisPos pos) { return pos == ChartAxisPos::kBottom || pos == ChartAxisPos::kTop; }

COLORREF Lighter(COLORREF c, double amount) {
  const auto up = [amount](int v) { return static_cast<BYTE>(std::lround(v + (255 - v) * amount)); };
  return RGB(up(GetRValue(c)), up(GetGValue(c)), up(GetBValue(c)));
}
COLORREF Darker(COLORREF c, double amount) {
  const auto down = [amount](int v) { return static_cast<BYTE>(std::lround(v * (1 - amount))); };
  return RGB(down(GetRValue(c)), down(GetGValue(c)), down(GetBValue(c)));
}

orbe::DrawStyle Filled(COLORREF fill) {
  orbe::DrawStyle style;
  style.fill = fill;
  return style;
}
orbe::DrawStyle Stroked(COLORREF stroke, double width = 1, int dash = orbe::kDashSolid) {
  orbe::DrawStyle style;
  style.stroke = stroke;
  style.stroke_width = width;
  style.dash = dash;
  return style;
}

std::string SeriesAttribute(int id) { return "data-series=\"" + std::to_string(id) + "\""; }

}  // namespace

struct CChartCtrl::Plot {
  double width = 0, height = 0;   // the chart
  double left = 0, top = 0, w = 0, h = 0;  // the plot area
  std::array<std::array<double, 2>, 4> range{};
  std::array<ChartAxisType, 4> type{};
  double legend_x = 0, legend_y = 0;

  // Where a value lies along an axis, 0..1 from its min to its max; NaN when
  // it cannot be placed (a logarithmic axis and a value <= 0).
  double Fraction(ChartAxisPos pos, double value) const {
    const auto i = static_cast<std::size_t>(pos);
    double lo = range[i][0], hi = range[i][1];
    if (type[i] == ChartAxisType::kLogarithmic) {
      if (value <= 0 || lo <= 0) return std::nan("");
      value = std::log10(value), lo = std::log10(lo), hi = std::log10(hi);
    }
    return hi > lo ? (value - lo) / (hi - lo) : 0.5;
  }
  double X(ChartAxisPos axis, double value) const { return left + w * Fraction(axis, value); }
  double Y(ChartAxisPos axis, double value) const { return top + h * (1 - Fraction(axis, value)); }
  double Clamp(ChartAxisPos axis, double value) const {
    const auto i = static_cast<std::size_t>(axis);
    return std::clamp(value, std::min(range[i][0], range[i][1]), std::max(range[i][0], range[i][1]));
  }
};

COLORREF CChartCtrl::SeriesColor(const ChartSeries& series) const {
  if (series.color != CLR_NONE && series.color != CLR_DEFAULT) return series.color;
  return kPalette[static_cast<std::size_t>(std::max(series.id - 1, 0)) % kPalette.size()];
}

CChartCtrl::Plot CChartCtrl::Layout() const {
  RECT rect;
  GetClientRect(&rect);
  Plot plot;
  plot.width = std::max<double>(rect.right - rect.left, 3 * kMargin + kLegendWidth);
  plot.height = std::max<double>(rect.bottom - rect.top, 3 * kMargin);
  const double titles = kTitleLine * static_cast<double>(titles_.size());
  const bool docked = legend_visible_ && !legend_.undocked;
  const bool legend_side = docked && (legend_dock_ == LegendDock::kRight || legend_dock_ == LegendDock::kLeft);
  const double legend_across = docked && !legend_side ? kLegendLine + 4 : 0;
  const auto bar = [this](ChartAxisPos pos) { return IsAxisScrollBarShown(pos) ? kScrollBar + 2 : 0.0; };
  double left = kMargin + bar(ChartAxisPos::kLeft);
  double right = (GetAxis(ChartAxisPos::kRight).visible ? kMargin : kMargin / 2) + bar(ChartAxisPos::kRight);
  double top = kMargin / 2 + titles + (GetAxis(ChartAxisPos::kTop).visible ? kMargin / 2 : 0) + bar(ChartAxisPos::kTop);
  double bottom = kMargin + bar(ChartAxisPos::kBottom);
  if (legend_side && legend_dock_ == LegendDock::kLeft) left += kLegendWidth;
  if (legend_side && legend_dock_ == LegendDock::kRight) right += kLegendWidth;
  if (legend_dock_ == LegendDock::kTop) top += legend_across;
  if (legend_dock_ == LegendDock::kBottom) bottom += legend_across;
  plot.left = left;
  plot.top = top;
  plot.w = std::max(plot.width - left - right, 1.0);
  plot.h = std::max(plot.height - top - bottom, 1.0);
  for (int i = 0; i < 4; ++i) {
    const auto pos = static_cast<ChartAxisPos>(i);
    GetAxisMinMax(pos, &plot.range[static_cast<std::size_t>(i)][0], &plot.range[static_cast<std::size_t>(i)][1]);
    plot.type[static_cast<std::size_t>(i)] = GetAxis(pos).type;
  }
  if (legend_.undocked) {
    plot.legend_x = legend_.x;
    plot.legend_y = legend_.y;
  } else if (legend_dock_ == LegendDock::kLeft) {
    plot.legend_x = 4, plot.legend_y = plot.top;
  } else if (legend_dock_ == LegendDock::kRight) {
    plot.legend_x = plot.width - kLegendWidth, plot.legend_y = plot.top;
  } else if (legend_dock_ == LegendDock::kTop) {
    plot.legend_x = plot.left, plot.legend_y = kMargin / 2 + titles - 4;
  } else {
    plot.legend_x = plot.left, plot.legend_y = plot.height - kLegendLine - 2;
  }
  return plot;
}

bool CChartCtrl::ValueToScreen(int series_id, double x, double y, int* px, int* py) const {
  const ChartSeries* series = GetSerie(series_id);
  const ChartAxisPos horizontal = series != nullptr ? series->horizontal_axis : ChartAxisPos::kBottom;
  const ChartAxisPos vertical = series != nullptr ? series->vertical_axis : ChartAxisPos::kLeft;
  RECT rect;
  GetClientRect(&rect);
  if (rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) return false;
  const Plot plot = Layout();
  const double sx = plot.X(horizontal, x), sy = plot.Y(vertical, y);
  if (!std::isfinite(sx) || !std::isfinite(sy)) return false;
  *px = static_cast<int>(std::lround(sx));
  *py = static_cast<int>(std::lround(sy));
  return true;
}

bool CChartCtrl::GetPointScreenPos(int series_id, int point, int* x, int* y) const {
  const ChartSeries* series = GetSerie(series_id);
  if (series == nullptr || point < 0 || point >= static_cast<int>(series->points.size())) return false;
  const ChartPoint& at = series->points[static_cast<std::size_t>(point)];
  int px = 0, py = 0;
  if (!ValueToScreen(series_id, at.x, at.y, &px, &py)) return false;
  if (x != nullptr) *x = px;
  if (y != nullptr) *y = py;
  return true;
}

namespace {

struct BarSlot {
  double offset = 0;  // of this series' bar from the slot centre, in pixels
  double width = 0;
};

void DrawMark(orbe::VectorDrawing& d, double x, double y, const ChartPointMark& mark, COLORREF series_color,
              const std::string& attributes) {
  orbe::DrawStyle style = Filled(mark.color != CLR_NONE ? mark.color : series_color);
  if (mark.border != CLR_NONE) style.stroke = mark.border;
  const double w = std::max(mark.width, 1), h = std::max(mark.height, 1);
  orbe::Shape* shape = nullptr;
  if (mark.type == 1) {
    shape = &d.Rect(x - w / 2, y - h / 2, w, h, style);
  } else if (mark.type == 2) {
    shape = &d.Polygon({{x, y - h / 2}, {x + w / 2, y + h / 2}, {x - w / 2, y + h / 2}}, style);
  } else {
    shape = &d.Circle(x, y, w / 2, style);
  }
  shape->css_class = "point";
  shape->attributes = attributes;
}

}  // namespace

void CChartCtrl::Draw(orbe::VectorDrawing& d) const {
  const Plot plot = Layout();
  const double bottom = plot.top + plot.h, right = plot.left + plot.w;
  // Background and border.
  if (back_gradient_) {
    orbe::DrawStyle style = Filled(gradient_from_);
    style.gradient_to = gradient_to_;
    style.gradient_horizontal = gradient_type_ == 1;
    d.Rect(0, 0, plot.width, plot.height, style).css_class = "back";
  } else if (GetBkColor() != CLR_DEFAULT) {
    d.Rect(0, 0, plot.width, plot.height, Filled(GetBkColor())).css_class = "back";
  }
  if (border_visible_) d.Rect(0.5, 0.5, plot.width - 1, plot.height - 1, Stroked(border_color_));
  for (std::size_t i = 0; i < titles_.size(); ++i) {
    orbe::Shape& title = d.Text(plot.width / 2, kTitleLine * static_cast<double>(i + 1), titles_[i], title_color_,
                                title_font_, 1);
    title.css_class = "title";
  }

  // Grid lines, axes, ticks and labels.
  for (int i = 0; i < 4; ++i) {
    const auto pos = static_cast<ChartAxisPos>(i);
    const ChartAxis& axis = GetAxis(pos);
    if (!axis.visible) continue;
    const bool horizontal = IsHorizontal(pos);
    const std::vector<ChartTick> ticks = GetTicks(pos);
    d.BeginGroup("axis", "data-axis=\"" + std::to_string(i) + "\"");
    if (axis.grid) {
      for (const ChartTick& tick : ticks) {
        const double at = horizontal ? plot.X(pos, tick.value) : plot.Y(pos, tick.value);
        if (!std::isfinite(at)) continue;
        orbe::Shape& line = horizontal ? d.Line(at, plot.top, at, bottom, Stroked(axis.grid_color))
                                       : d.Line(plot.left, at, right, at, Stroked(axis.grid_color));
        line.css_class = "grid";
      }
    }
    const double edge = pos == ChartAxisPos::kLeft     ? plot.left
                        : pos == ChartAxisPos::kRight  ? right
                        : pos == ChartAxisPos::kBottom ? bottom
                                                       : plot.top;
    if (horizontal) {
      d.Line(plot.left, edge, right, edge, Stroked(axis.color));
    } else {
      d.Line(edge, plot.top, edge, bottom, Stroked(axis.color));
    }
    const double outward = pos == ChartAxisPos::kLeft || pos == ChartAxisPos::kTop ? -1 : 1;
    for (const ChartTick& tick : ticks) {
      const double at = horizontal ? plot.X(pos, tick.value) : plot.Y(pos, tick.value);
      if (!std::isfinite(at)) continue;
      if (horizontal) {
        d.Line(at, edge, at, edge + 4 * outward, Stroked(axis.color));
      } else {
        d.Line(edge, at, edge + 4 * outward, at, Stroked(axis.color));
      }
      const double tx = horizontal ? at : edge + 6 * outward;
      const double ty = horizontal ? edge + (outward > 0 ? 16 : -8) : at + 4;
      orbe::Shape& text =
          d.Text(tx, ty, tick.label, axis.text_color, axis.font, horizontal ? 1 : (outward < 0 ? 2 : 0));
      text.css_class = "tick";
      if (axis.slope) text.rotate = -std::clamp(axis.slope_degree, -90, 90);
    }
    if (axis.unit_position == 1 && !axis.unit.empty()) {
      d.Text(horizontal ? right : edge, horizontal ? edge + (outward > 0 ? 28 : -20) : plot.top - 6, axis.unit,
             axis.text_color, axis.font, horizontal ? 2 : 1)
          .css_class = "unit";
    }
    if (axis.label_visible && !axis.label.empty()) {
      orbe::Shape& label = horizontal ? d.Text((plot.left + right) / 2, edge + (outward > 0 ? 32 : -24), axis.label,
                                               axis.label_color, axis.label_font, 1)
                                      : d.Text(edge + 30 * outward, plot.top + plot.h / 2, axis.label,
                                               axis.label_color, axis.label_font, 1);
      label.css_class = "axislabel";
      if (!horizontal) label.rotate = -90;
    }
    if (IsAxisScrollBarShown(pos)) {
      double data_min = 0, data_max = 0;
      DataSpan(pos, &data_min, &data_max);
      const double lo = std::min(data_min, axis.min), hi = std::max(data_max, axis.max);
      const double span = hi > lo ? hi - lo : 1;
      const double from = (std::max(axis.min, lo) - lo) / span, to = (std::min(axis.max, hi) - lo) / span;
      const double track = horizontal ? edge + 22 * outward : edge + 34 * outward;
      if (horizontal) {
        d.Rect(plot.left, track, plot.w, kScrollBar, Filled(RGB(230, 230, 230))).css_class = "axisbar";
        d.Rect(plot.left + plot.w * from, track, plot.w * (to - from), kScrollBar, Filled(RGB(150, 150, 150)))
            .css_class = "thumb";
      } else {
        d.Rect(track, plot.top, kScrollBar, plot.h, Filled(RGB(230, 230, 230))).css_class = "axisbar";
        d.Rect(track, plot.top + plot.h * (1 - to), kScrollBar, plot.h * (to - from), Filled(RGB(150, 150, 150)))
            .css_class = "thumb";
      }
    }
    d.EndGroup();
  }

  // Bar slots: groups side by side in each slot; series of one group stack
  // (when stacked) or overlap.
  std::map<int, std::vector<const ChartSeries*>> groups;
  std::vector<double> bar_xs;
  for (const ChartSeries& series : series_) {
    if (!series.visible || series.kind != ChartSeriesKind::kBar) continue;
    groups[series.group].push_back(&series);
    for (const ChartPoint& p : series.points) {
      bar_xs.push_back(series.horizontal_bars ? plot.Y(series.vertical_axis, p.x) : plot.X(series.horizontal_axis, p.x));
    }
  }
  std::sort(bar_xs.begin(), bar_xs.end());
  double slot = plot.w / static_cast<double>(std::max<std::size_t>(bar_xs.size(), 1));
  for (std::size_t i = 1; i < bar_xs.size(); ++i) {
    if (bar_xs[i] - bar_xs[i - 1] > 0.5) slot = std::min(slot, bar_xs[i] - bar_xs[i - 1]);
  }
  std::map<int, BarSlot> bar_slots;  // by series id
  {
    const double group_width = slot * 0.8 / static_cast<double>(std::max<std::size_t>(groups.size(), 1));
    int index = 0;
    for (const auto& [group, members] : groups) {
      for (const ChartSeries* series : members) {
        BarSlot& place = bar_slots[series->id];
        place.width = series->bar_width > 0 ? series->bar_width : std::max(group_width - series->inter_space, 1.0);
        place.offset = -slot * 0.4 + group_width * (index + 0.5);
      }
      ++index;
    }
  }
  std::map<std::pair<int, double>, std::pair<double, double>> stacks;  // (group, x) -> (positive, negative) tops

  for (const ChartSeries& series : series_) {
    if (!series.visible) continue;
    const COLORREF color = SeriesColor(series);
    const bool fixed = fixed_series_ == series.id;
    const ChartAxisPos hx = series.horizontal_axis, vy = series.vertical_axis;
    d.BeginGroup("series", SeriesAttribute(series.id) + " data-kind=\"" +
                               std::to_string(static_cast<int>(series.kind)) + "\"");
    const auto point_xy = [&](const ChartPoint& p) { return orbe::DrawPoint{plot.X(hx, p.x), plot.Y(vy, p.y)}; };
    switch (series.kind) {
      case ChartSeriesKind::kLine:
      case ChartSeriesKind::kPoints: {
        std::vector<orbe::DrawPoint> line;
        for (const ChartPoint& p : series.points) {
          const orbe::DrawPoint at = point_xy(p);
          if (std::isfinite(at.x) && std::isfinite(at.y)) line.push_back(at);
        }
        if (series.kind == ChartSeriesKind::kLine) {
          const int width = fixed ? series.fixed_line_width : series.width;
          const int pen = fixed ? series.fixed_pen_style : series.pen_style;
          const bool smooth = fixed ? series.fixed_smooth : series.smooth;
          if (series.shadow) {
            std::vector<orbe::DrawPoint> shadow = line;
            for (orbe::DrawPoint& p : shadow) p.x += series.shadow_depth, p.y += series.shadow_depth;
            d.Polyline(shadow, Stroked(series.shadow_color, width, pen), smooth).css_class = "shadow";
          }
          d.Polyline(line, Stroked(color, width, pen), smooth);
        } else {
          for (std::size_t i = 0; i < line.size(); ++i) {
            if (series.shadow) {
              ChartPointMark shadow = series.mark;
              shadow.color = series.shadow_color;
              shadow.border = CLR_NONE;
              DrawMark(d, line[i].x + series.shadow_depth, line[i].y + series.shadow_depth, shadow, color, "");
            }
            DrawMark(d, line[i].x, line[i].y, series.mark, color, "data-point=\"" + std::to_string(i) + "\"");
          }
        }
        break;
      }
      case ChartSeriesKind::kSurface: {
        std::vector<orbe::DrawPoint> area;
        const double base = series.base_automatic ? 0 : series.base;
        for (const ChartPoint& p : series.points) area.push_back(point_xy(p));
        if (area.empty()) break;
        if (series.surface_horizontal) {
          const double edge = plot.X(hx, plot.Clamp(hx, base));
          area.push_back({edge, area.back().y});
          area.push_back({edge, area.front().y});
        } else {
          const double edge = plot.Y(vy, plot.Clamp(vy, base));
          area.push_back({area.back().x, edge});
          area.push_back({area.front().x, edge});
        }
        orbe::DrawStyle style = Stroked(color);
        if (series.surface_fill != 2) style.fill = color;
        style.opacity = series.surface_fill == 1 ? 0.3 : 0.6;
        d.Polygon(area, style).css_class = series.surface_fill == 1 ? "surface hatch" : "surface";
        if (series.surface_fill == 1) {  // hatching: a line from every point to the base
          for (std::size_t i = 0; i + 2 < area.size(); ++i) {
            const orbe::DrawPoint foot = series.surface_horizontal ? orbe::DrawPoint{area[area.size() - 1].x, area[i].y}
                                                                   : orbe::DrawPoint{area[i].x, area.back().y};
            d.Line(area[i].x, area[i].y, foot.x, foot.y, Stroked(color));
          }
        }
        break;
      }
      case ChartSeriesKind::kBar: {
        const BarSlot& place = bar_slots[series.id];
        for (std::size_t i = 0; i < series.points.size(); ++i) {
          const ChartPoint& p = series.points[i];
          const bool horizontal = series.horizontal_bars;
          const ChartAxisPos value_axis = horizontal ? hx : vy;
          const double zero = series.base_automatic ? 0 : series.base;
          double base = series.base_automatic ? plot.Clamp(value_axis, 0.0) : series.base;
          double value = p.y;
          if (series.stacked) {
            // Each stacked bar starts where the group's last one at this x ended.
            auto& tops = stacks.try_emplace({series.group, p.x}, base, base).first->second;
            double& top = p.y >= zero ? tops.first : tops.second;
            base = top;
            value = top + (p.y - zero);
            top = value;
          }
          const double centre = horizontal ? plot.Y(vy, p.x) : plot.X(hx, p.x);
          const double at_base = horizontal ? plot.X(hx, base) : plot.Y(vy, base);
          const double at_value = horizontal ? plot.X(hx, value) : plot.Y(vy, value);
          if (!std::isfinite(centre) || !std::isfinite(at_base) || !std::isfinite(at_value)) continue;
          const bool negative = p.y < zero;
          const COLORREF fill = negative && series.negative ? series.negative_color : color;
          double bx = centre + place.offset - place.width / 2, by = std::min(at_base, at_value);
          double bw = place.width, bh = std::abs(at_value - at_base);
          if (horizontal) {
            bx = std::min(at_base, at_value), by = centre + place.offset - place.width / 2;
            bw = std::abs(at_value - at_base), bh = place.width;
          }
          if (series.shadow) {
            d.Rect(bx + series.shadow_depth, by + series.shadow_depth, bw, bh, Filled(series.shadow_color)).css_class =
                "shadow";
          }
          if (series.bar_3d) {
            const double depth = series.depth_3d;
            const COLORREF top = series.colors_3d ? series.colors3d[0] : Lighter(fill, 0.3);
            const COLORREF side = series.colors_3d ? series.colors3d[2] : Darker(fill, 0.3);
            d.Polygon({{bx, by}, {bx + depth, by - depth}, {bx + bw + depth, by - depth}, {bx + bw, by}}, Filled(top))
                .css_class = "bar3d";
            d.Polygon({{bx + bw, by}, {bx + bw + depth, by - depth}, {bx + bw + depth, by + bh - depth}, {bx + bw, by + bh}},
                      Filled(side))
                .css_class = "bar3d";
          }
          orbe::DrawStyle style = Filled(series.bar_3d && series.colors_3d ? series.colors3d[1] : fill);
          if (series.bar_gradient) {
            style.gradient_to = series.bar_gradient_color;
            style.gradient_horizontal = series.bar_gradient_type == 1;
          }
          const COLORREF border = series.bar_3d && series.colors_3d ? series.colors3d[3] : series.bar_border;
          if (border != CLR_NONE) {
            style.stroke = border;
            style.stroke_width = series.bar_border_width;
          }
          orbe::Shape& bar = d.Rect(bx, by, bw, bh, style);
          bar.css_class = "bar";
          bar.attributes = "data-point=\"" + std::to_string(i) + "\"";
          if (!p.balloon.empty()) {
            d.Text(horizontal ? bx + bw + 4 : bx + bw / 2, horizontal ? by + bh / 2 + 4 : by - 4, p.balloon, 0, {},
                   horizontal ? 0 : 1)
                .css_class = "balloon";
          }
        }
        break;
      }
      case ChartSeriesKind::kCandlestick: {
        const double candle_slot = plot.w / static_cast<double>(std::max<std::size_t>(series.points.size(), 1));
        const double w = series.candle_width > 0 ? series.candle_width : candle_slot * 0.6;
        for (const ChartPoint& p : series.points) {
          // Rising candles hollow red, falling filled green, as quotes are read here.
          const bool rising = p.y >= p.open;
          const COLORREF candle = rising ? RGB(255, 0, 0) : RGB(0, 128, 0);
          const double x = plot.X(hx, p.x);
          d.Line(x, plot.Y(vy, p.high), x, plot.Y(vy, p.low), Stroked(candle));
          orbe::DrawStyle style = Filled(rising ? series.candle_empty : candle);
          style.stroke = candle;
          d.Rect(x - w / 2, plot.Y(vy, std::max(p.open, p.y)), w,
                 std::max(std::abs(plot.Y(vy, p.open) - plot.Y(vy, p.y)), 1.0), style)
              .css_class = "candle";
        }
        break;
      }
      case ChartSeriesKind::kGantt: {
        for (const ChartPoint& p : series.points) {
          const double x1 = plot.X(hx, p.x), x2 = plot.X(hx, p.high), y = plot.Y(vy, p.y);
          const double h = std::max(series.gantt_bar_width, 1);
          orbe::DrawStyle style = Filled(color);
          if (series.gantt_gradient) {
            style.gradient_to = series.gantt_gradient_color;
            style.gradient_horizontal = series.gantt_gradient_type == 1;
          }
          if (series.gantt_border != CLR_NONE) {
            style.stroke = series.gantt_border;
            style.stroke_width = series.gantt_border_width;
          }
          if (series.shadow) {
            d.Rect(x1 + series.shadow_depth, y - h / 2 + series.shadow_depth, x2 - x1, h, Filled(series.shadow_color))
                .css_class = "shadow";
          }
          d.Rect(x1, y - h / 2, std::max(x2 - x1, 1.0), h, style).css_class = "gantt";
        }
        break;
      }
      case ChartSeriesKind::kStrap: {
        std::vector<orbe::DrawPoint> low, high;
        for (const ChartPoint& p : series.points) {
          low.push_back({plot.X(hx, p.x), plot.Y(vy, p.low)});
          high.push_back({plot.X(hx, p.x), plot.Y(vy, p.high)});
        }
        std::vector<orbe::DrawPoint> band = low;
        band.insert(band.end(), high.rbegin(), high.rend());
        orbe::DrawStyle style = Filled(color);
        style.opacity = 0.35;
        d.Polygon(band, style).css_class = "strap";
        if (series.strap_border) {
          const COLORREF border = series.strap_border_color != CLR_NONE ? series.strap_border_color : color;
          d.Polyline(low, Stroked(border, series.strap_border_width));
          d.Polyline(high, Stroked(border, series.strap_border_width));
        }
        break;
      }
    }
    if (series.fixed_point >= 0 && series.fixed_point < static_cast<int>(series.points.size())) {
      const ChartPoint& p = series.points[static_cast<std::size_t>(series.fixed_point)];
      DrawMark(d, plot.X(hx, p.x), plot.Y(vy, p.y), series.fixed_mark, color, "data-fixed=\"1\"");
    }
    d.EndGroup();
  }

  if (legend_visible_) {
    const bool side = !legend_.undocked && (legend_dock_ == LegendDock::kRight || legend_dock_ == LegendDock::kLeft);
    const bool stacked = side ? !legend_.horizontal : false;
    int shown = 0;
    for (const ChartSeries& series : series_) shown += series.visible ? 1 : 0;
    const double box_w = stacked ? kLegendWidth - 8 : kLegendWidth * shown;
    const double box_h = stacked ? kLegendLine * shown + 4 : kLegendLine + 2;
    if (shown > 0 && legend_.shadow) {
      d.Rect(plot.legend_x + legend_.shadow_depth, plot.legend_y + legend_.shadow_depth - 2, box_w, box_h,
             Filled(legend_.shadow_color))
          .css_class = "legendshadow";
    }
    if (shown > 0 && !legend_.transparent) {
      d.Rect(plot.legend_x, plot.legend_y - 2, box_w, box_h, Filled(legend_.back)).css_class = "legendback";
    }
    double x = plot.legend_x + 2, y = plot.legend_y;
    for (const ChartSeries& series : series_) {
      if (!series.visible) continue;
      d.BeginGroup("legend");
      d.Rect(x, y, 10, 10, Filled(SeriesColor(series)));
      d.Text(x + 14, y + 9, series.name, legend_.text, legend_font_);
      d.EndGroup();
      if (stacked) {
        y += kLegendLine;
      } else {
        x += kLegendWidth;
      }
    }
  }

  if (cross_hair_.shown && mouse_inside_ && mouse_.x >= plot.left && mouse_.x <= right && mouse_.y >= plot.top &&
      mouse_.y <= bottom) {
    const orbe::DrawStyle pen = Stroked(cross_hair_.color, cross_hair_.width, cross_hair_.style);
    d.BeginGroup("crosshair");
    const auto value_at = [&](ChartAxisPos pos, double pixel) {
      const auto i = static_cast<std::size_t>(pos);
      const double f = IsHorizontal(pos) ? (pixel - plot.left) / plot.w : 1 - (pixel - plot.top) / plot.h;
      double lo = plot.range[i][0], hi = plot.range[i][1];
      if (plot.type[i] == ChartAxisType::kLogarithmic) return std::pow(10.0, std::log10(lo) + f * (std::log10(hi) - std::log10(lo)));
      return lo + f * (hi - lo);
    };
    if (cross_hair_.vertical) {
      d.Line(mouse_.x, plot.top, mouse_.x, bottom, pen);
      d.Text(mouse_.x, bottom - 2, orbe::Format("%g", value_at(ChartAxisPos::kBottom, mouse_.x)), cross_hair_.color, {}, 1)
          .css_class = "crossvalue";
    }
    if (cross_hair_.horizontal) {
      d.Line(plot.left, mouse_.y, right, mouse_.y, pen);
      d.Text(plot.left + 2, mouse_.y - 2, orbe::Format("%g", value_at(ChartAxisPos::kLeft, mouse_.y)), cross_hair_.color)
          .css_class = "crossvalue";
    }
    d.EndGroup();
  }
}
