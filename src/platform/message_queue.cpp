#include "platform/message_queue.h"

#include <algorithm>
#include <utility>

namespace orbe {
namespace {

// Closes the thread's queue when the thread ends, so that nobody waits for
// an answer from a thread that is gone.
struct ThreadQueue {
  std::shared_ptr<MessageQueue> queue;
  ~ThreadQueue() {
    if (queue) queue->Close();
  }
};

thread_local ThreadQueue this_thread_queue;

}  // namespace

std::shared_ptr<MessageQueue> MessageQueue::Current() {
  if (!this_thread_queue.queue) this_thread_queue.queue = std::make_shared<MessageQueue>();
  return this_thread_queue.queue;
}

bool MessageQueue::Post(const WindowMessage& message) {
  {
    const std::lock_guard lock(mutex_);
    if (closed_) return false;
    posted_.push_back(message);
  }
  changed_.notify_one();
  return true;
}

bool MessageQueue::Send(const std::shared_ptr<SentMessage>& sent) {
  {
    const std::lock_guard lock(mutex_);
    if (closed_) return false;
    sent_.push_back(sent);
  }
  changed_.notify_one();
  return true;
}

void MessageQueue::Complete(SentMessage& sent, LRESULT result) {
  MessageQueue& sender = *sent.reply_to;
  {
    const std::lock_guard lock(sender.mutex_);
    sent.result = result;
    sent.done = true;
  }
  // All: the sender may wait inside a nested send as well as in its loop.
  sender.changed_.notify_all();
}

void MessageQueue::SetTimer(HWND hwnd, UINT_PTR id, UINT interval_ms) {
  {
    const std::lock_guard lock(mutex_);
    timers_.Set(hwnd, id, interval_ms, Clock::now());
  }
  // The owner may sleep towards a later deadline.
  changed_.notify_all();
}

bool MessageQueue::KillTimer(HWND hwnd, UINT_PTR id) {
  const std::lock_guard lock(mutex_);
  return timers_.Kill(hwnd, id);
}

void MessageQueue::KillTimers(HWND hwnd) {
  const std::lock_guard lock(mutex_);
  timers_.KillAll(hwnd);
}

std::optional<MessageQueue::Work> MessageQueue::Take(Clock::time_point timers_due_at, bool sent_only) {
  const std::lock_guard lock(mutex_);
  if (!sent_.empty()) {
    std::shared_ptr<SentMessage> sent = std::move(sent_.front());
    sent_.pop_front();
    const WindowMessage message = sent->message;
    return Work{WorkKind::kSent, message, std::move(sent)};
  }
  if (sent_only) return std::nullopt;
  if (!posted_.empty()) {
    const WindowMessage message = posted_.front();
    posted_.pop_front();
    return Work{WorkKind::kPosted, message, nullptr};
  }
  if (const auto tick = timers_.TakeDue(timers_due_at)) {
    return Work{WorkKind::kTimer, WindowMessage{tick->hwnd, WM_TIMER, tick->id, 0}, nullptr};
  }
  return std::nullopt;
}

bool MessageQueue::HasWorkLocked(Clock::time_point now) const {
  if (woken_ || closed_ || quit_code_ || !sent_.empty() || !posted_.empty()) return true;
  const auto due = timers_.NextDue();
  return due && *due <= now;
}

void MessageQueue::WaitForWork(Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  while (!HasWorkLocked(Clock::now())) {
    const Clock::time_point now = Clock::now();
    if (now >= deadline) break;
    // Capped so that a far deadline never overflows the clock arithmetic.
    Clock::time_point until = std::min(deadline, now + std::chrono::hours(1));
    if (const auto due = timers_.NextDue()) until = std::min(until, *due);
    changed_.wait_until(lock, until);
  }
  woken_ = false;
}

bool MessageQueue::WaitForReplyOrSent(const SentMessage& sent) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return sent.done || !sent_.empty(); });
  return sent.done;
}

void MessageQueue::Wake() {
  {
    const std::lock_guard lock(mutex_);
    woken_ = true;
  }
  changed_.notify_all();
}

void MessageQueue::PostQuit(int exit_code) {
  {
    const std::lock_guard lock(mutex_);
    quit_code_ = exit_code;
  }
  changed_.notify_all();
}

std::optional<int> MessageQueue::QuitCode() const {
  const std::lock_guard lock(mutex_);
  return quit_code_;
}

void MessageQueue::ClearQuit() {
  const std::lock_guard lock(mutex_);
  quit_code_.reset();
}

void MessageQueue::Close() {
  std::deque<std::shared_ptr<SentMessage>> abandoned;
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    abandoned.swap(sent_);
    posted_.clear();
  }
  for (const auto& sent : abandoned) Complete(*sent, 0);
}

}  // namespace orbe
