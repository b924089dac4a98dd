// The timers of one thread. Not locked: the thread's message queue guards it.
#ifndef ORBE_PLATFORM_TIMER_LIST_H_
#define ORBE_PLATFORM_TIMER_LIST_H_

#include <chrono>
#include <optional>
#include <vector>

#include "orbe/platform/window.h"

namespace orbe {

class TimerList {
 public:
  using Clock = std::chrono::steady_clock;

  struct Tick {
    HWND hwnd;
    UINT_PTR id;
  };

  // Adds a timer or restarts an existing one with the new interval.
  void Set(HWND hwnd, UINT_PTR id, UINT interval_ms, Clock::time_point now);
  bool Kill(HWND hwnd, UINT_PTR id);
  void KillAll(HWND hwnd);

  // The earliest timer due at `now`, rescheduled one interval after `now`:
  // missed ticks do not pile up.
  std::optional<Tick> TakeDue(Clock::time_point now);
  std::optional<Clock::time_point> NextDue() const;
  bool Empty() const { return timers_.empty(); }

 private:
  struct Timer {
    HWND hwnd;
    UINT_PTR id;
    Clock::duration interval;
    Clock::time_point due;
  };

  std::vector<Timer>::iterator Find(HWND hwnd, UINT_PTR id);

  // Few timers per thread: a vector scan beats a heap here.
  std::vector<Timer> timers_;
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_TIMER_LIST_H_
