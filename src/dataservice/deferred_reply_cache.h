// The session's reply cache as the module sees it: the cache component's
// instance behind a write-behind queue. A stored reply is kept in memory and
// served from there at once; the module's cache writing thread writes it to
// the component when stores have paused, so that writing the cache file
// never delays a window waiting for its next reply.
#ifndef ORBE_DATASERVICE_DEFERRED_REPLY_CACHE_H_
#define ORBE_DATASERVICE_DEFERRED_REPLY_CACHE_H_

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "protocol/component_entry_points.h"
#include "protocol/cw_cache.h"

namespace orbe {

// When queued stores are written. Writing waits for a pause in the stores,
// but never longer than `longest_wait` after the oldest unwritten one; more
// than `most_bytes` unwritten are written at once by the store that passes it.
struct DeferredWritePolicy {
  std::chrono::milliseconds pause{20};
  std::chrono::milliseconds longest_wait{500};
  std::size_t most_bytes = 16u << 20;
};

class DeferredReplyCache final : public ITCwcache {
 public:
  using Clock = std::chrono::steady_clock;

  explicit DeferredReplyCache(CachePtr component, const DeferredWritePolicy& policy = {});
  // Writes what is queued, then releases the component's instance.
  ~DeferredReplyCache() override;
  DeferredReplyCache(const DeferredReplyCache&) = delete;
  DeferredReplyCache& operator=(const DeferredReplyCache&) = delete;

  // Queued; the component refuses what it refuses (a reply over its size
  // bound) when the entry is written.
  bool Store(const char* key, const CwPacketList& packets, std::int64_t timeStamp) override;
  std::int64_t GetTimeStamp(const char* key) override;
  bool Load(const char* key, CwPacketList& packets) override;
  // The component's rule, asked after a queued entry of the key is written.
  bool IsUsable(const char* key) override;
  void Maintain() override;
  void SaveState() override;
  // Written at once: its caller is told whether the component kept it.
  bool Save(const char* key, const CwPacketList& packets, std::int64_t timeStamp) override;

  // Store for a caller that hands its copy over.
  bool Queue(std::string key, CwPacketList packets, std::int64_t timeStamp);
  // Writes every entry queued when it is called before it returns.
  void WriteQueued();
  // When the queue is due to be written; nullopt when it is empty.
  std::optional<Clock::time_point> WriteDueAt();

 private:
  struct Queued {
    CwPacketList packets;
    std::int64_t stamp = 0;
    std::size_t bytes = 0;
  };
  using QueuedPtr = std::shared_ptr<const Queued>;

  QueuedPtr FindQueued(const std::string& key);
  // Writes the entry of `key` if it is still the queued one; holds
  // component_mutex_.
  void WriteIfQueuedLocked(const std::string& key, const QueuedPtr& expected);
  void DropQueued(const std::string& key);

  const CachePtr component_;
  const DeferredWritePolicy policy_;
  // Every call of the component, so that a queued write never races a
  // direct one; taken before queue_mutex_.
  std::mutex component_mutex_;
  std::mutex queue_mutex_;
  std::map<std::string, QueuedPtr> queued_;
  std::size_t queued_bytes_ = 0;
  Clock::time_point last_store_{};
  Clock::time_point oldest_store_{};
  // Whether the writing thread was ever told of this cache.
  bool ever_scheduled_ = false;
};

}  // namespace orbe

#endif  // ORBE_DATASERVICE_DEFERRED_REPLY_CACHE_H_
