#include "orbe/platform/window.h"

#include <algorithm>
#include <memory>

#include "orbe/platform/window_class.h"
#include "platform/message_queue.h"
#include "platform/window_class_registry.h"
#include "platform/window_dispatch.h"
#include "platform/window_table.h"

namespace {

// The focus belongs to a thread, as the platform's keyboard input does.
thread_local HWND focus_window = nullptr;

WPARAM HandleParam(HWND hwnd) { return reinterpret_cast<WPARAM>(hwnd); }
HWND ParamHandle(WPARAM value) { return reinterpret_cast<HWND>(value); }

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

LPARAM SizeParam(const RECT& rect) {
  return MAKELPARAM(static_cast<WORD>(Width(rect)), static_cast<WORD>(Height(rect)));
}

// A window never has a negative extent.
RECT Normalized(const RECT& rect) {
  RECT result = rect;
  result.right = std::max(result.right, result.left);
  result.bottom = std::max(result.bottom, result.top);
  return result;
}

}  // namespace

// One running modal loop. It lives on the loop's stack, so that the loop
// never reads a window object that a handler has deleted.
struct CWnd::ModalFrame {
  bool running = true;
  int result = -1;
  ModalFrame* outer = nullptr;
};

CWnd::~CWnd() {
  if (m_hWnd != nullptr && !DestroyWindow()) ForgetWindow();
}

BOOL CWnd::Create(CWnd* parent, const RECT& rect, UINT id, DWORD style) {
  if (m_hWnd != nullptr) return FALSE;
  std::shared_ptr<orbe::MessageQueue> queue = orbe::MessageQueue::Current();
  if (parent != nullptr && !orbe::IsOwnWindow(parent->m_hWnd)) return FALSE;
  parent_ = parent != nullptr ? parent->m_hWnd : nullptr;
  children_.clear();
  rect_ = Normalized(rect);
  style_ = style;
  id_ = id;
  invalid_ = true;
  const HWND self = orbe::WindowTable::Instance().Add(this, std::move(queue));
  m_hWnd = self;
  if (parent != nullptr) parent->children_.push_back(self);
  if (SendMessage(WM_CREATE) == -1) {
    DestroyWindow();
    return FALSE;
  }
  ::SendMessage(self, WM_SIZE, SIZE_RESTORED, SizeParam(rect_));
  return IsWindow(self);
}

BOOL CWnd::Create(LPCSTR class_name, LPCSTR window_name, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id) {
  return CreateEx(0, class_name, window_name, style, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id) {
  if (m_hWnd != nullptr) return FALSE;
  std::string registered;
  if (class_name != nullptr && class_name[0] != '\0') {
    registered = orbe::RetainWindowClass(class_name);
    if (registered.empty()) return FALSE;
  }
  class_name_ = registered;
  ex_style_ = ex_style;
  text_ = window_name != nullptr ? window_name : "";
  if (Create(parent, rect, id, style)) return TRUE;
  // A window that failed (or refused) creation holds no class any more.
  if (m_hWnd == nullptr && !class_name_.empty()) {
    orbe::ReleaseWindowClass(class_name_);
    class_name_.clear();
  }
  return FALSE;
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr || destroying_ || !orbe::IsOwnWindow(m_hWnd)) return FALSE;
  destroying_ = true;
  for (const HWND child : std::vector<HWND>(children_)) {
    if (CWnd* window = FromHandle(child)) window->DestroyWindow();
  }
  SendMessage(WM_DESTROY);
  ForgetWindow();
  destroying_ = false;
  // Last: the framework lets this delete the object.
  PostNcDestroy();
  return TRUE;
}

void CWnd::ForgetWindow() {
  const HWND self = m_hWnd;
  if (const auto record = orbe::WindowTable::Instance().Find(self)) record->queue->KillTimers(self);
  if (focus_window == self) focus_window = nullptr;
  if (CWnd* parent = FromHandle(parent_); parent != nullptr && orbe::IsOwnWindow(parent_)) {
    std::erase(parent->children_, self);
  }
  EndAllModalLoops();
  orbe::WindowTable::Instance().Remove(self);
  if (!class_name_.empty()) orbe::ReleaseWindowClass(class_name_);
  class_name_.clear();
  m_hWnd = nullptr;
  parent_ = nullptr;
  owner_ = nullptr;
  children_.clear();
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  const auto record = orbe::WindowTable::Instance().Find(hwnd);
  return record ? record->window : nullptr;
}

CWnd* CWnd::GetParent() const { return FromHandle(parent_); }

CWnd* CWnd::GetOwner() const { return FromHandle(owner_); }

void CWnd::SetOwner(CWnd* owner) { owner_ = owner != nullptr ? owner->m_hWnd : nullptr; }

CWnd* CWnd::GetDlgItem(int id) const {
  for (const HWND child : children_) {
    CWnd* window = FromHandle(child);
    if (window != nullptr && window->GetDlgCtrlID() == id) return window;
  }
  return nullptr;
}

void CWnd::MoveWindow(const RECT& rect, BOOL repaint) {
  if (m_hWnd == nullptr) return;
  rect_ = Normalized(rect);
  SendMessage(WM_SIZE, SIZE_RESTORED, SizeParam(rect_));
  if (repaint) Invalidate();
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  MoveWindow(RECT{x, y, x + width, y + height}, repaint);
}

void CWnd::GetClientRect(RECT* rect) const {
  *rect = RECT{0, 0, Width(rect_), Height(rect_)};
}

void CWnd::GetWindowRect(RECT* rect) const {
  *rect = rect_;
  // Without frames a parent's client area starts at its window origin.
  for (const CWnd* ancestor = GetParent(); ancestor != nullptr; ancestor = ancestor->GetParent()) {
    rect->left += ancestor->rect_.left;
    rect->right += ancestor->rect_.left;
    rect->top += ancestor->rect_.top;
    rect->bottom += ancestor->rect_.top;
  }
}

void CWnd::CenterWindow(CWnd* alternate_owner) {
  if (m_hWnd == nullptr) return;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const CWnd* owner = alternate_owner != nullptr ? alternate_owner : GetOwner();
  if (owner == nullptr) owner = GetParent();
  if (owner != nullptr) owner->GetWindowRect(&area);
  const LONG width = Width(rect_);
  const LONG height = Height(rect_);
  LONG left = area.left + (Width(area) - width) / 2;
  LONG top = area.top + (Height(area) - height) / 2;
  // A child is placed in its parent's client coordinates.
  if (const CWnd* parent = GetParent()) {
    RECT origin;
    parent->GetWindowRect(&origin);
    left -= origin.left;
    top -= origin.top;
  }
  MoveWindow(left, top, width, height);
}

BOOL CWnd::ShowWindow(int command) {
  const BOOL was_visible = (style_ & WS_VISIBLE) != 0;
  if (command == SW_HIDE) {
    style_ &= ~WS_VISIBLE;
  } else {
    style_ |= WS_VISIBLE;
  }
  const BOOL visible = (style_ & WS_VISIBLE) != 0;
  if (m_hWnd != nullptr && visible != was_visible) SendMessage(WM_SHOWWINDOW, visible, 0);
  return was_visible;
}

BOOL CWnd::IsWindowVisible() const {
  if (m_hWnd == nullptr) return FALSE;
  for (const CWnd* window = this; window != nullptr; window = window->GetParent()) {
    if ((window->style_ & WS_VISIBLE) == 0) return FALSE;
  }
  return TRUE;
}

BOOL CWnd::EnableWindow(BOOL enable) {
  const BOOL was_disabled = (style_ & WS_DISABLED) != 0;
  if (enable) {
    style_ &= ~WS_DISABLED;
  } else {
    style_ |= WS_DISABLED;
  }
  if (m_hWnd != nullptr && was_disabled != !enable) SendMessage(WM_ENABLE, enable ? TRUE : FALSE);
  return was_disabled;
}

BOOL CWnd::IsWindowEnabled() const { return m_hWnd != nullptr && (style_ & WS_DISABLED) == 0; }

BOOL CWnd::PostMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::PostMessage(m_hWnd, message, wparam, lparam);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return ::SendMessage(m_hWnd, message, wparam, lparam);
}

int CWnd::RunModalLoop(DWORD /*flags*/) {
  if (m_hWnd == nullptr) return -1;
  ModalFrame frame;
  frame.outer = modal_frame_;
  modal_frame_ = &frame;
  orbe::MessageQueue& queue = *orbe::MessageQueue::Current();
  // Only the frame is read here: a handler may destroy and delete this window.
  while (frame.running && !queue.QuitCode()) {
    const auto now = orbe::MessageQueue::Clock::now();
    if (orbe::DispatchNext(queue, now) == orbe::DispatchResult::kIdle) {
      queue.WaitForWork(orbe::MessageQueue::Clock::time_point::max());
    }
  }
  // Still running means a quit ended the loop: the window is alive (its
  // destruction would have stopped the frame) and still points at the frame.
  if (frame.running) modal_frame_ = frame.outer;
  return frame.result;
}

void CWnd::EndModalLoop(int result) {
  ModalFrame* const frame = modal_frame_;
  if (frame == nullptr) return;
  frame->result = result;
  frame->running = false;
  modal_frame_ = frame->outer;
}

void CWnd::EndAllModalLoops() {
  for (ModalFrame* frame = modal_frame_; frame != nullptr; frame = frame->outer) frame->running = false;
  modal_frame_ = nullptr;
}

BOOL CWnd::ContinueModal() const { return modal_frame_ != nullptr && modal_frame_->running; }

CWnd* CWnd::SetFocus() {
  if (m_hWnd == nullptr) return nullptr;
  const HWND self = m_hWnd;
  const HWND old = focus_window;
  if (old == self) return this;
  if (IsWindow(old)) ::SendMessage(old, WM_KILLFOCUS, HandleParam(self), 0);
  if (!IsWindow(self)) return nullptr;  // a handler destroyed it
  focus_window = self;
  SendMessage(WM_SETFOCUS, HandleParam(old));
  return FromHandle(old);
}

CWnd* CWnd::GetFocus() { return FromHandle(focus_window); }

void CWnd::Invalidate(BOOL /*erase*/) { invalid_ = true; }

void CWnd::UpdateWindow() {
  if (m_hWnd == nullptr || !invalid_) return;
  invalid_ = false;
  SendMessage(WM_PAINT);
}

BOOL CWnd::GetUpdateRect(RECT* rect, BOOL /*erase*/) const {
  if (rect != nullptr) {
    if (invalid_) {
      GetClientRect(rect);
    } else {
      *rect = RECT{};
    }
  }
  return invalid_ ? TRUE : FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wparam), LOWORD(static_cast<std::uintptr_t>(lparam)),
             HIWORD(static_cast<std::uintptr_t>(lparam)));
      return 0;
    case WM_TIMER:
      OnTimer(wparam);
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_SETFOCUS:
      OnSetFocus(FromHandle(ParamHandle(wparam)));
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus(FromHandle(ParamHandle(wparam)));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    default:
      return DefWindowProc(message, wparam, lparam);
  }
}

LRESULT CWnd::DefWindowProc(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/) { return 0; }

BOOL IsWindow(HWND hwnd) { return orbe::WindowTable::Instance().Find(hwnd) ? TRUE : FALSE; }

BOOL DestroyWindow(HWND hwnd) {
  if (!orbe::IsOwnWindow(hwnd)) return FALSE;
  CWnd* const window = CWnd::FromHandle(hwnd);
  return window != nullptr ? window->DestroyWindow() : FALSE;
}
