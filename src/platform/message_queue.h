// The message queue of one thread: posted messages, messages sent to it by
// other threads, its timers and its quit request. Any thread may post or send
// into it; only the owner thread takes work out.
#ifndef ORBE_PLATFORM_MESSAGE_QUEUE_H_
#define ORBE_PLATFORM_MESSAGE_QUEUE_H_

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "orbe/platform/window.h"
#include "platform/timer_list.h"

namespace orbe {

class MessageQueue;

struct WindowMessage {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};

// A message sent from another thread. The sender waits on its own queue, so
// that it keeps answering messages sent to it meanwhile; completion is
// therefore signalled through the sender's queue.
struct SentMessage {
  WindowMessage message;
  std::shared_ptr<MessageQueue> reply_to;
  LRESULT result = 0;
  bool done = false;  // guarded by reply_to's lock
};

class MessageQueue {
 public:
  using Clock = std::chrono::steady_clock;

  enum class WorkKind { kSent, kPosted, kTimer };
  struct Work {
    WorkKind kind;
    WindowMessage message;
    std::shared_ptr<SentMessage> sent;  // for kSent
  };

  // The queue of the calling thread, created on first use and closed when the
  // thread ends.
  static std::shared_ptr<MessageQueue> Current();

  // False once the owner thread has ended.
  bool Post(const WindowMessage& message);
  bool Send(const std::shared_ptr<SentMessage>& sent);
  // Hands the result back to the sender and wakes it.
  static void Complete(SentMessage& sent, LRESULT result);

  void SetTimer(HWND hwnd, UINT_PTR id, UINT interval_ms);
  bool KillTimer(HWND hwnd, UINT_PTR id);
  void KillTimers(HWND hwnd);

  // The next piece of work, by priority: a sent message, a posted message, a
  // timer due at timers_due_at. Sent messages only, when sent_only.
  std::optional<Work> Take(Clock::time_point timers_due_at, bool sent_only = false);

  // Blocks until work may be available, Wake() was called or the deadline
  // passed. A due timer counts as work.
  void WaitForWork(Clock::time_point deadline);
  // Blocks until `sent` (sent by this thread) is done (true) or a message is
  // sent to this thread (false).
  bool WaitForReplyOrSent(const SentMessage& sent);
  // Ends the current or next WaitForWork early.
  void Wake();

  void PostQuit(int exit_code);
  std::optional<int> QuitCode() const;
  void ClearQuit();

  // Called when the owner thread ends: later posts and sends fail, and
  // senders still waiting get 0.
  void Close();

 private:
  bool HasWorkLocked(Clock::time_point now) const;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<WindowMessage> posted_;
  std::deque<std::shared_ptr<SentMessage>> sent_;
  TimerList timers_;
  std::optional<int> quit_code_;
  bool woken_ = false;
  bool closed_ = false;
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_MESSAGE_QUEUE_H_
