// A progress bar that shows its percentage as text.
#ifndef ORBE_WIDGETS_TEXT_PROGRESS_H_
#define ORBE_WIDGETS_TEXT_PROGRESS_H_

#include <string>

#include "orbe/widgets/widget.h"

class CTextProgressCtrl : public orbe::KvxWidget {
 public:
  CTextProgressCtrl() : KvxWidget(orbe::WidgetKind::kProgress) {}

  // Refused unless lower < upper; the position is kept inside the range.
  bool SetRange(int lower, int upper);
  int GetLower() const { return lower_; }
  int GetUpper() const { return upper_; }
  // Returns the previous position.
  int SetPos(int pos);
  int GetPos() const { return pos_; }
  // 0..100, rounded down, so 100 only shows when the work is done.
  int GetPercent() const;
  void SetShowText(bool show) { show_text_ = show; }
  // "42%", or "" while the text is off.
  std::string GetText() const;
  void SetBarColor(COLORREF color) { bar_color_ = color; }
  COLORREF GetBarColor() const { return bar_color_; }

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  int lower_ = 0;
  int upper_ = 100;
  int pos_ = 0;
  bool show_text_ = true;
  COLORREF bar_color_ = RGB(51, 153, 255);
};

#endif  // ORBE_WIDGETS_TEXT_PROGRESS_H_
