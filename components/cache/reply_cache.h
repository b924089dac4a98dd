// ITCwcache over the SQLite store of one cache directory. Last uses are kept
// in memory and written in one transaction on save state, maintenance,
// release, or when many have gathered, so that a load stays a pure read.
#ifndef ORBE_COMPONENTS_CACHE_REPLY_CACHE_H_
#define ORBE_COMPONENTS_CACHE_REPLY_CACHE_H_

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "cache/cache_settings.h"
#include "cache/cache_store.h"
#include "protocol/cw_cache.h"

namespace orbe::cache {

class ReplyCache final : public ITCwcache {
 public:
  ReplyCache(std::unique_ptr<CacheStore> store, const CacheSettings& settings);
  ~ReplyCache() override;
  ReplyCache(const ReplyCache&) = delete;
  ReplyCache& operator=(const ReplyCache&) = delete;

  bool Store(const char* key, const CwPacketList& packets, std::int64_t timeStamp) override;
  std::int64_t GetTimeStamp(const char* key) override;
  bool Load(const char* key, CwPacketList& packets) override;
  bool IsUsable(const char* key) override;
  void Maintain() override;
  void SaveState() override;
  bool Save(const char* key, const CwPacketList& packets, std::int64_t timeStamp) override;

 private:
  void FlushUses();  // under mutex_

  std::mutex mutex_;  // one connection: one caller at a time
  const std::unique_ptr<CacheStore> store_;
  const CacheSettings settings_;
  std::map<std::string, std::int64_t> pending_uses_;
};

}  // namespace orbe::cache

#endif  // ORBE_COMPONENTS_CACHE_REPLY_CACHE_H_
