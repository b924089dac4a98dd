#include "worker_pool.h"

#include <pthread.h>

namespace orbe::server {

WorkerPool::WorkerPool(std::size_t workers) {
  threads_.reserve(workers);
  for (std::size_t i = 0; i < workers; ++i) threads_.emplace_back([this, i] { Run(i); });
}

WorkerPool::~WorkerPool() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
    tasks_.clear();
  }
  ready_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void WorkerPool::Submit(Task task) {
  {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  ready_.notify_one();
}

bool WorkerPool::HasWaiting() {
  const std::lock_guard lock(mutex_);
  return !tasks_.empty();
}

void WorkerPool::Run(std::size_t worker) {
  pthread_setname_np(pthread_self(), "ds-worker");
  for (;;) {
    Task task;
    {
      std::unique_lock lock(mutex_);
      ready_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
      if (stopping_) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task(worker);
  }
}

}  // namespace orbe::server
