// Critical sections, a worker thread and the clock, shaped as the module
// expects them.
#ifndef ORBE_PLATFORM_SYNC_H_
#define ORBE_PLATFORM_SYNC_H_

#include <functional>
#include <mutex>
#include <thread>

#include "orbe/platform/types.h"

namespace orbe {

// A recursive lock, as a Win32 critical section is: the owning thread may
// enter again.
class CriticalSection {
 public:
  void Enter() { mutex_.lock(); }
  bool TryEnter() { return mutex_.try_lock(); }
  void Leave() { mutex_.unlock(); }
  // Lockable, so std::lock_guard and std::scoped_lock work.
  void lock() { Enter(); }
  void unlock() { Leave(); }
  bool try_lock() { return TryEnter(); }

 private:
  std::recursive_mutex mutex_;
};

// Holds a critical section for one scope.
class CriticalSectionLock {
 public:
  explicit CriticalSectionLock(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~CriticalSectionLock() { section_.Leave(); }
  CriticalSectionLock(const CriticalSectionLock&) = delete;
  CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

 private:
  CriticalSection& section_;
};

// A worker thread that is always joined: by Join() or by the destructor.
class WorkerThread {
 public:
  WorkerThread() = default;
  explicit WorkerThread(std::function<void()> body) : thread_(std::move(body)) {}
  ~WorkerThread() { Join(); }
  WorkerThread(WorkerThread&&) = default;
  WorkerThread& operator=(WorkerThread&& other) {
    Join();
    thread_ = std::move(other.thread_);
    return *this;
  }
  void Start(std::function<void()> body) {
    Join();
    thread_ = std::thread(std::move(body));
  }
  void Join() {
    if (thread_.joinable()) thread_.join();
  }
  bool Running() const { return thread_.joinable(); }

 private:
  std::thread thread_;
};

// While it lives, the thread that made it is background work: it keeps its
// fair share of the processors, but waking up never preempts the thread
// that is running (Linux's batch policy). A thread whose wake-ups are short
// hand-offs uses it, so that a request arriving does not put a person's
// interface thread aside on its processor while another one is idle.
class BackgroundWork {
 public:
  BackgroundWork();
  ~BackgroundWork();  // the thread's former policy again
  BackgroundWork(const BackgroundWork&) = delete;
  BackgroundWork& operator=(const BackgroundWork&) = delete;

 private:
  int former_policy_ = -1;  // -1: nothing was changed
  int former_priority_ = 0;
};

}  // namespace orbe

// Win32 C functions keep C linkage, so components may look them up by name.
extern "C" {

// Milliseconds since an arbitrary start, monotonic, wrapping as a DWORD.
DWORD GetTickCount();
// Milliseconds, 64-bit, monotonic.
std::uint64_t GetTickCount64();
void Sleep(DWORD milliseconds);

// Virtual key codes the module asks about.
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
// Key state: the high bit is set while the key is down. Without a GUI no key
// is ever down; a host with a keyboard may feed the state in.
short GetKeyState(int virtual_key);
short GetAsyncKeyState(int virtual_key);
// Lets a host with real keys report them; tests use it too.
void SetKeyDown(int virtual_key, bool down);

}  // extern "C"

#endif  // ORBE_PLATFORM_SYNC_H_
