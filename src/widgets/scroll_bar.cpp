#include "orbe/widgets/scroll_bar.h"

#include <algorithm>
#include <string>

#include "orbe/widgets/html_writer.h"

namespace {

WPARAM ScrollWparam(int code, int pos) {
  // The position field is 16 bits wide; the parent reads the full value from
  // the bar (GetScrollPos32) when the range is larger.
  return static_cast<WPARAM>(static_cast<WORD>(code)) |
         (static_cast<WPARAM>(static_cast<WORD>(pos)) << 16);
}

}  // namespace

CXScrollBar::CXScrollBar(bool vertical) : KvxWidget(orbe::WidgetKind::kGeneric), vertical_(vertical) {}

BOOL CXScrollBar::Create(const RECT& rect, CWnd* parent, UINT id, DWORD style) {
  return CWnd::Create(parent, rect, id, style);
}

bool CXScrollBar::SetScrollRange(int min, int max) {
  if (min > max) return false;
  min_ = min;
  max_ = max;
  SetScrollPos32(pos_);
  return true;
}

void CXScrollBar::SetPageSize(int page) {
  page_ = std::max(page, 0);
  SetScrollPos32(pos_);
}

int CXScrollBar::GetMaxPos() const {
  // In 64 bits: a range spanning the whole int must not overflow.
  const long long last = static_cast<long long>(max_) - std::max(page_ - 1, 0);
  return static_cast<int>(std::max<long long>(last, min_));
}

int CXScrollBar::SetScrollPos32(int pos) {
  const int before = pos_;
  pos_ = std::clamp(pos, min_, GetMaxPos());
  return before;
}

void CXScrollBar::MoveTo(long long pos) {
  pos_ = static_cast<int>(std::clamp<long long>(pos, min_, GetMaxPos()));
}

void CXScrollBar::NotifyParent(int code) {
  CWnd* parent = GetParent();
  if (parent == nullptr) return;
  parent->SendMessage(vertical_ ? WM_VSCROLL : WM_HSCROLL, ScrollWparam(code, pos_),
                      reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

bool CXScrollBar::ClickArrow(bool forward) {
  if (!IsWindowEnabled() || !CanScroll()) return false;
  MoveTo(static_cast<long long>(pos_) + (forward ? 1 : -1));
  NotifyParent(forward ? SB_LINEDOWN : SB_LINEUP);
  NotifyParent(SB_ENDSCROLL);
  return true;
}

bool CXScrollBar::ClickTrack(bool forward) {
  if (!IsWindowEnabled() || !CanScroll()) return false;
  const long long step = std::max(page_, 1);
  MoveTo(static_cast<long long>(pos_) + (forward ? step : -step));
  NotifyParent(forward ? SB_PAGEDOWN : SB_PAGEUP);
  NotifyParent(SB_ENDSCROLL);
  return true;
}

bool CXScrollBar::DragThumb(int pos) {
  if (!IsWindowEnabled() || !CanScroll()) return false;
  MoveTo(pos);
  NotifyParent(SB_THUMBTRACK);
  NotifyParent(SB_THUMBPOSITION);
  NotifyParent(SB_ENDSCROLL);
  return true;
}

bool CXScrollBar::ScrollToEnd(bool bottom) {
  if (!IsWindowEnabled() || !CanScroll()) return false;
  MoveTo(bottom ? GetMaxPos() : min_);
  NotifyParent(bottom ? SB_BOTTOM : SB_TOP);
  NotifyParent(SB_ENDSCROLL);
  return true;
}

void CXScrollBar::RenderHtml(orbe::HtmlWriter& out) const {
  // The thumb's share and offset, in percent of the track.
  const double span = static_cast<double>(max_) - min_ + 1;
  const double thumb = page_ <= 0 ? 0.0 : std::min(100.0, 100.0 * page_ / span);
  const double offset = 100.0 * (static_cast<double>(pos_) - min_) / span;
  out.Raw("<div class=\"scrollbar ").Raw(vertical_ ? "v" : "h").Raw("\" data-pos=\"")
      .Raw(std::to_string(pos_)).Raw("\" data-min=\"").Raw(std::to_string(min_)).Raw("\" data-max=\"")
      .Raw(std::to_string(max_)).Raw("\" data-page=\"").Raw(std::to_string(page_)).Raw("\">");
  out.Raw("<div class=\"thumb\" style=\"").Raw(vertical_ ? "top:" : "left:").Number(offset)
      .Raw("%;").Raw(vertical_ ? "height:" : "width:").Number(thumb).Raw("%;");
  if (bar_color_ != CLR_DEFAULT) out.Raw("background:").Raw(orbe::CssColor(bar_color_)).Raw(";");
  out.Raw("\"></div></div>");
}
