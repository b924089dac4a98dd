#include "orbe/widgets/splitter_wnd.h"

#include <algorithm>

#include "orbe/widgets/html_writer.h"

bool CStaticSplitterWnd::SetPane(int index, CWnd* pane) {
  if (index < 0 || index > 1) return false;
  // Held by handle: a pane destroyed elsewhere is then simply absent.
  panes_[static_cast<std::size_t>(index)] = pane != nullptr ? pane->GetSafeHwnd() : nullptr;
  Layout();
  return true;
}

CWnd* CStaticSplitterWnd::GetPane(int index) const {
  if (index < 0 || index > 1) return nullptr;
  HWND hwnd = panes_[static_cast<std::size_t>(index)];
  return hwnd != nullptr ? CWnd::FromHandle(hwnd) : nullptr;
}

void CStaticSplitterWnd::SetSplitPos(int pos) {
  split_pos_ = std::max(pos, 0);
  Layout();
}

bool CStaticSplitterWnd::SetSinglePaneMode(int pane) {
  if (pane < -1 || pane > 1) return false;
  single_pane_ = pane;
  Layout();
  return true;
}

bool CStaticSplitterWnd::DragBar(int pos) {
  if (single_pane_ != -1 || !IsWindowEnabled()) return false;
  SetSplitPos(pos);
  return true;
}

RECT CStaticSplitterWnd::PaneRect(int index) const {
  RECT client;
  GetClientRect(&client);
  if (single_pane_ != -1) return single_pane_ == index ? client : RECT{0, 0, 0, 0};
  const int extent = orientation_ == kVertical ? client.right : client.bottom;
  const int first = std::clamp(split_pos_, 0, std::max(extent - kBarWidth, 0));
  const int second = std::min(first + kBarWidth, extent);
  if (orientation_ == kVertical) {
    return index == 0 ? RECT{0, 0, first, client.bottom} : RECT{second, 0, extent, client.bottom};
  }
  return index == 0 ? RECT{0, 0, client.right, first} : RECT{0, second, client.right, extent};
}

void CStaticSplitterWnd::Layout() {
  for (int i = 0; i < 2; ++i) {
    CWnd* pane = GetPane(i);
    if (pane == nullptr) continue;
    const bool shown = single_pane_ == -1 || single_pane_ == i;
    if (shown) pane->MoveWindow(PaneRect(i));
    pane->ShowWindow(shown ? SW_SHOW : SW_HIDE);
  }
}

void CStaticSplitterWnd::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { Layout(); }

void CStaticSplitterWnd::RenderHtml(orbe::HtmlWriter& out) const {
  if (single_pane_ != -1) return;
  const RECT first = PaneRect(0);
  RECT client;
  GetClientRect(&client);
  const bool vertical = orientation_ == kVertical;
  out.Raw("<div class=\"w bar\" style=\"background:#d0d0d0;left:")
      .Number(vertical ? first.right : 0)
      .Raw("px;top:")
      .Number(vertical ? 0 : first.bottom)
      .Raw("px;width:")
      .Number(vertical ? kBarWidth : client.right)
      .Raw("px;height:")
      .Number(vertical ? client.bottom : kBarWidth)
      .Raw("px\"></div>");
}
