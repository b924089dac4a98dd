// The container's chart operations: axes by number (0 left, 1 bottom, 2
// right, 3 top), series by the ids the chart gave out.
#include <algorithm>
#include <cmath>

#include "kvx_ops.h"

using orbe::widgets::Ask;
using orbe::widgets::FontOf;
using orbe::widgets::Set;

namespace {

bool ValidAxis(int axis) { return axis >= 0 && axis <= 3; }
ChartAxisPos AxisOf(int axis) { return static_cast<ChartAxisPos>(axis); }

// fn(axis) on a valid axis of the chart.
template <typename Fn>
bool OnAxis(const CKVXContainer& c, int id, int axis, Fn fn) {
  return Set<CChartCtrl>(c, id, [&](CChartCtrl& chart) {
    if (!ValidAxis(axis)) return false;
    if constexpr (std::is_void_v<decltype(fn(chart.GetAxis(AxisOf(axis))))>) {
      fn(chart.GetAxis(AxisOf(axis)));
      return true;
    } else {
      return static_cast<bool>(fn(chart.GetAxis(AxisOf(axis))));
    }
  });
}

// fn(series) on an existing series of the chart, optionally of given kinds.
template <typename Fn>
bool OnSeries(const CKVXContainer& c, int id, int series_id, Fn fn) {
  return Set<CChartCtrl>(c, id, [&](CChartCtrl& chart) {
    ChartSeries* series = chart.GetSerie(series_id);
    if (series == nullptr) return false;
    if constexpr (std::is_void_v<decltype(fn(*series))>) {
      fn(*series);
      return true;
    } else {
      return static_cast<bool>(fn(*series));
    }
  });
}

bool Is(const ChartSeries& s, ChartSeriesKind kind) { return s.kind == kind; }
bool IsXY(const ChartSeries& s) {
  return s.kind == ChartSeriesKind::kLine || s.kind == ChartSeriesKind::kPoints || s.kind == ChartSeriesKind::kBar ||
         s.kind == ChartSeriesKind::kSurface;
}

ChartAxisPos VerticalOf(int axis) { return axis == 1 ? ChartAxisPos::kRight : ChartAxisPos::kLeft; }
ChartAxisPos HorizontalOf(int axis) { return axis == 1 ? ChartAxisPos::kTop : ChartAxisPos::kBottom; }

}  // namespace

bool CKVXContainer::Chart_EnableKeyDownMsg(int id, bool enable) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.EnableKeyDownMsg(enable); });
}
void CKVXContainer::Chart_GetAxisMinMax(int id, int axis, double& min, double& max) const {
  const CChartCtrl* chart = GetWidget<CChartCtrl>(id);
  if (chart != nullptr && ValidAxis(axis)) chart->GetAxisMinMax(AxisOf(axis), &min, &max);
}
double CKVXContainer::Chart_GetAxisTickIncrement(int id, int axis) const {
  return Ask<CChartCtrl>(*this, id, 0.0, [&](const CChartCtrl& c) {
    return ValidAxis(axis) ? c.GetTickIncrement(AxisOf(axis)) : 0.0;
  });
}
bool CKVXContainer::Chart_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  if (!AddWnd(x, y, cx, cy, id, static_cast<int>(orbe::WidgetKind::kChart), text)) return false;
  if (!text.empty()) GetChart(id)->SetTitle(text);
  return true;
}
bool CKVXContainer::Chart_SetBackColor(int id, COLORREF color) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetBkColor(color); });
}
bool CKVXContainer::Chart_SetBackGradient(int id, COLORREF from, COLORREF to, int type) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetBackGradient(from, to, type); });
}
bool CKVXContainer::Chart_SetPanEnabled(int id, bool enable) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetPanEnabled(enable); });
}
bool CKVXContainer::Chart_SetZoomEnabled(int id, bool enable) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetZoomEnabled(enable); });
}
bool CKVXContainer::Chart_SetZoomRectColor(int id, COLORREF color) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetZoomRectColor(color); });
}
bool CKVXContainer::Chart_EnableShowBorder(int id, bool show) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetBorderVisible(show); });
}
bool CKVXContainer::Chart_SetBorderColor(int id, COLORREF color) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetBorderColor(color); });
}
bool CKVXContainer::Chart_RemoveAllSeries(int id) {
  return Set<CChartCtrl>(*this, id, [](CChartCtrl& c) { c.RemoveAllSeries(); });
}
bool CKVXContainer::Chart_RemoveSerie(int id, int series) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { return c.RemoveSerie(series); });
}
int CKVXContainer::Chart_GetSeriesCount(int id) const {
  return Ask<CChartCtrl>(*this, id, 0, [](const CChartCtrl& c) { return c.GetSeriesCount(); });
}
bool CKVXContainer::Chart_EnableRefresh(int id, bool enable) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.EnableRefresh(enable); });
}
bool CKVXContainer::Chart_SaveAsBmp(int id, const std::string& path) const {
  return Ask<CChartCtrl>(*this, id, false, [&](const CChartCtrl& c) { return c.SaveAsImage(path); });
}
bool CKVXContainer::Chart_SetLegendVisable(int id, bool visible) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetLegendVisible(visible); });
}
bool CKVXContainer::Chart_SetLegendFont(int id, int size, const std::string& face) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetLegendFont(FontOf(size, face)); });
}
bool CKVXContainer::Chart_LegendDockSide(int id, int side) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    if (side < 0 || side > 3) return false;
    c.SetLegendDock(static_cast<LegendDock>(side));
    return true;
  });
}
bool CKVXContainer::Chart_UndockLegend(int id, int x, int y) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    c.LegendLook().undocked = true;
    c.LegendLook().x = x;
    c.LegendLook().y = y;
  });
}
bool CKVXContainer::Chart_SetLegendTransparent(int id, bool transparent) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.LegendLook().transparent = transparent; });
}
bool CKVXContainer::Chart_SetLegendHorizontalMode(int id, bool horizontal) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.LegendLook().horizontal = horizontal; });
}
bool CKVXContainer::Chart_SetLegendBackColor(int id, COLORREF color) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.LegendLook().back = color; });
}
bool CKVXContainer::Chart_SetLegendTextColor(int id, COLORREF color) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.LegendLook().text = color; });
}
bool CKVXContainer::Chart_EnableLegendShadow(int id, bool enable) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.LegendLook().shadow = enable; });
}
bool CKVXContainer::Chart_SetLegendShadowColor(int id, COLORREF color) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.LegendLook().shadow_color = color; });
}
bool CKVXContainer::Chart_SetLegendShadowDepth(int id, int depth) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    if (depth < 0) return false;
    c.LegendLook().shadow_depth = depth;
    return true;
  });
}
bool CKVXContainer::Chart_SetTitle(int id, const std::string& title) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetTitle(title); });
}
bool CKVXContainer::Chart_SetTitleColor(int id, COLORREF color) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { c.SetTitleColor(color); });
}
bool CKVXContainer::Chart_SetTitleFont(int id, int size, const std::string& face, int weight, bool italic,
                                       bool underline) {
  return Set<CChartCtrl>(*this, id,
                         [&](CChartCtrl& c) { c.SetTitleFont(FontOf(size, face, weight, italic, underline)); });
}
bool CKVXContainer::Chart_CreateAxis(int id, int axis, int type) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    if (!ValidAxis(axis) || type < 0 || type > 2) return false;
    c.CreateAxis(AxisOf(axis), static_cast<ChartAxisType>(type));
    return true;
  });
}
bool CKVXContainer::Chart_SetGridVisable(int id, int axis, bool visible) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.grid = visible; });
}
bool CKVXContainer::Chart_SetGridColor(int id, int axis, COLORREF color) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.grid_color = color; });
}
bool CKVXContainer::Chart_SetAxisLableVisable(int id, int axis, bool visible) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.label_visible = visible; });
}
bool CKVXContainer::Chart_SetAxisLableColor(int id, int axis, COLORREF color) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.label_color = color; });
}
bool CKVXContainer::Chart_SetAxisLableFont(int id, int axis, int size, const std::string& face) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.label_font = FontOf(size, face); });
}
bool CKVXContainer::Chart_SetAxisLableText(int id, int axis, const std::string& text) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.label = text; });
}
bool CKVXContainer::Chart_AxisEnableScrollBar(int id, int axis, bool enable) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.scroll_bar = enable; });
}
bool CKVXContainer::Chart_SetAxisAutoHideScrollBar(int id, int axis, bool auto_hide) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.auto_hide_scroll_bar = auto_hide; });
}
bool CKVXContainer::Chart_SetAxisVisible(int id, int axis, bool visible) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.visible = visible; });
}
bool CKVXContainer::Chart_SetAxisMinMax(int id, int axis, double min, double max) {
  return Set<CChartCtrl>(*this, id,
                         [&](CChartCtrl& c) { return ValidAxis(axis) && c.SetAxisMinMax(AxisOf(axis), min, max); });
}
bool CKVXContainer::Chart_SetAxisPanZoomEnabled(int id, int axis, bool enable) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.pan_zoom = enable; });
}
bool CKVXContainer::Chart_SetAxisAutomatic(int id, int axis, bool automatic) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    a.automatic = automatic;
    if (automatic && a.automatic_mode == 0) a.automatic_mode = 1;
  });
}
bool CKVXContainer::Chart_SetAxisAutomaticMode(int id, int axis, int mode) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    if (mode < 0 || mode > 2) return false;
    a.automatic_mode = mode;
    a.automatic = mode != 0;
    return true;
  });
}
bool CKVXContainer::Chart_SetAxisColor(int id, int axis, COLORREF color) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.color = color; });
}
bool CKVXContainer::Chart_SetAxisTextColor(int id, int axis, COLORREF color) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.text_color = color; });
}
bool CKVXContainer::Chart_SetAxisFont(int id, int axis, int size, const std::string& face) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.font = FontOf(size, face); });
}
bool CKVXContainer::Chart_SetAxisDiscrete(int id, int axis, bool discrete) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.discrete = discrete; });
}
bool CKVXContainer::Chart_SetAxisAppendUnit(int id, int axis, int position, const std::string& unit) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    if (position < 0 || position > 1) return false;
    a.unit = unit;
    a.unit_position = position;
    return true;
  });
}
bool CKVXContainer::Chart_EnableAxisSlopeFont(int id, int axis, bool enable) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.slope = enable; });
}
bool CKVXContainer::Chart_SetAxisSlopeDegree(int id, int axis, int degree) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    if (degree < -90 || degree > 90) return false;
    a.slope_degree = degree;
    return true;
  });
}
bool CKVXContainer::Chart_EnableAxisCustomTick(int id, int axis, bool enable) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) { a.custom_ticks = enable; });
}
bool CKVXContainer::Chart_SetAxisActiveSeries(int id, int axis, int series) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    if (!ValidAxis(axis) || c.GetSerie(series) == nullptr) return false;
    c.GetAxis(AxisOf(axis)).active_series = series;
    return true;
  });
}
bool CKVXContainer::Chart_SetNormalTickIncrement(int id, int axis, bool automatic, double increment) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    if (!automatic && !(increment > 0 && std::isfinite(increment))) return false;
    a.tick = automatic ? 0 : increment;
    return true;
  });
}
bool CKVXContainer::Chart_SetTimeTickIncrement(int id, int axis, bool automatic, int unit, int multiple) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    if (!automatic && (unit < 0 || unit > 6 || multiple < 1)) return false;
    a.time_auto = automatic;
    if (!automatic) {
      a.time_unit = static_cast<ChartTimeUnit>(unit);
      a.time_multiple = multiple;
    }
    return true;
  });
}
bool CKVXContainer::Chart_SetTimeTickLabelFormat(int id, int axis, bool automatic, const std::string& format) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    if (!automatic && format.empty()) return false;
    a.time_format_auto = automatic;
    a.time_format = format;
    return true;
  });
}
bool CKVXContainer::Chart_SetTimeReferenceTick(int id, int axis, double reference) {
  return OnAxis(*this, id, axis, [&](ChartAxis& a) {
    if (!std::isfinite(reference)) return false;
    a.time_reference = reference;
    return true;
  });
}
bool CKVXContainer::Chart_ShowCrossHairCursor(int id, bool horizontal, bool vertical, COLORREF color, int style,
                                              int width) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    if (style < 0 || style > 3 || width < 1) return false;
    c.CrossHair() = {true, horizontal, vertical, color, style, width};
    return true;
  });
}
bool CKVXContainer::Chart_HideCrossHairCursor(int id) {
  return Set<CChartCtrl>(*this, id, [](CChartCtrl& c) { c.CrossHair().shown = false; });
}

int CKVXContainer::Chart_CreateXYPointSeries(int id, int kind, int vertical_axis, int horizontal_axis) {
  CChartCtrl* chart = GetWidget<CChartCtrl>(id);
  const auto series_kind = static_cast<ChartSeriesKind>(kind);
  if (chart == nullptr || (series_kind != ChartSeriesKind::kLine && series_kind != ChartSeriesKind::kPoints &&
                           series_kind != ChartSeriesKind::kBar && series_kind != ChartSeriesKind::kSurface)) {
    return 0;
  }
  return chart->AddSerie(series_kind, "", VerticalOf(vertical_axis), HorizontalOf(horizontal_axis));
}
bool CKVXContainer::Chart_AddXYPoint(int id, int series, double x, double y) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { return c.AddPoint(series, x, y); });
}
void CKVXContainer::Chart_GetXYPoint(int id, int series, int index, double& x, double& y, int& found) const {
  const CChartCtrl* chart = GetWidget<CChartCtrl>(id);
  const ChartSeries* s = chart != nullptr ? chart->GetSerie(series) : nullptr;
  if (s == nullptr || index < 0 || index >= static_cast<int>(s->points.size())) return;
  x = s->points[static_cast<std::size_t>(index)].x;
  y = s->points[static_cast<std::size_t>(index)].y;
  found = 1;
}
bool CKVXContainer::Chart_AddXYPointAttUserData(int id, int series, double x, double y, const std::string& data) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { return c.AddPoint(series, x, y, data); });
}
bool CKVXContainer::Chart_RegisterXYPointMouseListener(int id, int series) {
  return OnSeries(*this, id, series, [](ChartSeries& s) { return IsXY(s) && (s.mouse_listener = true); });
}
bool CKVXContainer::Chart_UnRegisterXYPointMouseListener(int id, int series) {
  return OnSeries(*this, id, series, [](ChartSeries& s) {
    if (!IsXY(s)) return false;
    s.mouse_listener = false;
    return true;
  });
}
bool CKVXContainer::Chart_RemoveXYPointFromBegin(int id, int series, int count) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    const ChartSeries* s = c.GetSerie(series);
    return s != nullptr && IsXY(*s) && c.RemovePoints(series, count, true);
  });
}
bool CKVXContainer::Chart_RemoveXYPointFromEnd(int id, int series, int count) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    const ChartSeries* s = c.GetSerie(series);
    return s != nullptr && IsXY(*s) && c.RemovePoints(series, count, false);
  });
}
int CKVXContainer::Chart_CreateCandlestickSerie(int id, int vertical_axis, int horizontal_axis) {
  CChartCtrl* chart = GetWidget<CChartCtrl>(id);
  return chart != nullptr ? chart->AddSerie(ChartSeriesKind::kCandlestick, "", VerticalOf(vertical_axis),
                                            HorizontalOf(horizontal_axis))
                          : 0;
}
bool CKVXContainer::Chart_AddCandlestickPoint(int id, int series, double x, double low, double high, double open,
                                              double close) {
  return Set<CChartCtrl>(*this, id,
                         [&](CChartCtrl& c) { return c.AddCandlestickPoint(series, x, low, high, open, close); });
}
bool CKVXContainer::Chart_AddCandlestickPointAttUserData(int id, int series, double x, double low, double high,
                                                         double open, double close, const std::string& data) {
  return Set<CChartCtrl>(*this, id,
                         [&](CChartCtrl& c) { return c.AddCandlestickPoint(series, x, low, high, open, close, data); });
}
bool CKVXContainer::Chart_RegisterCandlestickPointMouseListener(int id, int series) {
  return OnSeries(*this, id, series,
                  [](ChartSeries& s) { return Is(s, ChartSeriesKind::kCandlestick) && (s.mouse_listener = true); });
}
bool CKVXContainer::Chart_UnRegisterCandlestickPointMouseListener(int id, int series) {
  return OnSeries(*this, id, series, [](ChartSeries& s) {
    if (!Is(s, ChartSeriesKind::kCandlestick)) return false;
    s.mouse_listener = false;
    return true;
  });
}
bool CKVXContainer::Chart_SetCandlestickWidth(int id, int series, int width) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (!Is(s, ChartSeriesKind::kCandlestick) || width < 0) return false;
    s.candle_width = width;
    return true;
  });
}
bool CKVXContainer::Chart_SetCandlestickEmptyColor(int id, int series, COLORREF color) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (!Is(s, ChartSeriesKind::kCandlestick)) return false;
    s.candle_empty = color;
    return true;
  });
}
bool CKVXContainer::Chart_RemoveCandlestickPointFromBegin(int id, int series, int count) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    const ChartSeries* s = c.GetSerie(series);
    return s != nullptr && Is(*s, ChartSeriesKind::kCandlestick) && c.RemovePoints(series, count, true);
  });
}
bool CKVXContainer::Chart_RemoveCandlestickPointFromEnd(int id, int series, int count) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) {
    const ChartSeries* s = c.GetSerie(series);
    return s != nullptr && Is(*s, ChartSeriesKind::kCandlestick) && c.RemovePoints(series, count, false);
  });
}
int CKVXContainer::Chart_CreateGanttSerie(int id, int vertical_axis, int horizontal_axis) {
  CChartCtrl* chart = GetWidget<CChartCtrl>(id);
  return chart != nullptr
             ? chart->AddSerie(ChartSeriesKind::kGantt, "", VerticalOf(vertical_axis), HorizontalOf(horizontal_axis))
             : 0;
}
bool CKVXContainer::Chart_AddGanttPoint(int id, int series, double start, double end, double y) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { return c.AddGanttPoint(series, start, end, y); });
}
int CKVXContainer::Chart_CreateStrapSerie(int id, int vertical_axis, int horizontal_axis) {
  CChartCtrl* chart = GetWidget<CChartCtrl>(id);
  return chart != nullptr
             ? chart->AddSerie(ChartSeriesKind::kStrap, "", VerticalOf(vertical_axis), HorizontalOf(horizontal_axis))
             : 0;
}
bool CKVXContainer::Chart_AddStrapPoint(int id, int series, double x, double low, double high) {
  return Set<CChartCtrl>(*this, id, [&](CChartCtrl& c) { return c.AddStrapPoint(series, x, low, high); });
}
bool CKVXContainer::Chart_SetSeriesVisible(int id, int series, bool visible) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.visible = visible; });
}
bool CKVXContainer::Chart_SetSeriesName(int id, int series, const std::string& name) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.name = name; });
}
std::string CKVXContainer::Chart_GetSeriesName(int id, int series) const {
  return Ask<CChartCtrl>(*this, id, std::string(), [&](const CChartCtrl& c) {
    const ChartSeries* s = c.GetSerie(series);
    return s != nullptr ? s->name : std::string();
  });
}
bool CKVXContainer::Chart_SetSeriesColor(int id, int series, COLORREF color) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.color = color; });
}
bool CKVXContainer::Chart_EnableSeriesShadow(int id, int series, bool enable) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.shadow = enable; });
}
bool CKVXContainer::Chart_SetSeriesShadowColor(int id, int series, COLORREF color) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.shadow_color = color; });
}
bool CKVXContainer::Chart_SetSeriesShadowDepth(int id, int series, int depth) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (depth < 0) return false;
    s.shadow_depth = depth;
    return true;
  });
}
int CKVXContainer::Chart_GetSeriesPointsCount(int id, int series) const {
  return Ask<CChartCtrl>(*this, id, 0, [&](const CChartCtrl& c) {
    const ChartSeries* s = c.GetSerie(series);
    return s != nullptr ? static_cast<int>(s->points.size()) : 0;
  });
}
void CKVXContainer::Chart_ValueToScreen(int id, int series, double x, double y, int& px, int& py) const {
  if (const CChartCtrl* chart = GetWidget<CChartCtrl>(id)) chart->ValueToScreen(series, x, y, &px, &py);
}

namespace {

bool SetMarkType(ChartPointMark& mark, int type) {
  if (type < 0 || type > 2) return false;
  mark.type = type;
  return true;
}
bool SetMarkSize(ChartPointMark& mark, int width, int height) {
  if (width < 1 || height < 1) return false;
  mark.width = width;
  mark.height = height;
  return true;
}
bool ValidPen(int style) { return style >= 0 && style <= 3; }

}  // namespace

bool CKVXContainer::Chart_SetPointType(int id, int series, int type) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { return SetMarkType(s.mark, type); });
}
bool CKVXContainer::Chart_SetPointSize(int id, int series, int width, int height) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { return SetMarkSize(s.mark, width, height); });
}
bool CKVXContainer::Chart_SetPointBorderColor(int id, int series, COLORREF color) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.mark.border = color; });
}
bool CKVXContainer::Chart_SetLineWidth(int id, int series, int width) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (width < 1) return false;
    s.width = width;
    return true;
  });
}
bool CKVXContainer::Chart_SetLineSmooth(int id, int series, bool smooth) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.smooth = smooth; });
}
bool CKVXContainer::Chart_SetLinePenStyle(int id, int series, int style) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (!ValidPen(style)) return false;
    s.pen_style = style;
    return true;
  });
}
bool CKVXContainer::Chart_SetFixedPointSize(int id, int series, int width, int height) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { return SetMarkSize(s.fixed_mark, width, height); });
}
bool CKVXContainer::Chart_SetFixedPointColor(int id, int series, COLORREF color) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.fixed_mark.color = color; });
}
bool CKVXContainer::Chart_SetFixedBorderColor(int id, int series, COLORREF color) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.fixed_mark.border = color; });
}
bool CKVXContainer::Chart_SetFixedPointType(int id, int series, int type) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { return SetMarkType(s.fixed_mark, type); });
}
bool CKVXContainer::Chart_SetFixedLineWidth(int id, int series, int width) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (width < 1) return false;
    s.fixed_line_width = width;
    return true;
  });
}
bool CKVXContainer::Chart_SetFixedLineSmooth(int id, int series, bool smooth) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) { s.fixed_smooth = smooth; });
}
bool CKVXContainer::Chart_SetFixedLinePenStyle(int id, int series, int style) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (!ValidPen(style)) return false;
    s.fixed_pen_style = style;
    return true;
  });
}

// Bar looks apply to bar series only.
#define ORBE_BAR_SERIES(body)                                                        \
  OnSeries(*this, id, series, [&](ChartSeries& s) {                                  \
    if (!Is(s, ChartSeriesKind::kBar)) return false;                                 \
    body;                                                                            \
    return true;                                                                     \
  })

bool CKVXContainer::Chart_SetBarBorderColor(int id, int series, COLORREF color) {
  return ORBE_BAR_SERIES(s.bar_border = color);
}
bool CKVXContainer::Chart_SetBarBorderWidth(int id, int series, int width) {
  if (width < 0) return false;
  return ORBE_BAR_SERIES(s.bar_border_width = width);
}
bool CKVXContainer::Chart_SetBarWidth(int id, int series, int width) {
  if (width < 0) return false;
  return ORBE_BAR_SERIES(s.bar_width = width);
}
bool CKVXContainer::Chart_ShowBarGradient(int id, int series, bool show) {
  return ORBE_BAR_SERIES(s.bar_gradient = show);
}
bool CKVXContainer::Chart_SetBarGradient(int id, int series, COLORREF color, int type) {
  if (type < 0 || type > 1) return false;
  return ORBE_BAR_SERIES(s.bar_gradient_color = color; s.bar_gradient_type = type);
}
bool CKVXContainer::Chart_SetNegativeColor(int id, int series, bool enable, COLORREF color) {
  return ORBE_BAR_SERIES(s.negative = enable; s.negative_color = color);
}
bool CKVXContainer::Chart_SetBarStacked(int id, int series, bool stacked) {
  return ORBE_BAR_SERIES(s.stacked = stacked);
}
int CKVXContainer::Chart_GetBarGroupId(int id, int series) const {
  return Ask<CChartCtrl>(*this, id, 0, [&](const CChartCtrl& c) {
    const ChartSeries* s = c.GetSerie(series);
    return s != nullptr && Is(*s, ChartSeriesKind::kBar) ? s->group : 0;
  });
}
bool CKVXContainer::Chart_SetBarGroupId(int id, int series, int group) { return ORBE_BAR_SERIES(s.group = group); }
bool CKVXContainer::Chart_SetBarInterSpace(int id, int series, int space) {
  if (space < 0) return false;
  return ORBE_BAR_SERIES(s.inter_space = space);
}
bool CKVXContainer::Chart_SetBarBaseLine(int id, int series, bool automatic, double base) {
  if (!std::isfinite(base)) return false;
  return ORBE_BAR_SERIES(s.base_automatic = automatic; s.base = base);
}
bool CKVXContainer::Chart_SetBarBalloonLabel(int id, int series, int point, const std::string& text) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (!Is(s, ChartSeriesKind::kBar) || point < 0 || point >= static_cast<int>(s.points.size())) return false;
    s.points[static_cast<std::size_t>(point)].balloon = text;
    return true;
  });
}
bool CKVXContainer::Chart_SetShow3DBar(int id, int series, bool show, int depth) {
  if (depth < 0) return false;
  return ORBE_BAR_SERIES(s.bar_3d = show; s.depth_3d = depth);
}
bool CKVXContainer::Chart_Set3DBarColor(int id, int series, bool enable, COLORREF top, COLORREF front, COLORREF side,
                                        COLORREF border, COLORREF hot_top, COLORREF hot_front, COLORREF hot_side,
                                        COLORREF hot_border, COLORREF selected_top, COLORREF selected_front,
                                        COLORREF selected_side, COLORREF selected_border) {
  return ORBE_BAR_SERIES(s.colors_3d = enable;
                         s.colors3d = (std::array<COLORREF, 12>{top, front, side, border, hot_top, hot_front, hot_side,
                                                                hot_border, selected_top, selected_front,
                                                                selected_side, selected_border}));
}
bool CKVXContainer::Chart_SetBarHorizontal(int id, int series, bool horizontal) {
  return ORBE_BAR_SERIES(s.horizontal_bars = horizontal);
}
#undef ORBE_BAR_SERIES

bool CKVXContainer::Chart_SetSurFillStyle(int id, int series, int style) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (!Is(s, ChartSeriesKind::kSurface) || style < 0 || style > 2) return false;
    s.surface_fill = style;
    return true;
  });
}
bool CKVXContainer::Chart_SetSurHorizontal(int id, int series, bool horizontal) {
  return OnSeries(*this, id, series, [&](ChartSeries& s) {
    if (!Is(s, ChartSeriesKind::kSurface)) return false;
    s.surface_horizontal = horizontal;
    return true;
  });
}

#define ORBE_GANTT_SERIES(body)                       \
  OnSeries(*this, id, series, [&](ChartSeries& s) {   \
    if (!Is(s, ChartSeriesKind::kGantt)) return false; \
    body;                                             \
    return true;                                      \
  })

bool CKVXContainer::Chart_SetGanttBorderColor(int id, int series, COLORREF color) {
  return ORBE_GANTT_SERIES(s.gantt_border = color);
}
bool CKVXContainer::Chart_SetGanttBorderWidth(int id, int series, int width) {
  if (width < 0) return false;
  return ORBE_GANTT_SERIES(s.gantt_border_width = width);
}
bool CKVXContainer::Chart_SetGanttBarWidth(int id, int series, int width) {
  if (width < 1) return false;
  return ORBE_GANTT_SERIES(s.gantt_bar_width = width);
}
bool CKVXContainer::Chart_ShowGanttGradient(int id, int series, bool show) {
  return ORBE_GANTT_SERIES(s.gantt_gradient = show);
}
bool CKVXContainer::Chart_SetGanttGradient(int id, int series, COLORREF color, int type) {
  if (type < 0 || type > 1) return false;
  return ORBE_GANTT_SERIES(s.gantt_gradient_color = color; s.gantt_gradient_type = type);
}
#undef ORBE_GANTT_SERIES

#define ORBE_STRAP_SERIES(body)                       \
  OnSeries(*this, id, series, [&](ChartSeries& s) {   \
    if (!Is(s, ChartSeriesKind::kStrap)) return false; \
    body;                                             \
    return true;                                      \
  })

bool CKVXContainer::Chart_EnableShowStrapBorder(int id, int series, bool show) {
  return ORBE_STRAP_SERIES(s.strap_border = show);
}
bool CKVXContainer::Chart_SetStrapBorderColor(int id, int series, COLORREF color) {
  return ORBE_STRAP_SERIES(s.strap_border_color = color);
}
bool CKVXContainer::Chart_SetStrapBorderWidth(int id, int series, int width) {
  if (width < 0) return false;
  return ORBE_STRAP_SERIES(s.strap_border_width = width);
}
#undef ORBE_STRAP_SERIES
