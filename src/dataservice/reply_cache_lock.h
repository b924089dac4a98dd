// The module-wide lock around the reply cache: handles store and load from
// engine threads and window threads alike.
#ifndef ORBE_DATASERVICE_REPLY_CACHE_LOCK_H_
#define ORBE_DATASERVICE_REPLY_CACHE_LOCK_H_

#include <mutex>

namespace orbe {

std::mutex& ReplyCacheLock();

}  // namespace orbe

#endif  // ORBE_DATASERVICE_REPLY_CACHE_LOCK_H_
