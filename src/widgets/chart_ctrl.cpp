#include "orbe/widgets/chart_ctrl.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "orbe/platform/file.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/vector_drawing.h"

namespace {

bool Horizontal(ChartAxisPos pos) { return pos == ChartAxisPos::kBottom || pos == ChartAxisPos::kTop; }

// The extents a point gives along the horizontal and the vertical axis.
struct Extent {
  double h_low, h_high, v_low, v_high;
};

Extent PointExtent(const ChartSeries& series, const ChartPoint& p) {
  switch (series.kind) {
    case ChartSeriesKind::kCandlestick:
      return {p.x, p.x, p.low, p.high};
    case ChartSeriesKind::kGantt:
      return {p.x, p.high, p.y, p.y};
    case ChartSeriesKind::kStrap:
      return {p.x, p.x, p.low, p.high};
    case ChartSeriesKind::kBar:
      if (series.horizontal_bars) return {p.y, p.y, p.x, p.x};
      return {p.x, p.x, p.y, p.y};
    default:
      return {p.x, p.x, p.y, p.y};
  }
}

}  // namespace

CChartCtrl::CChartCtrl() : KvxWidget(orbe::WidgetKind::kChart) {
  GetAxis(ChartAxisPos::kLeft).visible = true;
  GetAxis(ChartAxisPos::kBottom).visible = true;
}

void CChartCtrl::CreateAxis(ChartAxisPos pos, ChartAxisType type) {
  ChartAxis& axis = GetAxis(pos);
  axis.visible = true;
  axis.type = type;
  // A fixed range that a logarithmic scale cannot show goes back to automatic.
  if (type == ChartAxisType::kLogarithmic && !axis.automatic && axis.min <= 0) axis.automatic = true;
}

bool CChartCtrl::SetAxisMinMax(ChartAxisPos pos, double min, double max) {
  if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) return false;
  ChartAxis& axis = GetAxis(pos);
  if (axis.type == ChartAxisType::kLogarithmic && min <= 0) return false;
  axis.min = min;
  axis.max = max;
  axis.automatic = false;
  return true;
}

bool CChartCtrl::DataSpan(ChartAxisPos pos, double* min, double* max) const {
  const bool horizontal = Horizontal(pos);
  const bool logarithmic = GetAxis(pos).type == ChartAxisType::kLogarithmic;
  // In "screen" mode a vertical axis spans only the points in view of the
  // horizontal one (a horizontal axis always spans all its points).
  const bool screen = !horizontal && GetAxis(pos).automatic_mode == 2;
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const ChartSeries& series : series_) {
    if (!series.visible || (horizontal ? series.horizontal_axis : series.vertical_axis) != pos) continue;
    double view_min = 0, view_max = 0;
    if (screen) GetAxisMinMax(horizontal ? series.vertical_axis : series.horizontal_axis, &view_min, &view_max);
    for (const ChartPoint& point : series.points) {
      const Extent e = PointExtent(series, point);
      if (screen) {
        const double other_low = horizontal ? e.v_low : e.h_low;
        const double other_high = horizontal ? e.v_high : e.h_high;
        if (other_high < view_min || other_low > view_max) continue;
      }
      const double a = horizontal ? e.h_low : e.v_low;
      const double b = horizontal ? e.h_high : e.v_high;
      if (std::isfinite(a) && (!logarithmic || a > 0)) low = std::min(low, a);
      if (std::isfinite(b) && (!logarithmic || b > 0)) high = std::max(high, b);
    }
    // Bars and surfaces grow from their base line, which belongs to the picture.
    const bool from_base = series.kind == ChartSeriesKind::kBar || series.kind == ChartSeriesKind::kSurface;
    const bool value_axis = series.kind == ChartSeriesKind::kBar && series.horizontal_bars ? horizontal : !horizontal;
    if (from_base && value_axis && !logarithmic && !series.points.empty()) {
      const double base = series.base_automatic ? 0.0 : series.base;
      low = std::min(low, base);
      high = std::max(high, base);
    }
  }
  if (low > high) return false;
  *min = low;
  *max = high;
  return true;
}

void CChartCtrl::GetAxisMinMax(ChartAxisPos pos, double* min, double* max) const {
  const ChartAxis& axis = GetAxis(pos);
  if (!axis.automatic || axis.automatic_mode == 0) {
    *min = axis.min;
    *max = axis.max;
    return;
  }
  double low = 0, high = 0;
  if (!DataSpan(pos, &low, &high)) {
    low = axis.type == ChartAxisType::kLogarithmic ? 1 : 0;
    high = axis.type == ChartAxisType::kLogarithmic ? 10 : 1;
  } else if (axis.discrete) {
    low -= 0.5;
    high += 0.5;
  } else if (low == high) {
    if (axis.type == ChartAxisType::kLogarithmic) {
      low /= 10;
      high *= 10;
    } else {
      low -= 1;
      high += 1;
    }
  }
  *min = low;
  *max = high;
}

int CChartCtrl::AddSerie(ChartSeriesKind kind, const std::string& name, ChartAxisPos vertical,
                         ChartAxisPos horizontal) {
  ChartSeries series;
  series.id = next_id_++;
  series.kind = kind;
  series.name = name;
  series.vertical_axis = vertical == ChartAxisPos::kRight ? ChartAxisPos::kRight : ChartAxisPos::kLeft;
  series.horizontal_axis = horizontal == ChartAxisPos::kTop ? ChartAxisPos::kTop : ChartAxisPos::kBottom;
  if (series.vertical_axis == ChartAxisPos::kRight) GetAxis(ChartAxisPos::kRight).visible = true;
  if (series.horizontal_axis == ChartAxisPos::kTop) GetAxis(ChartAxisPos::kTop).visible = true;
  series_.push_back(std::move(series));
  return series_.back().id;
}

bool CChartCtrl::RemoveSerie(int id) {
  if (fixed_series_ == id) fixed_series_ = 0;
  return std::erase_if(series_, [id](const ChartSeries& series) { return series.id == id; }) > 0;
}

ChartSeries* CChartCtrl::GetSerie(int id) {
  const auto at =
      std::find_if(series_.begin(), series_.end(), [id](const ChartSeries& s) { return s.id == id; });
  return at != series_.end() ? &*at : nullptr;
}

const ChartSeries* CChartCtrl::GetSerie(int id) const { return const_cast<CChartCtrl*>(this)->GetSerie(id); }

bool CChartCtrl::AddPoint(int series_id, double x, double y, const std::string& user_data) {
  ChartSeries* series = GetSerie(series_id);
  if (series == nullptr) return false;
  const ChartSeriesKind kind = series->kind;
  if (kind == ChartSeriesKind::kCandlestick || kind == ChartSeriesKind::kGantt || kind == ChartSeriesKind::kStrap) {
    return false;
  }
  ChartPoint point;
  point.x = x;
  point.y = y;
  point.user_data = user_data;
  series->points.push_back(std::move(point));
  return true;
}

bool CChartCtrl::AddCandlestickPoint(int series_id, double x, double low, double high, double open,
                                     double close, const std::string& user_data) {
  ChartSeries* series = GetSerie(series_id);
  // A candle whose low is above its high, or whose open or close lies outside
  // them, is a caller's mistake; drawing it would show a price never traded.
  if (series == nullptr || series->kind != ChartSeriesKind::kCandlestick || !(low <= high) || open < low ||
      open > high || close < low || close > high) {
    return false;
  }
  series->points.push_back({x, close, low, high, open, user_data, {}});
  return true;
}

bool CChartCtrl::AddGanttPoint(int series_id, double start, double end, double y) {
  ChartSeries* series = GetSerie(series_id);
  if (series == nullptr || series->kind != ChartSeriesKind::kGantt || !(start <= end) || !std::isfinite(y)) {
    return false;
  }
  series->points.push_back({start, y, 0, end, 0, {}, {}});
  return true;
}

bool CChartCtrl::AddStrapPoint(int series_id, double x, double low, double high) {
  ChartSeries* series = GetSerie(series_id);
  if (series == nullptr || series->kind != ChartSeriesKind::kStrap || !(low <= high) || !std::isfinite(x)) {
    return false;
  }
  series->points.push_back({x, (low + high) / 2, low, high, 0, {}, {}});
  return true;
}

bool CChartCtrl::RemovePoints(int series_id, int count, bool from_begin) {
  ChartSeries* series = GetSerie(series_id);
  if (series == nullptr || count < 0) return false;
  const auto n = std::min(static_cast<std::size_t>(count), series->points.size());
  if (from_begin) {
    series->points.erase(series->points.begin(), series->points.begin() + static_cast<std::ptrdiff_t>(n));
    // The fixed point keeps pointing at the same point.
    series->fixed_point = series->fixed_point >= static_cast<int>(n) ? series->fixed_point - static_cast<int>(n) : -1;
  } else {
    series->points.resize(series->points.size() - n);
    if (series->fixed_point >= static_cast<int>(series->points.size())) series->fixed_point = -1;
  }
  return true;
}

void CChartCtrl::SetBackGradient(COLORREF from, COLORREF to, int type) {
  back_gradient_ = true;
  gradient_from_ = from;
  gradient_to_ = to;
  gradient_type_ = type == 1 ? 1 : 0;
}

void CChartCtrl::EnableRefresh(bool enable) {
  if (!enable && refresh_) frozen_ = RenderSvg();
  if (enable) frozen_.clear();
  refresh_ = enable;
}

bool CChartCtrl::ClickPoint(int series_id, int point, ChartMouseEvent event) {
  ChartSeries* series = GetSerie(series_id);
  if (series == nullptr || !series->visible || point < 0 || point >= static_cast<int>(series->points.size()) ||
      !IsWindowEnabled()) {
    return false;
  }
  series->fixed_point = point;
  fixed_series_ = series_id;
  if (series->mouse_listener && listener_ != nullptr) listener_->OnMouseEventSeries(*this, series_id, point, event);
  return true;
}

bool CChartCtrl::PressKey(UINT key) {
  if (!key_messages_ || !IsWindowEnabled()) return false;
  if (listener_ != nullptr) listener_->OnKeyEventPlotArea(*this, key);
  return true;
}

LRESULT CChartCtrl::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
    MoveMouse(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
  }
  return KvxWidget::WindowProc(message, wparam, lparam);
}

bool CChartCtrl::IsAxisScrollBarShown(ChartAxisPos pos) const {
  const ChartAxis& axis = GetAxis(pos);
  if (!axis.visible || !axis.scroll_bar) return false;
  if (!axis.auto_hide_scroll_bar) return true;
  double data_min = 0, data_max = 0, min = 0, max = 0;
  if (!DataSpan(pos, &data_min, &data_max)) return false;
  GetAxisMinMax(pos, &min, &max);
  return data_min < min || data_max > max;
}

bool CChartCtrl::ScrollAxis(ChartAxisPos pos, int steps) {
  ChartAxis& axis = GetAxis(pos);
  if (!IsAxisScrollBarShown(pos) || axis.automatic || steps == 0 || !IsWindowEnabled()) return false;
  double data_min = 0, data_max = 0;
  if (!DataSpan(pos, &data_min, &data_max)) return false;
  const double width = axis.max - axis.min;
  double min = axis.min + steps * width / 10;
  // Keep the window inside the data, or on it when the data is narrower.
  min = std::clamp(min, std::min(data_min, axis.min), std::max(data_max - width, data_min));
  if (min == axis.min) return false;
  axis.min = min;
  axis.max = min + width;
  return true;
}

bool CChartCtrl::SaveAsImage(const std::string& path) const {
  orbe::VectorDrawing drawing = orbe::ClientAreaDrawing(*this, 1);
  Draw(drawing);
  return orbe::SaveImageFile(drawing.Rasterize(), path);
}

std::string CChartCtrl::RenderSvg() const {
  orbe::VectorDrawing drawing = orbe::ClientAreaDrawing(*this, 1);
  Draw(drawing);
  return orbe::SvgText(drawing, "chart");
}

void CChartCtrl::RenderHtml(orbe::HtmlWriter& out) const {
  if (!refresh_) {
    out.Raw(frozen_);
    return;
  }
  out.Raw(RenderSvg());
}
