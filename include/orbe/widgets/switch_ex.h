// Switch tabs: a strip of labels of which one is current. A click on a label
// makes it current and tells the parent.
#ifndef ORBE_WIDGETS_SWITCH_EX_H_
#define ORBE_WIDGETS_SWITCH_EX_H_

#include <string>
#include <vector>

#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/widget.h"

// WM_NOTIFY code of a tab switch, with NM_SWITCH.
constexpr UINT SWN_SELCHANGED = static_cast<UINT>(-190);

struct NM_SWITCH {
  NMHDR hdr;
  int iOldLabel;
  int iNewLabel;
};

struct SwitchColorSchema {
  int font_size = 9;  // points
  int font_weight = 400;
  COLORREF text = RGB(0, 0, 0);
  COLORREF bk = RGB(236, 236, 236);
  COLORREF current_text = RGB(255, 255, 255);
  COLORREF current_bk = RGB(51, 102, 204);
  COLORREF hover_text = RGB(0, 0, 0);
  COLORREF hover_bk = RGB(210, 220, 240);
  COLORREF border = RGB(160, 160, 160);
  COLORREF background = RGB(255, 255, 255);
  std::string face;  // GBK; "" = default
};

class CSwitchEx : public orbe::KvxWidget {
 public:
  // Labels laid side by side or stacked.
  enum Style : int { kHorizontal = 0, kVertical = 1 };
  struct Label {
    std::string text;  // GBK
    std::string tip;
    COLORREF special_text = CLR_DEFAULT;
  };

  CSwitchEx() : KvxWidget(orbe::WidgetKind::kSwitch) {}

  void SetStyle(int style) { style_ = style == kVertical ? kVertical : kHorizontal; }
  int GetSwitchStyle() const { return style_; }
  // Colours in the order of the schema record; the face converted by _FFONT.
  void SetFontColorSchema(const SwitchColorSchema& schema) { schema_ = schema; }
  const SwitchColorSchema& GetFontColorSchema() const { return schema_; }
  bool SetSpecialTextColor(int index, COLORREF color);

  // index outside 0..count appends. Returns the label's index.
  int InsertSwitchLabel(int index, const std::string& text, const std::string& tip = "");
  bool ModifySwitchLabel(int index, const std::string& text, const std::string& tip = "");
  bool DeleteSwitchLabel(int index);
  void ClearAllLabel();
  int GetTabNum() const { return static_cast<int>(labels_.size()); }
  const Label* GetLabel(int index) const;
  // Programmatic: no notification. -1 clears the current label.
  bool SetCurLabel(int index);
  int GetCurLabel() const { return current_; }
  // Off: clicks still switch, but the parent is not told.
  void EnableMsg(bool enable) { notify_ = enable; }
  // The width (horizontal) or height (vertical) that shows every label whole.
  int GetNeedWidth() const;
  int LabelExtent(int index) const;

  // A user's click: makes the label current and, when it changed, sends
  // WM_NOTIFY SWN_SELCHANGED to the parent.
  bool ClickLabel(int index);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::vector<Label> labels_;
  SwitchColorSchema schema_;
  int style_ = kHorizontal;
  int current_ = -1;
  bool notify_ = true;
};

#endif  // ORBE_WIDGETS_SWITCH_EX_H_
