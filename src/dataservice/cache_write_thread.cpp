#include "dataservice/cache_write_thread.h"

#include <pthread.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

#include "dataservice/deferred_reply_cache.h"

namespace orbe {
namespace {

using Clock = DeferredReplyCache::Clock;

class CacheWriteThread {
 public:
  CacheWriteThread() : thread_([this] { Run(); }) { thread_.detach(); }

  void Schedule(DeferredReplyCache* cache) {
    {
      const std::lock_guard<std::mutex> hold(mutex_);
      if (std::find(waiting_.begin(), waiting_.end(), cache) == waiting_.end()) waiting_.push_back(cache);
    }
    changed_.notify_one();
  }

  void Forget(DeferredReplyCache* cache) {
    std::unique_lock<std::mutex> hold(mutex_);
    waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), cache), waiting_.end());
    written_.wait(hold, [&] { return writing_ != cache; });
  }

 private:
  void Run() {
    pthread_setname_np(pthread_self(), "orbe-cachewrite");
    std::unique_lock<std::mutex> hold(mutex_);
    for (;;) {
      changed_.wait(hold, [this] { return !waiting_.empty(); });
      DeferredReplyCache* const due = TakeDue(hold);
      if (due == nullptr) continue;
      writing_ = due;
      hold.unlock();
      due->WriteQueued();
      hold.lock();
      // Stores that came while it was written wait for their own pause.
      if (due->WriteDueAt()) waiting_.push_back(due);
      writing_ = nullptr;
      written_.notify_all();
    }
  }

  // A cache whose queue is due, taken off the waiting list; or null after
  // waiting until the first deadline (or a change of the list).
  DeferredReplyCache* TakeDue(std::unique_lock<std::mutex>& hold) {
    const Clock::time_point now = Clock::now();
    std::optional<Clock::time_point> first;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
      const std::optional<Clock::time_point> at = (*it)->WriteDueAt();
      if (!at) {
        it = waiting_.erase(it);  // written meanwhile by its own session
        continue;
      }
      if (*at <= now) {
        DeferredReplyCache* const due = *it;
        waiting_.erase(it);
        return due;
      }
      first = first ? std::min(*first, *at) : *at;
      ++it;
    }
    if (first) changed_.wait_until(hold, *first);
    return nullptr;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::condition_variable written_;
  std::vector<DeferredReplyCache*> waiting_;
  DeferredReplyCache* writing_ = nullptr;
  std::thread thread_;
};

// Never destroyed: sessions held by a host's static objects may still go
// after this file's statics would have.
CacheWriteThread& TheThread() {
  alignas(CacheWriteThread) static unsigned char storage[sizeof(CacheWriteThread)];
  static CacheWriteThread* const thread = ::new (storage) CacheWriteThread;
  return *thread;
}

}  // namespace

void ScheduleCacheWrite(DeferredReplyCache* cache) { TheThread().Schedule(cache); }

void ForgetCacheWrites(DeferredReplyCache* cache) { TheThread().Forget(cache); }

}  // namespace orbe
