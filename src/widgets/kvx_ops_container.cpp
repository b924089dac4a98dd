// The container's own operations: geometry and scrolling, the menu, what it
// draws under its widgets, coordinates, focus and tab order, the cursor, the
// navigation strip and the widget lifecycle.
#include <algorithm>
#include <set>

#include "kvx_ops.h"
#include "orbe/platform/shell.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/window_class.h"
#include "orbe/widgets/grid_scroll_frame.h"
#include "orbe/widgets/title_bar.h"

using orbe::widgets::FontOf;

namespace {

constexpr int kNavigateHeight = 24;

RECT ScreenRect(const CWnd& window) {
  RECT rect{};
  window.GetWindowRect(&rect);
  return rect;
}

}  // namespace

void CKVXContainer::InvalidateWnd(int id) {
  if (orbe::KvxWidget* widget = GetWnd(id)) widget->Invalidate();
}

void CKVXContainer::InvalidateRect32(int id, int /*x*/, int /*y*/, int cx, int cy, bool erase) {
  // The platform keeps one repaint mark per window: part of it marks it all.
  orbe::KvxWidget* widget = GetWnd(id);
  if (widget != nullptr && cx > 0 && cy > 0) widget->Invalidate(erase ? TRUE : FALSE);
}

bool CKVXContainer::InvalidateContainerWnd(bool erase, bool update_now) {
  if (GetSafeHwnd() == nullptr) return false;
  Invalidate(erase ? TRUE : FALSE);
  if (update_now) UpdateWindow();
  return true;
}

void CKVXContainer::GetWndRect(int id, bool screen, int& x, int& y, int& cx, int& cy) const {
  const orbe::KvxWidget* widget = GetWnd(id);
  if (widget == nullptr) return;
  // A framed grid's place is its frame's.
  const auto frame = frames_.find(id);
  const CWnd& placed = frame != frames_.end() ? static_cast<const CWnd&>(*frame->second) : *widget;
  const RECT rect = ScreenRect(placed);
  const RECT origin = screen ? RECT{} : ScreenRect(*this);
  x = rect.left - origin.left;
  y = rect.top - origin.top;
  cx = rect.right - rect.left;
  cy = rect.bottom - rect.top;
}

void CKVXContainer::GetContainerSize(int& cx, int& cy) const {
  RECT client{};
  GetClientRect(&client);
  cx = client.right - client.left;
  cy = client.bottom - client.top;
}

void CKVXContainer::GetScrollPos32(int& x, int& y) const {
  x = scroll_.x;
  y = scroll_.y;
}

void CKVXContainer::ScrollChildren(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  const RECT origin = ScreenRect(*this);
  const auto shift = [&](CWnd& window) {
    const RECT rect = ScreenRect(window);
    window.MoveWindow(rect.left - origin.left - dx, rect.top - origin.top - dy, rect.right - rect.left,
                      rect.bottom - rect.top);
  };
  // Framed grids follow their frames; the navigation strip stays in place.
  for (auto& [id, widget] : widgets_) {
    if (frames_.count(id) == 0) shift(*widget);
  }
  for (auto& [id, frame] : frames_) shift(*frame);
}

void CKVXContainer::SetScrollPos32(int x, int y) {
  RefreshScrollWnd();
  int cx = 0, cy = 0;
  GetContainerSize(cx, cy);
  const POINT target{std::clamp(x, 0, std::max(0, static_cast<int>(scroll_range_.cx) - cx)),
                     std::clamp(y, 0, std::max(0, static_cast<int>(scroll_range_.cy) - cy))};
  ScrollChildren(target.x - scroll_.x, target.y - scroll_.y);
  scroll_ = target;
}

void CKVXContainer::RefreshScrollWnd() {
  const RECT origin = ScreenRect(*this);
  LONG right = 0, bottom = 0;
  for (const auto& [id, widget] : widgets_) {
    if ((widget->GetStyle() & WS_VISIBLE) == 0 || widget->IsTooltip()) continue;
    const auto frame = frames_.find(id);
    const RECT rect = ScreenRect(frame != frames_.end() ? static_cast<const CWnd&>(*frame->second) : *widget);
    right = std::max(right, rect.right - origin.left + scroll_.x);
    bottom = std::max(bottom, rect.bottom - origin.top + scroll_.y);
  }
  scroll_range_ = SIZE{right, bottom > 0 ? bottom + bottom_interval_ : 0};
  int cx = 0, cy = 0;
  GetContainerSize(cx, cy);
  const POINT clamped{std::clamp(static_cast<int>(scroll_.x), 0, std::max(0, static_cast<int>(scroll_range_.cx) - cx)),
                      std::clamp(static_cast<int>(scroll_.y), 0, std::max(0, static_cast<int>(scroll_range_.cy) - cy))};
  ScrollChildren(clamped.x - scroll_.x, clamped.y - scroll_.y);
  scroll_ = clamped;
}

void CKVXContainer::GetMousePoint(int& x, int& y) const {
  x = mouse_.x;
  y = mouse_.y;
}

bool CKVXContainer::InitContainerMenu(const std::string& name, int style) {
  menu_.Init(name, style);
  return true;
}
bool CKVXContainer::AppendMenu(int menu, int item, const std::string& text, bool checked, bool disabled, bool radio,
                               int image) {
  return menu_.Append(menu, item, text, checked, disabled, radio, image);
}
bool CKVXContainer::AppendSeparator(int menu) { return menu_.AppendSeparator(menu); }
bool CKVXContainer::TrackPopupMenu(int x, int y, int flags) { return menu_.Track(x, y, flags); }
int CKVXContainer::AppendChildMenu(int menu, const std::string& text) { return menu_.AppendChild(menu, text); }
void CKVXContainer::SetDisplayMode(int mode) { menu_.SetDisplayMode(mode); }
void CKVXContainer::RadioMenuItem(int item, bool radio) { menu_.SetRadioItem(item, radio); }
bool CKVXContainer::CheckMenuItem(int item, bool checked) { return menu_.CheckItem(item, checked); }
bool CKVXContainer::CheckMenuRadioItem(int first, int last, int item) {
  return menu_.CheckRadioItem(first, last, item);
}
bool CKVXContainer::EnableMenuItem(int item, bool enable) { return menu_.EnableItem(item, enable); }
bool CKVXContainer::SetAlpha(int alpha) { return menu_.SetAlpha(alpha); }
bool CKVXContainer::SetSelectDisableMode(int mode) {
  menu_.SetSelectDisableMode(mode);
  return true;
}
bool CKVXContainer::SetMenuTitle(const std::string& title, int height) {
  if (height < 0) return false;
  menu_.SetTitle(title, height);
  return true;
}
bool CKVXContainer::SetMenuTitleColor(COLORREF text, COLORREF bk, COLORREF border) {
  menu_.SetTitleColor(text, bk, border);
  return true;
}
bool CKVXContainer::RemoveMenuTitle() { return menu_.RemoveTitle(); }
bool CKVXContainer::SetMenuText(int item, const std::string& text) { return menu_.SetItemText(item, text); }
bool CKVXContainer::SetMenuImg(int item, int image) { return menu_.SetItemImage(item, image); }

void CKVXContainer::SetContainerCursor(int resource) {
  const int id = resource & 0xFFFF;
  // Only the standard cursors exist here; an unknown resource keeps the
  // current cursor rather than leaving the container without one.
  HCURSOR cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(id)));
  if (cursor == nullptr) return;
  ::SetCursor(cursor);
  cursor_resource_ = id;
}

int CKVXContainer::AddLine(int x1, int y1, int x2, int y2, COLORREF color, int width, int style) {
  return drawing_.AddLine({x1, y1, x2, y2, color, width, style});
}
bool CKVXContainer::DeleteLine(int line) { return drawing_.DeleteLine(line); }
void CKVXContainer::ClearAllLine() { drawing_.ClearAllLine(); }
int CKVXContainer::AddBkRegion(int x, int y, int cx, int cy, COLORREF fill, COLORREF border, int border_width) {
  return drawing_.AddBkRegion(x, y, cx, cy, fill, border, border_width);
}
bool CKVXContainer::ReSetBKRegion(int region, int x, int y, int cx, int cy, COLORREF fill, COLORREF border,
                                  int border_width) {
  return drawing_.ResetBkRegion(region, x, y, cx, cy, fill, border, border_width);
}
bool CKVXContainer::DeleteBkRegion(int region) { return drawing_.DeleteBkRegion(region); }
void CKVXContainer::ClearAllBkRegion() { drawing_.ClearAllBkRegion(); }
int CKVXContainer::AddBkText(const std::string& text, int x, int y, int cx, int cy, const std::string& face, int size,
                             int weight, COLORREF color, COLORREF bk, int align, bool single_line) {
  return drawing_.AddBkText(text, x, y, cx, cy, FontOf(size, face, weight), color, bk, align, single_line);
}
bool CKVXContainer::DeleteBkText(int text) { return drawing_.DeleteBkText(text); }
void CKVXContainer::ClearAllBkText() { drawing_.ClearAllBkText(); }

void CKVXContainer::ScreenToClient32(int id, int screen_x, int screen_y, int& x, int& y) const {
  const CWnd* base = id == 0 ? static_cast<const CWnd*>(this) : GetWnd(id);
  if (base == nullptr) return;
  const RECT rect = ScreenRect(*base);
  x = screen_x - rect.left;
  y = screen_y - rect.top;
}

void CKVXContainer::ClientToScreen32(int id, int x, int y, int& screen_x, int& screen_y) const {
  const CWnd* base = id == 0 ? static_cast<const CWnd*>(this) : GetWnd(id);
  if (base == nullptr) return;
  const RECT rect = ScreenRect(*base);
  screen_x = x + rect.left;
  screen_y = y + rect.top;
}

void CKVXContainer::SetBkClr(COLORREF color) { SetBkColor(color); }
void CKVXContainer::SetBottomInterval(int pixels) { bottom_interval_ = std::max(pixels, 0); }

void CKVXContainer::SetFocusWnd(int id) {
  if (orbe::KvxWidget* widget = GetWnd(id)) widget->SetFocus();
}

void CKVXContainer::EnableContainerWindow(int id, bool enable) {
  if (orbe::KvxWidget* widget = GetWnd(id)) widget->EnableWindow(enable ? TRUE : FALSE);
}

bool CKVXContainer::SetWndTabList(const std::vector<int>& ids) {
  // Ids the container does not know, and repeats, have no place in the order.
  std::vector<int> order;
  std::set<int> seen;
  for (const int id : ids) {
    if (GetWnd(id) != nullptr && seen.insert(id).second) order.push_back(id);
  }
  tab_order_ = std::move(order);
  return true;
}

bool CKVXContainer::TabToNextWnd(bool backward) {
  if (tab_order_.empty()) return false;
  const CWnd* focus = CWnd::GetFocus();
  const auto at = std::find_if(tab_order_.begin(), tab_order_.end(),
                               [&](int id) { return GetWnd(id) != nullptr && GetWnd(id) == focus; });
  const int count = static_cast<int>(tab_order_.size());
  int index = at == tab_order_.end() ? (backward ? count : -1) : static_cast<int>(at - tab_order_.begin());
  for (int step = 0; step < count; ++step) {
    index = (index + (backward ? -1 : 1) + count) % count;
    orbe::KvxWidget* widget = GetWnd(tab_order_[static_cast<std::size_t>(index)]);
    if (widget != nullptr && widget->IsWindowEnabled() && widget->IsWindowVisible()) {
      widget->SetFocus();
      return true;
    }
  }
  return false;
}

BOOL CKVXContainer::PreTranslateMessage(MSG* msg) {
  if (msg == nullptr) return FALSE;
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB && !tab_order_.empty()) {
    return TabToNextWnd((GetKeyState(VK_SHIFT) & 0x8000) != 0) ? TRUE : FALSE;
  }
  if (msg->message >= WM_MOUSEMOVE && msg->message <= WM_RBUTTONDBLCLK) {
    const CWnd* target = CWnd::FromHandle(msg->hwnd);
    if (target != nullptr) {
      const RECT from = ScreenRect(*target), origin = ScreenRect(*this);
      mouse_ = POINT{static_cast<LONG>(static_cast<short>(LOWORD(msg->lParam))) + from.left - origin.left,
                     static_cast<LONG>(static_cast<short>(HIWORD(msg->lParam))) + from.top - origin.top};
    }
  }
  return FALSE;
}

void CKVXContainer::OpenFile(const std::string& path) {
  ShellExecuteA(GetSafeHwnd(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

CKvxNavigateBar* CKVXContainer::Navigator() {
  if (navigate_ == nullptr && GetSafeHwnd() != nullptr) {
    auto bar = std::make_unique<CKvxNavigateBar>();
    RECT client{};
    GetClientRect(&client);
    if (!bar->Create(this, RECT{0, 0, client.right - client.left, kNavigateHeight}, 0, WS_CHILD)) return nullptr;
    bar->SetEntryAction([this](int title_id) { ScrollToTitle(title_id); });
    navigate_ = std::move(bar);
    RefreshNavigate();
  }
  return navigate_.get();
}

void CKVXContainer::EnableNavigate(bool enable) {
  if (CKvxNavigateBar* bar = Navigator()) bar->ShowWindow(enable ? SW_SHOW : SW_HIDE);
}

void CKVXContainer::RefreshNavigate() {
  if (navigate_ == nullptr) return;
  std::vector<std::pair<int, const CKvxTitle*>> titles;
  for (const auto& [id, widget] : widgets_) {
    const auto* title = dynamic_cast<const CKvxTitle*>(widget.get());
    if (title != nullptr && title->IsAppendNavigate()) titles.emplace_back(id, title);
  }
  // By their order, the unordered (-1) last, then by id.
  std::stable_sort(titles.begin(), titles.end(), [](const auto& a, const auto& b) {
    const int x = a.second->GetNavigateOrder(), y = b.second->GetNavigateOrder();
    if ((x < 0) != (y < 0)) return y < 0;
    return x < y;
  });
  std::vector<std::pair<int, std::string>> entries;
  for (const auto& [id, title] : titles) {
    CString text;
    title->GetWindowText(text);
    entries.emplace_back(id, text);
  }
  navigate_->SetEntries(entries);
}

bool CKVXContainer::ScrollToTitle(int title_id) {
  const orbe::KvxWidget* title = GetWnd(title_id);
  if (title == nullptr) return false;
  const RECT rect = ScreenRect(*title), origin = ScreenRect(*this);
  // Below the strip when it shows.
  const int strip = navigate_ != nullptr && navigate_->IsWindowVisible() ? kNavigateHeight : 0;
  SetScrollPos32(scroll_.x, rect.top - origin.top + scroll_.y - strip);
  if (navigate_ != nullptr) {
    const auto& ids = navigate_->GetTitleIds();
    const auto at = std::find(ids.begin(), ids.end(), title_id);
    if (at != ids.end()) navigate_->SetCurLabel(static_cast<int>(at - ids.begin()));
  }
  return true;
}

void CKVXContainer::Navigate_ShowWnd(int x, int y, int cx, int cy) {
  CKvxNavigateBar* bar = Navigator();
  if (bar == nullptr) return;
  bar->MoveWindow(x, y, std::max(cx, 0), std::max(cy, 0));
  bar->ShowWindow(SW_SHOW);
}

void CKVXContainer::Navigate_SetFontColorSchema(int size, int weight, COLORREF text, COLORREF bk,
                                                COLORREF current_text, COLORREF current_bk, COLORREF hover_text,
                                                COLORREF hover_bk, COLORREF border, COLORREF background,
                                                const std::string& face) {
  if (CKvxNavigateBar* bar = Navigator()) {
    bar->SetFontColorSchema(
        {size, weight, text, bk, current_text, current_bk, hover_text, hover_bk, border, background, face});
  }
}

void CKVXContainer::Navigate_SetStyle(int style) {
  if (CKvxNavigateBar* bar = Navigator()) bar->SetStyle(style);
}
