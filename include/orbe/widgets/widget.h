// The common base of the library's widgets: a platform window that keeps the
// look a module or script sets (colours, font) and renders itself as HTML.
#ifndef ORBE_WIDGETS_WIDGET_H_
#define ORBE_WIDGETS_WIDGET_H_

#include <string>

#include "orbe/platform/types.h"
#include "orbe/platform/window.h"

// "No colour set": the renderer then uses the widget's default.
constexpr COLORREF CLR_DEFAULT = 0xFF000000;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

namespace orbe {

class HtmlWriter;

// The library's window-type numbering (GetWndType, AddWnd). Stable values:
// scripts store them.
enum class WidgetKind : int {
  kGeneric = 0,
  kList = 1,
  kChartBar = 2,
  kWeb = 3,
  kEdit = 4,
  kHistogramList = 5,
  kGrid = 6,
  kChart = 7,
  kTree = 8,
  kSwitch = 9,
  kHistogram = 10,
  kScrollContainer = 11,
  kSplitter = 12,
  kProgress = 13,
  kTitle = 14,
  kButton = 15,
  kCheck = 16,
  kRadio = 17,
  kCombo = 18,
  kContainer = 19,
  kListTree = 20,
  kPie = 21,
  kCheckCombo = 22,
  kSpin = 23,
  kDateTime = 24,
  kPaging = 25,
  kXPaging = 26,
  kMonthCal = 27,
  kPicture = 28,
  kUpDownStream = 29,
  kPictureButton = 30,
  kComboTree = 31,
  kTradeQuote = 32,
  kPlugin = 33,
  kVChart = 34,
};

struct FontSpec {
  std::string face;  // GBK; "" = the renderer's default family
  int size = 0;      // points; 0 = default
  int weight = 400;  // 400 regular, 700 bold
  bool italic = false;
  bool underline = false;
  bool operator==(const FontSpec&) const = default;
};

class KvxWidget : public CWnd {
 public:
  explicit KvxWidget(WidgetKind kind) : kind_(kind) {}

  WidgetKind Kind() const { return kind_; }

  void SetBkColor(COLORREF color) { bk_color_ = color; }
  COLORREF GetBkColor() const { return bk_color_; }
  void SetTextColor(COLORREF color) { text_color_ = color; }
  COLORREF GetTextColor() const { return text_color_; }
  void SetFont(const FontSpec& font) { font_ = font; }
  const FontSpec& GetFont() const { return font_; }
  // A tooltip widget floats above its siblings while shown.
  void SetTooltip(bool tooltip) { tooltip_ = tooltip; }
  bool IsTooltip() const { return tooltip_; }

  // Writes what the widget shows inside its own box; the tree renderer places
  // the box at the window's rectangle and renders the child windows after it.
  virtual void RenderHtml(HtmlWriter& out) const;

 protected:
  // For a class that refines another widget (the list is a grid).
  void SetKind(WidgetKind kind) { kind_ = kind; }

 private:
  WidgetKind kind_;
  COLORREF bk_color_ = CLR_DEFAULT;
  COLORREF text_color_ = CLR_DEFAULT;
  FontSpec font_;
  bool tooltip_ = false;
};

}  // namespace orbe

#endif  // ORBE_WIDGETS_WIDGET_H_
