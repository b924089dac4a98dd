#include "orbe/widgets/spin.h"

#include <algorithm>

#include "orbe/widgets/html_writer.h"

void CKvxSpin::Change(int value) {
  const int clamped = std::clamp(value, min_, max_);
  if (clamped == value_) return;
  value_ = clamped;
  Raise("OnSpinPosChanged", {value_});
}

void CKvxSpin::SetValue(int value, bool notify) {
  if (notify) {
    Change(value);
  } else {
    value_ = std::clamp(value, min_, max_);
  }
}

bool CKvxSpin::SetRange(int min, int max) {
  if (min > max) return false;
  min_ = min;
  max_ = max;
  value_ = std::clamp(value_, min_, max_);
  return true;
}

bool CKvxSpin::Step(int steps) {
  if (read_only_ || !IsWindowEnabled()) return false;
  // In 64 bits: a step from the int limits must not wrap around.
  const long long target = static_cast<long long>(value_) + steps;
  Change(static_cast<int>(std::clamp<long long>(target, min_, max_)));
  return true;
}

bool CKvxSpin::TypeValue(int value) {
  if (read_only_ || !IsWindowEnabled()) return false;
  Change(value);
  return true;
}

void CKvxSpin::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"spin\"><span class=\"value\">").Raw(std::to_string(value_)).Raw("</span>");
  if (arrows_) out.Raw("<span class=\"arrows\">&#9650;&#9660;</span>");
  if (meter_ && max_ > min_) {
    const double share = static_cast<double>(value_ - static_cast<long long>(min_)) /
                         (static_cast<double>(max_) - static_cast<double>(min_));
    out.Raw("<meter value=\"").Number(share).Raw("\"></meter>");
  }
  out.Raw("</div>");
}
