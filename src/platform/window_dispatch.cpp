#include "platform/window_dispatch.h"

#include "orbe/platform/sync.h"
#include "platform/window_table.h"

namespace orbe {
namespace {

// Answers a sender even when the window procedure throws, so that no thread
// is left waiting for ever.
class CompletionGuard {
 public:
  explicit CompletionGuard(SentMessage* sent) : sent_(sent) {}
  ~CompletionGuard() {
    if (sent_ != nullptr) MessageQueue::Complete(*sent_, result_);
  }
  CompletionGuard(const CompletionGuard&) = delete;
  CompletionGuard& operator=(const CompletionGuard&) = delete;
  LRESULT* result() { return &result_; }

 private:
  SentMessage* sent_;
  LRESULT result_ = 0;
};

// Offers a queued message to PreTranslateMessage of the target and then of
// each ancestor. A handler may destroy windows, so every step starts again
// from a handle.
bool PreTranslated(const WindowMessage& message) {
  MSG msg;
  msg.hwnd = message.hwnd;
  msg.message = message.message;
  msg.wParam = message.wparam;
  msg.lParam = message.lparam;
  msg.time = GetTickCount();
  for (HWND hwnd = message.hwnd; hwnd != nullptr;) {
    if (!IsOwnWindow(hwnd)) return false;
    CWnd* const window = CWnd::FromHandle(hwnd);
    if (window == nullptr) return false;
    const CWnd* const parent = window->GetParent();
    const HWND next = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    if (window->PreTranslateMessage(&msg)) return true;
    hwnd = next;
  }
  return false;
}

}  // namespace

DispatchResult DeliverMessage(const WindowMessage& message, LRESULT* result) {
  *result = 0;
  const auto record = WindowTable::Instance().Find(message.hwnd);
  if (!record || record->queue != MessageQueue::Current()) return DispatchResult::kDropped;
  *result = WindowAccess::CallWindowProc(*record->window, message.message, message.wparam, message.lparam);
  return DispatchResult::kDelivered;
}

DispatchResult DispatchNext(MessageQueue& queue, MessageQueue::Clock::time_point timers_due_at,
                            bool sent_only) {
  const auto work = queue.Take(timers_due_at, sent_only);
  if (!work) return DispatchResult::kIdle;
  CompletionGuard completion(work->sent.get());
  if (work->kind != MessageQueue::WorkKind::kSent && PreTranslated(work->message)) {
    return DispatchResult::kDelivered;
  }
  return DeliverMessage(work->message, completion.result());
}

bool IsOwnWindow(HWND hwnd) {
  const auto record = WindowTable::Instance().Find(hwnd);
  return record && record->queue == MessageQueue::Current();
}

}  // namespace orbe
