#include "dataservice/reply_cache_lock.h"

namespace orbe {

std::mutex& ReplyCacheLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace orbe
