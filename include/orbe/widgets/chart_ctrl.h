// The general chart: series of points on four axes, titles and a legend. It
// draws into a VectorDrawing, written as inline SVG for the page and
// rasterised for SaveAsImage, so both show the same picture. Axes scale
// themselves to the points unless given a range.
#ifndef ORBE_WIDGETS_CHART_CTRL_H_
#define ORBE_WIDGETS_CHART_CTRL_H_

#include <array>
#include <map>
#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

namespace orbe {
class VectorDrawing;
}

enum class ChartAxisPos : int { kLeft = 0, kBottom = 1, kRight = 2, kTop = 3 };
enum class ChartSeriesKind : int {
  kLine = 0,
  kPoints = 1,
  kBar = 2,
  kCandlestick = 3,
  kSurface = 4,  // a line filled down to the base (or across to the vertical axis)
  kGantt = 5,    // horizontal bars from a start to an end
  kStrap = 6,    // a band between a low and a high line
};
// Numbers; dates and times as seconds since 1970 (shown in local time); or a
// logarithmic scale of positive numbers.
enum class ChartAxisType : int { kStandard = 0, kDateTime = 1, kLogarithmic = 2 };
enum class ChartTimeUnit : int { kSecond = 0, kMinute = 1, kHour = 2, kDay = 3, kWeek = 4, kMonth = 5, kYear = 6 };
enum class ChartMouseEvent : int { kClick = 0, kDoubleClick = 1 };
enum class LegendDock : int { kRight = 0, kLeft = 1, kTop = 2, kBottom = 3 };

struct ChartPoint {
  double x = 0;  // a Gantt bar's start
  double y = 0;  // a candle's close; a Gantt bar's height on the vertical axis
  double low = 0, high = 0, open = 0;  // a candle; a strap's band; a Gantt bar's end in `high`
  std::string user_data;  // GBK
  std::string balloon;    // GBK: a label above the bar
};

struct ChartAxis {
  ChartAxisType type = ChartAxisType::kStandard;
  bool visible = false;
  bool automatic = true;
  int automatic_mode = 1;  // 0 fixed, 1 all values, 2 the values in view of the other axis
  double min = 0, max = 1;
  double tick = 0;  // 0: automatic ticks
  std::string label;
  bool label_visible = true;
  COLORREF label_color = RGB(0, 0, 0);
  orbe::FontSpec label_font;
  COLORREF color = RGB(0, 0, 0);       // the axis line
  COLORREF text_color = RGB(0, 0, 0);  // the tick texts
  orbe::FontSpec font;
  bool grid = false;
  COLORREF grid_color = RGB(224, 224, 224);
  bool scroll_bar = false;
  bool auto_hide_scroll_bar = true;
  bool pan_zoom = true;
  bool discrete = false;
  std::string unit;  // GBK
  int unit_position = 0;  // 0 after each tick text, 1 once at the axis end
  bool slope = false;
  int slope_degree = 45;
  bool custom_ticks = false;
  int active_series = 0;
  bool time_auto = true;
  ChartTimeUnit time_unit = ChartTimeUnit::kDay;
  int time_multiple = 1;
  bool time_format_auto = true;
  std::string time_format;  // strftime
  double time_reference = 0;
};

struct ChartTick {
  double value = 0;
  std::string label;  // GBK
};

struct ChartPointMark {
  int type = 0;  // 0 circle, 1 square, 2 triangle
  int width = 6;
  int height = 6;
  COLORREF color = CLR_NONE;   // CLR_NONE: the series' colour
  COLORREF border = CLR_NONE;  // CLR_NONE: none
};

struct ChartSeries {
  int id = 0;
  ChartSeriesKind kind = ChartSeriesKind::kLine;
  std::string name;
  COLORREF color = CLR_NONE;
  int width = 1;  // of a line
  bool visible = true;
  ChartAxisPos vertical_axis = ChartAxisPos::kLeft;
  ChartAxisPos horizontal_axis = ChartAxisPos::kBottom;
  std::vector<ChartPoint> points;
  bool mouse_listener = false;  // clicks on the points are reported
  bool shadow = false;
  COLORREF shadow_color = RGB(160, 160, 160);
  int shadow_depth = 3;
  ChartPointMark mark;
  bool smooth = false;
  int pen_style = 0;  // orbe::DashStyle
  // The look of the point a user clicked (the fixed point) and of the series
  // while it is the one clicked last.
  int fixed_point = -1;
  ChartPointMark fixed_mark{0, 9, 9, CLR_NONE, RGB(0, 0, 0)};
  int fixed_line_width = 2;
  bool fixed_smooth = false;
  int fixed_pen_style = 0;
  // Bars.
  COLORREF bar_border = CLR_NONE;
  int bar_border_width = 1;
  int bar_width = 0;  // 0: fitted to the space
  bool bar_gradient = false;
  COLORREF bar_gradient_color = RGB(255, 255, 255);
  int bar_gradient_type = 0;  // 0 vertical, 1 horizontal
  bool negative = false;
  COLORREF negative_color = RGB(0, 160, 0);
  bool stacked = false;
  int group = 0;
  int inter_space = 2;
  bool base_automatic = true;
  double base = 0;
  bool bar_3d = false;
  int depth_3d = 6;
  bool colors_3d = false;
  // top, front, side, border for the normal, hot and selected bar
  std::array<COLORREF, 12> colors3d{};
  bool horizontal_bars = false;
  // Surfaces.
  int surface_fill = 0;  // 0 solid, 1 hatched, 2 outline only
  bool surface_horizontal = false;
  // Candles.
  int candle_width = 0;  // 0: fitted
  COLORREF candle_empty = RGB(255, 255, 255);
  // Gantt bars.
  COLORREF gantt_border = CLR_NONE;
  int gantt_border_width = 1;
  int gantt_bar_width = 10;
  bool gantt_gradient = false;
  COLORREF gantt_gradient_color = RGB(255, 255, 255);
  int gantt_gradient_type = 0;
  // Straps.
  bool strap_border = true;
  COLORREF strap_border_color = CLR_NONE;
  int strap_border_width = 1;
};

struct ChartLegendLook {
  bool transparent = false;
  bool horizontal = false;
  COLORREF back = RGB(255, 255, 255);
  COLORREF text = RGB(0, 0, 0);
  bool shadow = false;
  COLORREF shadow_color = RGB(128, 128, 128);
  int shadow_depth = 3;
  bool undocked = false;  // floating at (x, y)
  int x = 0, y = 0;
};

struct ChartCrossHair {
  bool shown = false;
  bool horizontal = true;
  bool vertical = true;
  COLORREF color = RGB(128, 128, 128);
  int style = 0;
  int width = 1;
};

class CChartCtrl;

// Chart events for the container that made the chart.
class IChartListener {
 public:
  virtual ~IChartListener() = default;
  virtual void OnMouseEventSeries(CChartCtrl& chart, int series_id, int point, ChartMouseEvent event) = 0;
  virtual void OnKeyEventPlotArea(CChartCtrl& chart, UINT key) = 0;
};

class CChartCtrl : public orbe::KvxWidget {
 public:
  CChartCtrl();

  ChartAxis& GetAxis(ChartAxisPos pos) { return axes_[static_cast<std::size_t>(pos)]; }
  const ChartAxis& GetAxis(ChartAxisPos pos) const { return axes_[static_cast<std::size_t>(pos)]; }
  // Shows the axis with a type.
  void CreateAxis(ChartAxisPos pos, ChartAxisType type);
  // Refused unless min < max (and, on a logarithmic axis, min > 0); switches
  // the axis off automatic.
  bool SetAxisMinMax(ChartAxisPos pos, double min, double max);
  void SetAxisAutomatic(ChartAxisPos pos, bool automatic) { GetAxis(pos).automatic = automatic; }
  // The range in use: the set one, or the points' span on an automatic axis
  // (0..1 without points; a flat span is widened by one each way; a discrete
  // axis by half a step).
  void GetAxisMinMax(ChartAxisPos pos, double* min, double* max) const;
  // The ticks of a shown axis in its range, with their texts.
  std::vector<ChartTick> GetTicks(ChartAxisPos pos) const;
  // The step between ticks (seconds on a time axis; decades on a logarithmic one).
  double GetTickIncrement(ChartAxisPos pos) const;

  // Returns the new series' id, from 1 (ids are never reused).
  int AddSerie(ChartSeriesKind kind, const std::string& name = "", ChartAxisPos vertical = ChartAxisPos::kLeft,
               ChartAxisPos horizontal = ChartAxisPos::kBottom);
  bool RemoveSerie(int id);
  void RemoveAllSeries() { series_.clear(); }
  int GetSeriesCount() const { return static_cast<int>(series_.size()); }
  const std::vector<ChartSeries>& GetAllSeries() const { return series_; }
  ChartSeries* GetSerie(int id);
  const ChartSeries* GetSerie(int id) const;
  // Points of lines, points, bars and surfaces.
  bool AddPoint(int series_id, double x, double y, const std::string& user_data = "");
  bool AddCandlestickPoint(int series_id, double x, double low, double high, double open, double close,
                           const std::string& user_data = "");
  // Refused when end < start.
  bool AddGanttPoint(int series_id, double start, double end, double y);
  // Refused when low > high.
  bool AddStrapPoint(int series_id, double x, double low, double high);
  // Removes up to `count` points from the start or the end.
  bool RemovePoints(int series_id, int count, bool from_begin);

  void SetTitle(const std::string& title) { titles_ = {title}; }
  void AddTitleString(const std::string& title) { titles_.push_back(title); }
  const std::vector<std::string>& GetTitles() const { return titles_; }
  void SetTitleColor(COLORREF color) { title_color_ = color; }
  COLORREF GetTitleColor() const { return title_color_; }
  void SetTitleFont(const orbe::FontSpec& font) { title_font_ = font; }
  const orbe::FontSpec& GetTitleFont() const { return title_font_; }

  void SetLegendVisible(bool visible) { legend_visible_ = visible; }
  bool IsLegendVisible() const { return legend_visible_; }
  void SetLegendDock(LegendDock dock) { legend_dock_ = dock, legend_.undocked = false; }
  LegendDock GetLegendDock() const { return legend_dock_; }
  void SetLegendFont(const orbe::FontSpec& font) { legend_font_ = font; }
  const orbe::FontSpec& GetLegendFont() const { return legend_font_; }
  ChartLegendLook& LegendLook() { return legend_; }
  const ChartLegendLook& LegendLook() const { return legend_; }

  void SetBorderVisible(bool visible) { border_visible_ = visible; }
  bool IsBorderVisible() const { return border_visible_; }
  void SetBorderColor(COLORREF color) { border_color_ = color; }
  COLORREF GetBorderColor() const { return border_color_; }
  // A background gradient (type 0 top to bottom, 1 left to right).
  void SetBackGradient(COLORREF from, COLORREF to, int type);
  bool HasBackGradient() const { return back_gradient_; }
  void SetPanEnabled(bool enabled) { pan_ = enabled; }
  bool IsPanEnabled() const { return pan_; }
  void SetZoomEnabled(bool enabled) { zoom_ = enabled; }
  bool IsZoomEnabled() const { return zoom_; }
  void SetZoomRectColor(COLORREF color) { zoom_color_ = color; }
  COLORREF GetZoomRectColor() const { return zoom_color_; }
  void EnableKeyDownMsg(bool enable) { key_messages_ = enable; }
  bool IsKeyDownMsg() const { return key_messages_; }
  ChartCrossHair& CrossHair() { return cross_hair_; }
  const ChartCrossHair& CrossHair() const { return cross_hair_; }
  // Off: the page keeps what it showed when refreshing was switched off.
  void EnableRefresh(bool enable);
  bool IsRefreshEnabled() const { return refresh_; }

  // Where a value lies in the chart's client pixels, on the axes of a series
  // (the left and bottom axes for an unknown series). False when the chart
  // has no room or the value cannot be placed (a logarithmic axis and a value <= 0).
  bool ValueToScreen(int series_id, double x, double y, int* px, int* py) const;

  void SetListener(IChartListener* listener) { listener_ = listener; }
  // What a user does: a click on a point of a series (false for a hidden
  // series or a point that does not exist) makes it the fixed point and is
  // told when the series has a mouse listener; a key in the plot area (told
  // only when key messages are on); the mouse moving over the chart (the
  // cross-hair follows it); a step on an axis scroll bar (moves a fixed range
  // by a tenth of its width inside the data, false without a shown bar).
  bool ClickPoint(int series_id, int point, ChartMouseEvent event = ChartMouseEvent::kClick);
  // Where a point is drawn, in the chart's client pixels (where a click on it
  // lands); false for a series or point that does not exist.
  bool GetPointScreenPos(int series_id, int point, int* x, int* y) const;
  bool PressKey(UINT key);
  void MoveMouse(int x, int y) { mouse_ = POINT{x, y}, mouse_inside_ = true; }
  bool ScrollAxis(ChartAxisPos pos, int steps);
  // Whether the axis shows its scroll bar now.
  bool IsAxisScrollBarShown(ChartAxisPos pos) const;

  // The picture of the chart at its size.
  void Draw(orbe::VectorDrawing& drawing) const;
  bool SaveAsImage(const std::string& path) const;
  void RenderHtml(orbe::HtmlWriter& out) const override;

 protected:
  // The mouse moving or pressed over the chart moves the cross-hair.
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  struct Plot;
  Plot Layout() const;
  COLORREF SeriesColor(const ChartSeries& series) const;
  // The span of the data along an axis, whatever range it shows.
  bool DataSpan(ChartAxisPos pos, double* min, double* max) const;
  std::string RenderSvg() const;

  std::array<ChartAxis, 4> axes_;
  std::vector<ChartSeries> series_;
  int next_id_ = 1;
  std::vector<std::string> titles_;
  COLORREF title_color_ = RGB(0, 0, 0);
  orbe::FontSpec title_font_;
  bool legend_visible_ = false;
  LegendDock legend_dock_ = LegendDock::kRight;
  orbe::FontSpec legend_font_;
  ChartLegendLook legend_;
  bool border_visible_ = true;
  COLORREF border_color_ = RGB(128, 128, 128);
  bool back_gradient_ = false;
  COLORREF gradient_from_ = RGB(255, 255, 255);
  COLORREF gradient_to_ = RGB(255, 255, 255);
  int gradient_type_ = 0;
  bool pan_ = true;
  bool zoom_ = true;
  COLORREF zoom_color_ = RGB(0, 0, 255);
  bool key_messages_ = false;
  ChartCrossHair cross_hair_;
  POINT mouse_{};
  bool mouse_inside_ = false;
  int fixed_series_ = 0;
  bool refresh_ = true;
  std::string frozen_;  // the page while refreshing is off
  IChartListener* listener_ = nullptr;
};

#endif  // ORBE_WIDGETS_CHART_CTRL_H_
