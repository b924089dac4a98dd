// A pie chart. Elements are named by their label (a script names an element
// by the text it created it with), so labels are unique. Renders as SVG.
#ifndef ORBE_WIDGETS_PIE_H_
#define ORBE_WIDGETS_PIE_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

namespace orbe {
class VectorDrawing;
}

struct PieElement {
  std::string label;    // GBK, unique
  std::string tip;      // GBK
  double value = 0;     // >= 0
  COLORREF color = CLR_NONE;  // CLR_NONE: the palette
  int distance = 0;     // how far the slice is pulled out, in pixels
  double transparency = 0;    // 0 opaque .. 1 invisible
  double gradient_light = 0;  // 0..100: how much the gradient lightens and darkens
  double gradient_dark = 0;
};

// "OnPieSelChanged"(id, index, label) when a user's click changes the selection.
class CKvxPieChart : public orbe::EventWidget {
 public:
  CKvxPieChart() : EventWidget(orbe::WidgetKind::kPie) {}

  // Refused for a label already present and for a negative or non-finite value.
  bool InsertItem(const std::string& label, const std::string& tip, double value, COLORREF color);
  bool RemoveItem(const std::string& label);
  void RemoveAllItem();
  // Index in the current order, -1 for none.
  int GetElementID(const std::string& label) const;
  const std::vector<PieElement>& GetElements() const { return elements_; }
  std::string GetSelectedElement() const;
  bool SetSelectedElement(const std::string& label);  // "" clears
  bool UpdateItemValue(const std::string& label, double value);
  bool UpdateItemLabel(const std::string& label, const std::string& new_label);
  bool UpdateItemColor(const std::string& label, COLORREF color);
  bool SetDistanceIndex(const std::string& label, int distance);
  void SetDistanceIndexAll(int distance);
  bool SetElementTransparency(const std::string& label, double transparency);
  void SetElementTransparencyAll(double transparency);
  bool SetElementGradientLight(const std::string& label, double light);
  bool SetElementGradientDark(const std::string& label, double dark);
  void SetElementGradientLightAll(double light);
  void SetElementGradientDarkAll(double dark);
  // The element's share of the total, 0..1 (0 when the total is 0).
  double GetShare(int index) const;

  // Sorts by value (ascending when true); SortToOriginalOrder restores the
  // insertion order.
  void SortElements(bool ascending);
  void SortToOriginalOrder();

  // The look. Angles in degrees.
  struct Look {
    COLORREF background = CLR_DEFAULT;
    bool background_gradient = false;
    double background_light = 0;
    double background_dark = 0;
    COLORREF label_color = CLR_DEFAULT;
    COLORREF label_box_color = CLR_DEFAULT;
    COLORREF highlight_color = CLR_DEFAULT;
    COLORREF title_color = CLR_DEFAULT;
    COLORREF tooltip_text = CLR_DEFAULT;
    COLORREF tooltip_bk = CLR_DEFAULT;
    bool tooltip = true;
    bool percentages = true;
    bool labels = true;
    bool show_title = true;
    int title_dock = 0;  // 0 top, 1 bottom, 2 left, 3 right; -1 undocked at title_x, title_y
    int title_x = 0;
    int title_y = 0;
    orbe::FontSpec label_font;
    orbe::FontSpec title_font;
    int style = 0;  // 0 flat, 1 three-dimensional
    double start_angle = 0;
    double incline_angle = 0;
    double depth = 0;
    int horizontal_offset = 0;
  };
  Look& GetLook() { return look_; }
  const Look& GetLook() const { return look_; }
  void SetPieChartTitle(const std::string& title) { title_ = title; }
  const std::string& GetPieChartTitle() const { return title_; }

  bool ClickElement(int index);

  // The picture at the pie's size, for the page and for SaveAsImage.
  void Draw(orbe::VectorDrawing& drawing) const;
  bool SaveAsImage(const std::string& path) const;
  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  PieElement* Find(const std::string& label);

  std::vector<PieElement> elements_;
  std::vector<std::string> original_order_;
  std::string selected_;
  std::string title_;
  Look look_;
};

#endif  // ORBE_WIDGETS_PIE_H_
