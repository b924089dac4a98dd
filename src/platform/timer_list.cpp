#include "platform/timer_list.h"

#include <algorithm>

namespace orbe {
namespace {

// The platform raises shorter intervals to this minimum as well, so that a
// zero interval cannot starve the loop.
constexpr UINT kMinimumIntervalMs = 10;

}  // namespace

std::vector<TimerList::Timer>::iterator TimerList::Find(HWND hwnd, UINT_PTR id) {
  return std::find_if(timers_.begin(), timers_.end(),
                      [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
}

void TimerList::Set(HWND hwnd, UINT_PTR id, UINT interval_ms, Clock::time_point now) {
  const Clock::duration interval = std::chrono::milliseconds(std::max(interval_ms, kMinimumIntervalMs));
  const auto it = Find(hwnd, id);
  if (it != timers_.end()) {
    it->interval = interval;
    it->due = now + interval;
    return;
  }
  timers_.push_back(Timer{hwnd, id, interval, now + interval});
}

bool TimerList::Kill(HWND hwnd, UINT_PTR id) {
  const auto it = Find(hwnd, id);
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void TimerList::KillAll(HWND hwnd) {
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

std::optional<TimerList::Tick> TimerList::TakeDue(Clock::time_point now) {
  const auto earliest = std::min_element(timers_.begin(), timers_.end(),
                                         [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (earliest == timers_.end() || earliest->due > now) return std::nullopt;
  earliest->due = now + earliest->interval;
  return Tick{earliest->hwnd, earliest->id};
}

std::optional<TimerList::Clock::time_point> TimerList::NextDue() const {
  const auto earliest = std::min_element(timers_.begin(), timers_.end(),
                                         [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (earliest == timers_.end()) return std::nullopt;
  return earliest->due;
}

}  // namespace orbe
