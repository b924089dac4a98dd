// A column chart: labelled columns on a ruler, kept to a most-recent count
// when given one, shown in insertion order or sorted by value.
#ifndef ORBE_WIDGETS_VCHART_H_
#define ORBE_WIDGETS_VCHART_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

namespace orbe {
class VectorDrawing;
}

struct VChartItem {
  std::string label;  // GBK
  double value = 0;
  COLORREF color = CLR_NONE;        // CLR_NONE: red for >= 0, green below
  COLORREF value_color = CLR_DEFAULT;  // CLR_DEFAULT: the chart's value colour
  bool show_value = true;
};

struct VChartLook {
  int gradient = 0;  // 0 flat, 1 vertical gradient, 2 horizontal gradient
  COLORREF grid_color = RGB(200, 200, 200);
  int grid_type = 1;  // 0 none, 1 solid, 2 dotted
  COLORREF title_color = RGB(0, 0, 0);
  COLORREF label_color = RGB(0, 0, 0);
  COLORREF ruler_color = RGB(96, 96, 96);
  COLORREF value_color = RGB(0, 0, 0);
  COLORREF frame_color = RGB(0, 0, 0);
  int frame_width = 1;
  int order = 0;  // 0 as added, 1 ascending by value, 2 descending
  int bar_width = 0;  // 0: fitted
  int interval = 6;
  int decimals = 2;
};

class CKvxVChart : public orbe::KvxWidget {
 public:
  CKvxVChart() : KvxWidget(orbe::WidgetKind::kVChart) {}

  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& GetTitle() const { return title_; }
  // Refused for a value that is not finite. Beyond the most-recent count the
  // oldest item goes.
  bool AddItem(const VChartItem& item);
  bool RemoveItem(int index);
  void RemoveAllItem() { items_.clear(); }
  const std::vector<VChartItem>& GetItems() const { return items_; }
  // 0: no limit; a smaller limit drops the oldest items at once.
  bool SetMaxItemCount(int count);
  int GetMaxItemCount() const { return max_items_; }
  // A fixed scale (refused unless min < max) and the ruler's decimals (0..10).
  bool SetMinMax(double min, double max, int decimals);
  void SetAutomatic(bool automatic) { automatic_ = automatic; }
  bool IsAutomatic() const { return automatic_; }
  // The scale in use: the fixed one, or the values' span with zero.
  void GetRange(double* min, double* max) const;
  // The items as shown: in the look's order.
  std::vector<VChartItem> ShownItems() const;
  VChartLook& Look() { return look_; }
  const VChartLook& Look() const { return look_; }
  // Off: the page keeps what it showed when drawing was paused.
  void SetRedraw(bool redraw);
  bool GetRedraw() const { return redraw_; }

  void Draw(orbe::VectorDrawing& drawing) const;
  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::string RenderSvg() const;

  std::string title_;
  std::vector<VChartItem> items_;
  int max_items_ = 0;
  bool automatic_ = true;
  double min_ = 0, max_ = 1;
  VChartLook look_;
  bool redraw_ = true;
  std::string frozen_;
};

#endif  // ORBE_WIDGETS_VCHART_H_
