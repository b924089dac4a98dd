#include "orbe/widgets/text_progress.h"

#include <algorithm>
#include <cstdint>

#include "orbe/widgets/html_writer.h"

bool CTextProgressCtrl::SetRange(int lower, int upper) {
  if (lower >= upper) return false;
  lower_ = lower;
  upper_ = upper;
  pos_ = std::clamp(pos_, lower_, upper_);
  return true;
}

int CTextProgressCtrl::SetPos(int pos) {
  const int previous = pos_;
  pos_ = std::clamp(pos, lower_, upper_);
  return previous;
}

int CTextProgressCtrl::GetPercent() const {
  // 64-bit: the span of two ints times 100 overflows 32 bits.
  const std::int64_t done = static_cast<std::int64_t>(pos_) - lower_;
  const std::int64_t span = static_cast<std::int64_t>(upper_) - lower_;
  return static_cast<int>(done * 100 / span);
}

std::string CTextProgressCtrl::GetText() const {
  return show_text_ ? std::to_string(GetPercent()) + "%" : std::string();
}

void CTextProgressCtrl::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"progress\" style=\"position:relative;height:100%;border:1px solid #a0a0a0\">");
  out.Raw("<div style=\"height:100%;width:").Number(GetPercent()).Raw("%;background:");
  out.Raw(orbe::CssColor(bar_color_)).Raw("\"></div>");
  out.Raw("<span style=\"position:absolute;left:0;right:0;top:0;text-align:center\">").Raw(GetText());
  out.Raw("</span></div>");
}
