#include "platform/window_dispatch.h"

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
  return DeliverMessage(work->message, completion.result());
}

bool IsOwnWindow(HWND hwnd) {
  const auto record = WindowTable::Instance().Find(hwnd);
  return record && record->queue == MessageQueue::Current();
}

}  // namespace orbe
