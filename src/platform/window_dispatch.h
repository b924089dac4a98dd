// Delivery of messages to window procedures, shared by the loops, SendMessage
// and the window class.
#ifndef ORBE_PLATFORM_WINDOW_DISPATCH_H_
#define ORBE_PLATFORM_WINDOW_DISPATCH_H_

#include "orbe/platform/window.h"
#include "platform/message_queue.h"

namespace orbe {

// The window procedure is protected, as in the framework; the layer reaches
// it through this door.
struct WindowAccess {
  static LRESULT CallWindowProc(CWnd& window, UINT message, WPARAM wparam, LPARAM lparam) {
    return window.WindowProc(message, wparam, lparam);
  }
};

enum class DispatchResult { kIdle, kDropped, kDelivered };

// Calls the procedure of a live window of the calling thread. kDropped for a
// destroyed or unknown window, or one of another thread.
DispatchResult DeliverMessage(const WindowMessage& message, LRESULT* result);

// Takes one piece of work from the calling thread's queue and delivers it;
// kIdle when there was none. Timers count as due at timers_due_at.
DispatchResult DispatchNext(MessageQueue& queue, MessageQueue::Clock::time_point timers_due_at,
                            bool sent_only = false);

// True when hwnd is a live window owned by the calling thread.
bool IsOwnWindow(HWND hwnd);

}  // namespace orbe

#endif  // ORBE_PLATFORM_WINDOW_DISPATCH_H_
