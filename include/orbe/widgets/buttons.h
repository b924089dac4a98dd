// Push buttons, check boxes, radio buttons and picture buttons of the script
// container. Each keeps what a script sets and turns a user's click into the
// event its handler expects.
#ifndef ORBE_WIDGETS_BUTTONS_H_
#define ORBE_WIDGETS_BUTTONS_H_

#include <string>

#include "orbe/widgets/widget_event.h"

// "OnButtonClicked"(id).
class CKvxButton : public orbe::EventWidget {
 public:
  CKvxButton() : EventWidget(orbe::WidgetKind::kButton) {}
  // A user's click; refused by a disabled button.
  bool Click();
  void RenderHtml(orbe::HtmlWriter& out) const override;
};

// "OnCheckBoxCheckedChanged"(id, checked).
class CKvxCheckBox : public orbe::EventWidget {
 public:
  CKvxCheckBox() : EventWidget(orbe::WidgetKind::kCheck) {}
  void SetCheck(bool checked) { checked_ = checked; }
  bool GetCheck() const { return checked_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  bool IsTransparent() const { return transparent_; }
  // A user's click toggles; refused when disabled.
  bool Click();
  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  bool checked_ = false;
  bool transparent_ = false;
};

// Radios with the same group id under the same parent window form a group:
// checking one unchecks the others, whether by script or by click.
// "OnRadioCheckedChanged"(id, checked) for each radio whose state changed.
class CKvxRadio : public orbe::EventWidget {
 public:
  CKvxRadio() : EventWidget(orbe::WidgetKind::kRadio) {}
  void SetGroupID(int group) { group_ = group; }
  int GetGroupID() const { return group_; }
  // Silent: a script's own setting needs no event.
  void SetCheck(bool checked);
  bool GetCheck() const { return checked_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  bool IsTransparent() const { return transparent_; }
  // A user's click checks this radio (a checked radio stays checked, as a
  // real radio does); refused when disabled.
  bool Click();
  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  // Unchecks the other radios of the group; raises their events when asked.
  void UncheckSiblings(bool notify);

  int group_ = 0;
  bool checked_ = false;
  bool transparent_ = false;
};

// A button drawn from an image (the add text is the image path), with a
// normal and a hot (hovered) look. "OnPictureBtnClick"(id).
class CKvxPictureButton : public orbe::EventWidget {
 public:
  CKvxPictureButton() : EventWidget(orbe::WidgetKind::kPictureButton) {}
  void SetImagePath(const std::string& path) { image_ = path; }
  const std::string& GetImagePath() const { return image_; }
  void SetStyle(int style) { style_ = style; }
  int GetPictureStyle() const { return style_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  bool IsTransparent() const { return transparent_; }
  void SetColors(COLORREF normal_bk, COLORREF hot_bk) { bk_ = normal_bk, hot_bk_ = hot_bk; }
  void SetTextColors(COLORREF normal, COLORREF hot) { text_ = normal, hot_text_ = hot; }
  COLORREF GetHotBkColor() const { return hot_bk_; }
  COLORREF GetHotTextColor() const { return hot_text_; }
  void SetUnderline(bool underline) { underline_ = underline; }
  bool GetUnderline() const { return underline_; }
  void SetBoldFont(bool bold) { bold_ = bold; }
  bool GetBoldFont() const { return bold_; }
  // The tip and its two numbers (shown delay and width, in the caller's units).
  void SetToolTip(const std::string& tip, int delay, int width);
  const std::string& GetToolTip() const { return tip_; }
  int GetToolTipDelay() const { return tip_delay_; }
  int GetToolTipWidth() const { return tip_width_; }
  // The mouse over the button: the hot look.
  void SetHot(bool hot) { hot_ = hot; }
  bool IsHot() const { return hot_; }
  bool Click();
  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::string image_;
  std::string tip_;
  int tip_delay_ = 0;
  int tip_width_ = 0;
  int style_ = 0;
  bool transparent_ = false;
  bool underline_ = false;
  bool bold_ = false;
  bool hot_ = false;
  COLORREF bk_ = CLR_DEFAULT;
  COLORREF hot_bk_ = CLR_DEFAULT;
  COLORREF text_ = CLR_DEFAULT;
  COLORREF hot_text_ = CLR_DEFAULT;
};

#endif  // ORBE_WIDGETS_BUTTONS_H_
