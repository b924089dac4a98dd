// What an engine's sessions share: one lock, the wake-up of the I/O thread,
// the stop flag and the bookkeeping that lets Stop, Quit and the queue resets
// wait for a callback in progress.
#ifndef ORBE_COMPONENTS_ENGINE_ENGINE_CORE_H_
#define ORBE_COMPONENTS_ENGINE_ENGINE_CORE_H_

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "engine_log.h"
#include "tcp_connection.h"

namespace orbe::engine {

using Clock = std::chrono::steady_clock;

struct EngineCore {
  std::mutex mutex;
  // Signalled when a callback ends, a request completes or a session closes.
  std::condition_variable changed;
  WakeSignal wake;
  // Set by Stop: no callback starts afterwards.
  std::atomic<bool> stopped{false};
  std::atomic<std::thread::id> io_thread{};

  // Guarded by `mutex`.
  int delivering = 0;  // callbacks running
  bool loop_running = false;
  Clock::duration time_out = std::chrono::seconds(6);

  bool OnIoThread() const { return std::this_thread::get_id() == io_thread.load(); }

  // Waits, with `lock` held on `mutex`, until no callback is running but
  // those the calling thread is inside (a callback calling back: a queue
  // reset delivers on its caller's thread). From the I/O thread itself there
  // is nothing to wait for.
  void WaitForCallbacks(std::unique_lock<std::mutex>& lock) {
    if (OnIoThread()) return;
    const int own = DeliveringHere();
    changed.wait(lock, [this, own] { return delivering == own; });
  }

  // Runs `call` with the lock released, unless the engine was stopped. The
  // caller has read everything the call needs under the lock.
  // Returns whether it ran.
  template <typename Call>
  bool Deliver(std::unique_lock<std::mutex>& lock, Call&& call) {
    if (stopped.load()) return false;
    ++delivering;
    deliveries_here.push_back(this);
    lock.unlock();
    try {
      call();
    } catch (...) {
      // A handle's fault must not end the I/O thread and with it every
      // session of the engine.
      LogLine("a reply handle threw; ignored");
    }
    lock.lock();
    deliveries_here.pop_back();
    --delivering;
    changed.notify_all();
    return true;
  }

 private:
  // The callbacks of this engine the calling thread is inside.
  int DeliveringHere() const {
    return static_cast<int>(std::count(deliveries_here.begin(), deliveries_here.end(), this));
  }
  // Cores whose callbacks run on this thread, innermost last.
  static inline thread_local std::vector<const EngineCore*> deliveries_here;
};

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_ENGINE_CORE_H_
