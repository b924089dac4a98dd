// The report's bar chart: one bar per period, a title, a left axis range with
// a scale text, rendered as inline SVG.
#ifndef ORBE_WIDGETS_CHART_BAR_CTRL_H_
#define ORBE_WIDGETS_CHART_BAR_CTRL_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

struct ChartBar {
  double x = 0;
  double y = 0;
  std::string label;          // GBK
  COLORREF color = CLR_NONE;  // CLR_NONE: the chart's palette
  bool highlighted = false;
};

class CChartBarCtrl : public orbe::KvxWidget {
 public:
  CChartBarCtrl() : KvxWidget(orbe::WidgetKind::kChartBar) {}

  void AddBar(double x, double y, const std::string& label, COLORREF color, bool highlighted);
  void RemoveAllBars() { bars_.clear(); }
  const std::vector<ChartBar>& GetBars() const { return bars_; }

  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& GetTitle() const { return title_; }
  void SetTitleColor(COLORREF color) { title_color_ = color; }
  COLORREF GetTitleColor() const { return title_color_; }
  // The size is in tenths of a point, as the platform's point fonts take it
  // (120 is 12 points); the font keeps it in points.
  void SetTitleFont(int size, const std::string& face) { title_font_ = {face, size / 10, 400}; }
  const orbe::FontSpec& GetTitleFont() const { return title_font_; }
  void SetLegendVisible(bool visible) { legend_visible_ = visible; }
  bool IsLegendVisible() const { return legend_visible_; }
  // Refused (false) when min is not below max.
  bool SetLeftMinMax(double min, double max);
  double GetLeftMin() const { return left_min_; }
  double GetLeftMax() const { return left_max_; }
  void SetBottomTickIncrement(bool automatic, double increment);
  double GetBottomTickIncrement() const { return bottom_tick_; }
  bool IsBottomTickAutomatic() const { return bottom_tick_auto_; }
  void SetLeftText(const std::string& text) { left_text_ = text; }
  const std::string& GetLeftText() const { return left_text_; }
  void SetPanEnabled(bool enabled) { pan_ = enabled; }
  bool IsPanEnabled() const { return pan_; }
  void SetZoomEnabled(bool enabled) { zoom_ = enabled; }
  bool IsZoomEnabled() const { return zoom_; }

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::vector<ChartBar> bars_;
  std::string title_;
  COLORREF title_color_ = 0;
  orbe::FontSpec title_font_;
  bool legend_visible_ = false;
  double left_min_ = 0;
  double left_max_ = 1;
  double bottom_tick_ = 1;
  bool bottom_tick_auto_ = true;
  std::string left_text_;
  bool pan_ = true;
  bool zoom_ = true;
};

#endif  // ORBE_WIDGETS_CHART_BAR_CTRL_H_
