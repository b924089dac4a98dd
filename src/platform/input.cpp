// Keyboard and mouse input as a user makes it, and the desktop's size.
#include <atomic>

#include "orbe/platform/window.h"
#include "orbe/platform/window_class.h"

namespace orbe {
namespace {

std::atomic<int> desktop_width{1920};
std::atomic<int> desktop_height{1080};

LPARAM PointParam(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<std::int16_t>(x)), static_cast<WORD>(static_cast<std::int16_t>(y)));
}

bool HasDoubleClicks(HWND hwnd) {
  WindowClassLook look;
  return GetWindowClassLook(hwnd, &look) && (look.style & CS_DBLCLKS) != 0;
}

}  // namespace

void SetDesktopSize(int width, int height) {
  desktop_width = width > 0 ? width : 0;
  desktop_height = height > 0 ? height : 0;
}

BOOL PressKey(HWND hwnd, UINT virtual_key) {
  if (hwnd == nullptr) {
    const CWnd* focus = CWnd::GetFocus();
    if (focus == nullptr) return FALSE;
    hwnd = focus->GetSafeHwnd();
  }
  // Repeat count 1; the key-up carries the transition bits.
  if (!::PostMessage(hwnd, WM_KEYDOWN, virtual_key, 1)) return FALSE;
  return ::PostMessage(hwnd, WM_KEYUP, virtual_key, static_cast<LPARAM>(0xC0000001));
}

BOOL ClickMouse(HWND hwnd, int x, int y, MouseButton button, bool double_click) {
  const bool left = button == MouseButton::kLeft;
  const UINT down = left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
  const UINT up = left ? WM_LBUTTONUP : WM_RBUTTONUP;
  const UINT second = double_click && HasDoubleClicks(hwnd) ? (left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK) : down;
  const WPARAM held = left ? MK_LBUTTON : MK_RBUTTON;
  const LPARAM point = PointParam(x, y);
  if (!::PostMessage(hwnd, down, held, point) || !::PostMessage(hwnd, up, 0, point)) return FALSE;
  if (double_click && (!::PostMessage(hwnd, second, held, point) || !::PostMessage(hwnd, up, 0, point))) {
    return FALSE;
  }
  if (!left) {
    const CWnd* window = CWnd::FromHandle(hwnd);
    RECT origin{};
    if (window != nullptr) window->GetWindowRect(&origin);
    return ::PostMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                         PointParam(origin.left + x, origin.top + y));
  }
  return TRUE;
}

}  // namespace orbe

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return orbe::desktop_width;
    case SM_CYSCREEN: return orbe::desktop_height;
    default: return 0;
  }
}
