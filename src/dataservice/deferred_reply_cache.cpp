#include "dataservice/deferred_reply_cache.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "dataservice/cache_write_thread.h"

namespace orbe {
namespace {

std::size_t BytesOf(const CwPacketList& packets) {
  std::size_t bytes = 0;
  for (const std::string& packet : packets) bytes += packet.size();
  return bytes;
}

bool IsKey(const char* key) { return key != nullptr && key[0] != '\0'; }

}  // namespace

DeferredReplyCache::DeferredReplyCache(CachePtr component, const DeferredWritePolicy& policy)
    : component_(std::move(component)), policy_(policy) {}

DeferredReplyCache::~DeferredReplyCache() {
  bool scheduled = false;
  {
    const std::lock_guard<std::mutex> hold(queue_mutex_);
    scheduled = ever_scheduled_;
  }
  if (scheduled) ForgetCacheWrites(this);
  WriteQueued();
}

bool DeferredReplyCache::Store(const char* key, const CwPacketList& packets, std::int64_t timeStamp) {
  return IsKey(key) && Queue(key, packets, timeStamp);
}

bool DeferredReplyCache::Queue(std::string key, CwPacketList packets, std::int64_t timeStamp) {
  if (key.empty()) return false;
  const std::size_t bytes = BytesOf(packets);
  auto entry = std::make_shared<Queued>(Queued{std::move(packets), timeStamp, bytes});
  bool over_bound = false;
  bool first = false;
  {
    const std::lock_guard<std::mutex> hold(queue_mutex_);
    const Clock::time_point now = Clock::now();
    first = queued_.empty();
    if (first) oldest_store_ = now;
    last_store_ = now;
    QueuedPtr& slot = queued_[std::move(key)];
    if (slot != nullptr) queued_bytes_ -= slot->bytes;
    queued_bytes_ += entry->bytes;
    slot = std::move(entry);
    over_bound = queued_bytes_ > policy_.most_bytes;
    ever_scheduled_ = ever_scheduled_ || first;
  }
  // The writing thread is told only when the queue fills: a later store
  // just moves the deadline, which the thread reads when it wakes, so a
  // burst of replies costs the thread storing them no wake-ups.
  if (first) ScheduleCacheWrite(this);
  if (over_bound) WriteQueued();
  return true;
}

std::int64_t DeferredReplyCache::GetTimeStamp(const char* key) {
  if (!IsKey(key)) return -1;
  if (const QueuedPtr queued = FindQueued(key)) return queued->stamp;
  const std::lock_guard<std::mutex> hold(component_mutex_);
  return component_->GetTimeStamp(key);
}

bool DeferredReplyCache::Load(const char* key, CwPacketList& packets) {
  if (!IsKey(key)) return false;
  if (const QueuedPtr queued = FindQueued(key)) {
    packets = queued->packets;
    return true;
  }
  const std::lock_guard<std::mutex> hold(component_mutex_);
  return component_->Load(key, packets);
}

bool DeferredReplyCache::IsUsable(const char* key) {
  if (!IsKey(key)) return false;
  const std::lock_guard<std::mutex> hold(component_mutex_);
  // The rule counts from the store, which the component keeps; a queued
  // entry is written first so that the component can tell.
  if (const QueuedPtr queued = FindQueued(key)) WriteIfQueuedLocked(key, queued);
  return component_->IsUsable(key);
}

void DeferredReplyCache::Maintain() {
  WriteQueued();
  const std::lock_guard<std::mutex> hold(component_mutex_);
  component_->Maintain();
}

void DeferredReplyCache::SaveState() {
  WriteQueued();
  const std::lock_guard<std::mutex> hold(component_mutex_);
  component_->SaveState();
}

bool DeferredReplyCache::Save(const char* key, const CwPacketList& packets, std::int64_t timeStamp) {
  if (!IsKey(key)) return false;
  const std::lock_guard<std::mutex> hold(component_mutex_);
  // A queued older reply of the key must not be written over this one.
  DropQueued(key);
  return component_->Save(key, packets, timeStamp);
}

void DeferredReplyCache::WriteQueued() {
  std::vector<std::pair<std::string, QueuedPtr>> due;
  {
    const std::lock_guard<std::mutex> hold(queue_mutex_);
    due.assign(queued_.begin(), queued_.end());
  }
  // One entry at a time, so that a reader waits for one write at most.
  for (const auto& [key, entry] : due) {
    const std::lock_guard<std::mutex> hold(component_mutex_);
    WriteIfQueuedLocked(key, entry);
  }
}

DeferredReplyCache::QueuedPtr DeferredReplyCache::FindQueued(const std::string& key) {
  const std::lock_guard<std::mutex> hold(queue_mutex_);
  const auto found = queued_.find(key);
  return found != queued_.end() ? found->second : nullptr;
}

void DeferredReplyCache::WriteIfQueuedLocked(const std::string& key, const QueuedPtr& expected) {
  // Replaced or dropped since it was picked: the newer one is written in its
  // turn, a dropped one was superseded by a direct save.
  if (FindQueued(key) != expected) return;
  component_->Store(key.c_str(), expected->packets, expected->stamp);
  // Left in the queue until written, so that a reader never falls between
  // the queue and the file.
  const std::lock_guard<std::mutex> hold(queue_mutex_);
  const auto found = queued_.find(key);
  if (found != queued_.end() && found->second == expected) {
    queued_bytes_ -= expected->bytes;
    queued_.erase(found);
  }
}

void DeferredReplyCache::DropQueued(const std::string& key) {
  const std::lock_guard<std::mutex> hold(queue_mutex_);
  const auto found = queued_.find(key);
  if (found == queued_.end()) return;
  queued_bytes_ -= found->second->bytes;
  queued_.erase(found);
}

std::optional<DeferredReplyCache::Clock::time_point> DeferredReplyCache::WriteDueAt() {
  const std::lock_guard<std::mutex> hold(queue_mutex_);
  if (queued_.empty()) return std::nullopt;
  return std::min(last_store_ + policy_.pause, oldest_store_ + policy_.longest_wait);
}

}  // namespace orbe
