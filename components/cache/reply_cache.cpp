#include "cache/reply_cache.h"

#include <chrono>

#include "cache/packet_blob.h"

namespace orbe::cache {
namespace {

constexpr std::size_t kMaxPendingUses = 256;

// Wall clock, not a monotonic one: entries are compared across processes.
std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool IsKey(const char* key) { return key != nullptr && *key != '\0'; }

}  // namespace

ReplyCache::ReplyCache(std::unique_ptr<CacheStore> store, const CacheSettings& settings)
    : store_(std::move(store)), settings_(settings) {}

ReplyCache::~ReplyCache() {
  const std::lock_guard<std::mutex> hold(mutex_);
  FlushUses();
}

bool ReplyCache::Store(const char* key, const CwPacketList& packets, std::int64_t timeStamp) {
  if (!IsKey(key)) return false;
  const std::optional<std::string> blob = EncodePackets(packets);
  const std::lock_guard<std::mutex> hold(mutex_);
  pending_uses_.erase(key);
  // A reply that could never fit is not kept, and the older reply it
  // replaces must not be served in its place.
  if (!blob || static_cast<std::int64_t>(blob->size()) > settings_.max_bytes) {
    store_->Remove(key);
    return false;
  }
  return store_->Put(key, *blob, timeStamp, NowMs());
}

bool ReplyCache::Save(const char* key, const CwPacketList& packets, std::int64_t timeStamp) {
  return Store(key, packets, timeStamp);
}

std::int64_t ReplyCache::GetTimeStamp(const char* key) {
  if (!IsKey(key)) return -1;
  const std::lock_guard<std::mutex> hold(mutex_);
  const std::optional<EntryInfo> info = store_->Info(key);
  return info ? info->stamp : -1;
}

bool ReplyCache::Load(const char* key, CwPacketList& packets) {
  if (!IsKey(key)) return false;
  const std::lock_guard<std::mutex> hold(mutex_);
  const bool loaded =
      store_->ReadBlob(key, [&packets](std::string_view blob) { return DecodePackets(blob, packets); });
  if (!loaded) return false;
  pending_uses_[key] = NowMs();
  if (pending_uses_.size() >= kMaxPendingUses) FlushUses();
  return true;
}

bool ReplyCache::IsUsable(const char* key) {
  if (!IsKey(key) || settings_.fresh_ms <= 0) return false;
  const std::lock_guard<std::mutex> hold(mutex_);
  const std::optional<EntryInfo> info = store_->Info(key);
  if (!info || info->stamp < 0) return false;
  const std::int64_t age = NowMs() - info->stored_at_ms;
  // A negative age means the clock was set back since the store: the entry's
  // age is unknown, so it is not trusted.
  return age >= 0 && age < settings_.fresh_ms;
}

void ReplyCache::Maintain() {
  const std::lock_guard<std::mutex> hold(mutex_);
  FlushUses();
  store_->EvictTo(settings_.max_bytes);
}

void ReplyCache::SaveState() {
  const std::lock_guard<std::mutex> hold(mutex_);
  FlushUses();
}

void ReplyCache::FlushUses() {
  // Kept for a later try when the file is busy beyond the timeout.
  if (store_->RecordUses(pending_uses_)) pending_uses_.clear();
}

}  // namespace orbe::cache
