// The process-wide slot of a handler that plays the user (message boxes,
// dialogs, menus, documents to open): replaceable from any thread, an empty
// function restoring the default, and read out under the lock so that the
// handler itself is called outside it.
#ifndef ORBE_PLATFORM_REPLACEABLE_HANDLER_H_
#define ORBE_PLATFORM_REPLACEABLE_HANDLER_H_

#include <mutex>
#include <utility>

namespace orbe {

template <typename Handler>
class ReplaceableHandler {
 public:
  explicit ReplaceableHandler(Handler fallback) : fallback_(fallback), handler_(std::move(fallback)) {}

  Handler Get() const {
    const std::lock_guard lock(mutex_);
    return handler_;
  }
  // Returns the previous handler.
  Handler Set(Handler handler) {
    if (!handler) handler = fallback_;
    const std::lock_guard lock(mutex_);
    return std::exchange(handler_, std::move(handler));
  }

 private:
  mutable std::mutex mutex_;
  const Handler fallback_;
  Handler handler_;
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_REPLACEABLE_HANDLER_H_
