// The loops a host pumps on its user-interface thread.
#include <algorithm>
#include <chrono>

#include "orbe/platform/window.h"
#include "platform/message_queue.h"
#include "platform/window_dispatch.h"

namespace orbe {
namespace {

using Clock = MessageQueue::Clock;

// How long a pump sleeps at most before it looks at its condition again, for
// conditions that another thread changes without posting a message.
constexpr auto kConditionRecheck = std::chrono::milliseconds(10);

}  // namespace

std::size_t RunUntilIdle() {
  MessageQueue& queue = *MessageQueue::Current();
  // Fixed for the whole call: a timer whose handler outlasts its interval
  // must not keep this call from returning.
  const Clock::time_point now = Clock::now();
  std::size_t delivered = 0;
  for (;;) {
    const DispatchResult result = DispatchNext(queue, now);
    if (result == DispatchResult::kIdle) return delivered;
    if (result == DispatchResult::kDelivered) ++delivered;
  }
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  MessageQueue& queue = *MessageQueue::Current();
  const Clock::time_point deadline = timeout_ms == INFINITE
                                         ? Clock::time_point::max()
                                         : Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (condition()) return true;
    if (queue.QuitCode()) return false;
    const Clock::time_point now = Clock::now();
    if (DispatchNext(queue, now) != DispatchResult::kIdle) continue;
    if (now >= deadline) return condition();
    queue.WaitForWork(std::min(deadline, now + kConditionRecheck));
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

bool QuitPosted(int* exit_code) {
  const auto code = MessageQueue::Current()->QuitCode();
  if (code && exit_code != nullptr) *exit_code = *code;
  return code.has_value();
}

void ClearQuit() { MessageQueue::Current()->ClearQuit(); }

}  // namespace orbe

void PostQuitMessage(int exit_code) { orbe::MessageQueue::Current()->PostQuit(exit_code); }
