// The module's one thread that writes the reply caches' queued stores when
// they fall due, for every session's cache at once. It is started by the
// first store and lives as long as the process.
#ifndef ORBE_DATASERVICE_CACHE_WRITE_THREAD_H_
#define ORBE_DATASERVICE_CACHE_WRITE_THREAD_H_

namespace orbe {

class DeferredReplyCache;

// `cache` has just queued its first unwritten store.
void ScheduleCacheWrite(DeferredReplyCache* cache);
// `cache` is going: returns once the thread neither writes it nor will.
void ForgetCacheWrites(DeferredReplyCache* cache);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_CACHE_WRITE_THREAD_H_
