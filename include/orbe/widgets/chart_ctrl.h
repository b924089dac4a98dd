// The general chart: series of points on four axes, titles and a legend,
// rendered as inline SVG. Axes scale themselves to the points unless given a
// range.
#ifndef ORBE_WIDGETS_CHART_CTRL_H_
#define ORBE_WIDGETS_CHART_CTRL_H_

#include <array>
#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

enum class ChartAxisPos : int { kLeft = 0, kBottom = 1, kRight = 2, kTop = 3 };
enum class ChartSeriesKind : int { kLine = 0, kPoints = 1, kBar = 2, kCandlestick = 3 };
enum class ChartMouseEvent : int { kClick = 0, kDoubleClick = 1 };
enum class LegendDock : int { kRight = 0, kLeft = 1, kTop = 2, kBottom = 3 };

struct ChartPoint {
  double x = 0;
  double y = 0;  // close for a candlestick
  double low = 0, high = 0, open = 0;
  std::string user_data;  // GBK
};

struct ChartAxis {
  bool visible = false;
  bool automatic = true;
  double min = 0, max = 1;
  double tick = 0;  // 0: automatic ticks
  std::string label;
  COLORREF color = RGB(0, 0, 0);
  orbe::FontSpec font;
};

struct ChartSeries {
  int id = 0;
  ChartSeriesKind kind = ChartSeriesKind::kLine;
  std::string name;
  COLORREF color = CLR_NONE;
  int width = 1;
  bool visible = true;
  ChartAxisPos vertical_axis = ChartAxisPos::kLeft;
  std::vector<ChartPoint> points;
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
  // Refused unless min < max; switches the axis off automatic.
  bool SetAxisMinMax(ChartAxisPos pos, double min, double max);
  void SetAxisAutomatic(ChartAxisPos pos, bool automatic) { GetAxis(pos).automatic = automatic; }
  // The range in use: the set one, or the points' span on an automatic axis
  // (0..1 without points; a flat span is widened by one each way).
  void GetAxisMinMax(ChartAxisPos pos, double* min, double* max) const;

  // Returns the new series' id (ids are never reused).
  int AddSerie(ChartSeriesKind kind, const std::string& name = "",
               ChartAxisPos vertical = ChartAxisPos::kLeft);
  bool RemoveSerie(int id);
  void RemoveAllSeries() { series_.clear(); }
  int GetSeriesCount() const { return static_cast<int>(series_.size()); }
  ChartSeries* GetSerie(int id);
  const ChartSeries* GetSerie(int id) const;
  bool AddPoint(int series_id, double x, double y, const std::string& user_data = "");
  bool AddCandlestickPoint(int series_id, double x, double low, double high, double open, double close,
                           const std::string& user_data = "");

  void SetTitle(const std::string& title) { titles_ = {title}; }
  void AddTitleString(const std::string& title) { titles_.push_back(title); }
  const std::vector<std::string>& GetTitles() const { return titles_; }
  void SetTitleColor(COLORREF color) { title_color_ = color; }
  COLORREF GetTitleColor() const { return title_color_; }
  void SetTitleFont(const orbe::FontSpec& font) { title_font_ = font; }
  const orbe::FontSpec& GetTitleFont() const { return title_font_; }

  void SetLegendVisible(bool visible) { legend_visible_ = visible; }
  bool IsLegendVisible() const { return legend_visible_; }
  void SetLegendDock(LegendDock dock) { legend_dock_ = dock; }
  LegendDock GetLegendDock() const { return legend_dock_; }
  void SetLegendFont(const orbe::FontSpec& font) { legend_font_ = font; }
  const orbe::FontSpec& GetLegendFont() const { return legend_font_; }

  void SetBorderVisible(bool visible) { border_visible_ = visible; }
  bool IsBorderVisible() const { return border_visible_; }
  void SetBorderColor(COLORREF color) { border_color_ = color; }
  COLORREF GetBorderColor() const { return border_color_; }
  void SetPanEnabled(bool enabled) { pan_ = enabled; }
  bool IsPanEnabled() const { return pan_; }
  void SetZoomEnabled(bool enabled) { zoom_ = enabled; }
  bool IsZoomEnabled() const { return zoom_; }
  void EnableKeyDownMsg(bool enable) { key_messages_ = enable; }

  void SetListener(IChartListener* listener) { listener_ = listener; }
  // What a user does: a click on a point of a series (false for a hidden
  // series or a point that does not exist), a key in the plot area (told only
  // when key messages are on).
  bool ClickPoint(int series_id, int point, ChartMouseEvent event = ChartMouseEvent::kClick);
  // Where a point is drawn, in the chart's client pixels (where a click on it
  // lands); false for a series or point that does not exist.
  bool GetPointScreenPos(int series_id, int point, int* x, int* y) const;
  bool PressKey(UINT key);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  COLORREF SeriesColor(const ChartSeries& series) const;

  std::array<ChartAxis, 4> axes_;
  std::vector<ChartSeries> series_;
  int next_id_ = 0;
  std::vector<std::string> titles_;
  COLORREF title_color_ = RGB(0, 0, 0);
  orbe::FontSpec title_font_;
  bool legend_visible_ = false;
  LegendDock legend_dock_ = LegendDock::kRight;
  orbe::FontSpec legend_font_;
  bool border_visible_ = true;
  COLORREF border_color_ = RGB(128, 128, 128);
  bool pan_ = true;
  bool zoom_ = true;
  bool key_messages_ = false;
  IChartListener* listener_ = nullptr;
};

#endif  // ORBE_WIDGETS_CHART_CTRL_H_
