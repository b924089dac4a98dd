// Timers: WM_TIMER ticks that the owner thread's loop generates while it pumps.
#include "orbe/platform/window.h"
#include "platform/message_queue.h"
#include "platform/window_dispatch.h"

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse_ms, void* timer_proc) {
  // A timer procedure would be called with no window to route it; refuse it
  // rather than pretend.
  if (timer_proc != nullptr || !orbe::IsOwnWindow(hwnd)) return 0;
  orbe::MessageQueue::Current()->SetTimer(hwnd, id, elapse_ms);
  return id != 0 ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  if (!orbe::IsOwnWindow(hwnd)) return FALSE;
  return orbe::MessageQueue::Current()->KillTimer(hwnd, id) ? TRUE : FALSE;
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse_ms, void* timer_proc) {
  return ::SetTimer(m_hWnd, id, elapse_ms, timer_proc);
}

BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
