// A number box with up and down arrows. The value stays inside its range.
#ifndef ORBE_WIDGETS_SPIN_H_
#define ORBE_WIDGETS_SPIN_H_

#include <utility>

#include "orbe/widgets/widget_event.h"

// "OnSpinPosChanged"(id, value) when a user's step changes the value.
class CKvxSpin : public orbe::EventWidget {
 public:
  CKvxSpin() : EventWidget(orbe::WidgetKind::kSpin) {}

  int GetValue() const { return value_; }
  // Clamped into the range; with `notify` the change is reported as a user's.
  void SetValue(int value, bool notify);
  // Refused when min > max; the value moves into the new range.
  bool SetRange(int min, int max);
  std::pair<int, int> GetRange() const { return {min_, max_}; }
  void SetReadOnly(bool read_only) { read_only_ = read_only; }
  bool GetReadOnly() const { return read_only_; }
  void ShowPopUp(bool show) { popup_ = show; }
  bool IsPopUpShown() const { return popup_; }
  void ShowSpin(bool show) { arrows_ = show; }
  bool IsSpinShown() const { return arrows_; }
  void ShowMeter(bool show) { meter_ = show; }
  bool IsMeterShown() const { return meter_; }
  // Live update: report every step while an arrow is held (true) or only the
  // final value on release (false).
  void NotifyLiveUpdate(bool live) { live_ = live; }
  bool IsLiveUpdate() const { return live_; }

  // A user's arrow press (steps up or down); refused when read-only or disabled.
  bool Step(int steps);
  // A user's typed value; refused like Step, clamped like SetValue.
  bool TypeValue(int value);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  void Change(int value);

  int value_ = 0;
  int min_ = 0;
  int max_ = 100;
  bool read_only_ = false;
  bool popup_ = false;
  bool arrows_ = true;
  bool meter_ = false;
  bool live_ = true;
};

#endif  // ORBE_WIDGETS_SPIN_H_
