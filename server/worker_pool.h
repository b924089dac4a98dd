// A fixed set of threads that run tasks in the order they were handed in.
// Each task is told which worker runs it, so it can use that worker's own
// resources (its database connection) without locking.
#ifndef ORBE_SERVER_WORKER_POOL_H_
#define ORBE_SERVER_WORKER_POOL_H_

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orbe::server {

class WorkerPool {
 public:
  using Task = std::function<void(std::size_t worker)>;

  explicit WorkerPool(std::size_t workers);
  // Tasks not yet started are dropped; running ones finish first.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  void Submit(Task task);
  std::size_t Size() const { return threads_.size(); }
  // Some task waits for a worker: a task that could go on with more work
  // should hand it in instead, so that the waiting ones get their turn.
  bool HasWaiting();

 private:
  void Run(std::size_t worker);

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Task> tasks_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_WORKER_POOL_H_
