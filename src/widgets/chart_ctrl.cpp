#include "orbe/widgets/chart_ctrl.h"

#include <algorithm>
#include <cmath>
#include <limits>

CChartCtrl::CChartCtrl() : KvxWidget(orbe::WidgetKind::kChart) {
  GetAxis(ChartAxisPos::kLeft).visible = true;
  GetAxis(ChartAxisPos::kBottom).visible = true;
}

bool CChartCtrl::SetAxisMinMax(ChartAxisPos pos, double min, double max) {
  if (!(min < max) || !std::isfinite(min) || !std::isfinite(max)) return false;
  ChartAxis& axis = GetAxis(pos);
  axis.min = min;
  axis.max = max;
  axis.automatic = false;
  return true;
}

void CChartCtrl::GetAxisMinMax(ChartAxisPos pos, double* min, double* max) const {
  const ChartAxis& axis = GetAxis(pos);
  if (!axis.automatic) {
    *min = axis.min;
    *max = axis.max;
    return;
  }
  const bool horizontal = pos == ChartAxisPos::kBottom || pos == ChartAxisPos::kTop;
  double low = std::numeric_limits<double>::infinity(), high = -low;
  for (const ChartSeries& series : series_) {
    // The bottom axis serves every series; a vertical axis only its own.
    if (!series.visible || (!horizontal && series.vertical_axis != pos)) continue;
    for (const ChartPoint& point : series.points) {
      const bool candle = series.kind == ChartSeriesKind::kCandlestick;
      const double a = horizontal ? point.x : (candle ? point.low : point.y);
      const double b = horizontal ? point.x : (candle ? point.high : point.y);
      if (std::isfinite(a)) low = std::min(low, a);
      if (std::isfinite(b)) high = std::max(high, b);
    }
  }
  if (low > high) {
    low = 0;
    high = 1;
  } else if (low == high) {
    low -= 1;
    high += 1;
  }
  *min = low;
  *max = high;
}

int CChartCtrl::AddSerie(ChartSeriesKind kind, const std::string& name, ChartAxisPos vertical) {
  ChartSeries series;
  series.id = next_id_++;
  series.kind = kind;
  series.name = name;
  series.vertical_axis = vertical == ChartAxisPos::kRight ? ChartAxisPos::kRight : ChartAxisPos::kLeft;
  if (series.vertical_axis == ChartAxisPos::kRight) GetAxis(ChartAxisPos::kRight).visible = true;
  series_.push_back(std::move(series));
  return series_.back().id;
}

bool CChartCtrl::RemoveSerie(int id) {
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
  if (series == nullptr || series->kind == ChartSeriesKind::kCandlestick) return false;
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
  series->points.push_back({x, close, low, high, open, user_data});
  return true;
}

bool CChartCtrl::ClickPoint(int series_id, int point, ChartMouseEvent event) {
  const ChartSeries* series = GetSerie(series_id);
  if (series == nullptr || !series->visible || point < 0 ||
      point >= static_cast<int>(series->points.size()) || !IsWindowEnabled()) {
    return false;
  }
  if (listener_ != nullptr) listener_->OnMouseEventSeries(*this, series_id, point, event);
  return true;
}

bool CChartCtrl::PressKey(UINT key) {
  if (!key_messages_ || !IsWindowEnabled()) return false;
  if (listener_ != nullptr) listener_->OnKeyEventPlotArea(*this, key);
  return true;
}
