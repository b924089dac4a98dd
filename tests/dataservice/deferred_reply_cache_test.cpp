// The write-behind reply cache over a component that records what reaches
// it: stores are served at once and written later, in the order that keeps
// the newest reply of each key.
#include "dataservice/deferred_reply_cache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using orbe::DeferredReplyCache;
using orbe::DeferredWritePolicy;

// A component keeping entries in memory; every call is logged as "call:key".
class RecordingComponent final : public ITCwcache {
 public:
  ~RecordingComponent() override = default;
  bool Store(const char* key, const CwPacketList& packets, std::int64_t stamp) override {
    return Keep("store", key, packets, stamp);
  }
  bool Save(const char* key, const CwPacketList& packets, std::int64_t stamp) override {
    return Keep("save", key, packets, stamp);
  }
  std::int64_t GetTimeStamp(const char* key) override {
    const std::lock_guard<std::mutex> hold(mutex_);
    const auto found = entries_.find(key);
    return found == entries_.end() ? -1 : found->second.second;
  }
  bool Load(const char* key, CwPacketList& packets) override {
    const std::lock_guard<std::mutex> hold(mutex_);
    log_.push_back(std::string("load:") + key);
    const auto found = entries_.find(key);
    if (found == entries_.end()) return false;
    packets = found->second.first;
    return true;
  }
  bool IsUsable(const char* key) override {
    const std::lock_guard<std::mutex> hold(mutex_);
    log_.push_back(std::string("usable:") + key);
    return entries_.count(key) != 0;
  }
  void Maintain() override { Log("maintain"); }
  void SaveState() override { Log("savestate"); }

  std::vector<std::string> Calls() {
    const std::lock_guard<std::mutex> hold(mutex_);
    return log_;
  }
  std::string Packet(const std::string& key) {
    const std::lock_guard<std::mutex> hold(mutex_);
    const auto found = entries_.find(key);
    return found == entries_.end() || found->second.first.empty() ? "" : found->second.first[0];
  }

 private:
  bool Keep(const char* call, const char* key, const CwPacketList& packets, std::int64_t stamp) {
    const std::lock_guard<std::mutex> hold(mutex_);
    log_.push_back(std::string(call) + ":" + key);
    entries_[key] = {packets, stamp};
    return true;
  }
  void Log(const char* call) {
    const std::lock_guard<std::mutex> hold(mutex_);
    log_.emplace_back(call);
  }

  std::mutex mutex_;
  std::vector<std::string> log_;
  std::map<std::string, std::pair<CwPacketList, std::int64_t>> entries_;
};

void DeleteRecording(ITCwcache* cache) { delete static_cast<RecordingComponent*>(cache); }

// The cache under test and a view of its component, which the cache owns.
struct Subject {
  explicit Subject(const DeferredWritePolicy& policy) {
    auto component = std::make_unique<RecordingComponent>();
    recorded = component.get();
    cache =
        std::make_unique<DeferredReplyCache>(orbe::CachePtr(component.release(), {DeleteRecording}), policy);
  }
  RecordingComponent* recorded = nullptr;
  std::unique_ptr<DeferredReplyCache> cache;
};

// Long enough that nothing is written on its own while a case runs.
DeferredWritePolicy NeverOnItsOwn() { return {std::chrono::hours(1), std::chrono::hours(1), 1u << 30}; }

std::vector<std::string> Only(const std::vector<std::string>& calls, const std::string& prefix) {
  std::vector<std::string> kept;
  for (const std::string& call : calls) {
    if (call.rfind(prefix, 0) == 0) kept.push_back(call);
  }
  return kept;
}

TEST(DeferredReplyCacheTest, QueuedStoresAreServedAtOnceAndWrittenInTheOrderThatKeepsTheNewest) {
  struct Case {
    const char* name;
    std::function<void(DeferredReplyCache&)> act;
    std::vector<std::string> stores_and_saves;  // what reached the component, in order
    std::string packet_of_k;                    // what the component holds for "k" at the end
  };
  const std::vector<Case> cases = {
      {"a store waits for the write", [](DeferredReplyCache&) {}, {"store:k"}, "v1"},
      {"a newer store replaces the queued one",
       [](DeferredReplyCache& c) { c.Store("k", {"v2"}, 2); },
       {"store:k"},
       "v2"},
      {"a direct save drops the queued store it supersedes",
       [](DeferredReplyCache& c) { c.Save("k", {"saved"}, 3); },
       {"save:k"},
       "saved"},
      {"the usable rule is asked after the queued entry is written",
       [](DeferredReplyCache& c) { EXPECT_TRUE(c.IsUsable("k")); },
       {"store:k"},
       "v1"},
      {"save state writes the queue first", [](DeferredReplyCache& c) { c.SaveState(); }, {"store:k"}, "v1"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    Subject subject(NeverOnItsOwn());
    DeferredReplyCache& cache = *subject.cache;
    ASSERT_TRUE(cache.Store("k", {"v1"}, 1));
    // Served from the queue; the component has not been asked.
    CwPacketList loaded;
    ASSERT_TRUE(cache.Load("k", loaded));
    EXPECT_EQ(loaded, CwPacketList{"v1"});
    EXPECT_EQ(cache.GetTimeStamp("k"), 1);
    EXPECT_TRUE(subject.recorded->Calls().empty());
    test.act(cache);
    cache.WriteQueued();
    EXPECT_FALSE(cache.WriteDueAt().has_value());
    const std::vector<std::string> calls = subject.recorded->Calls();
    std::vector<std::string> written = Only(calls, "store:");
    for (const std::string& save : Only(calls, "save:")) written.push_back(save);
    EXPECT_EQ(written, test.stores_and_saves);
    EXPECT_EQ(subject.recorded->Packet("k"), test.packet_of_k);
    // Written entries are read from the component.
    ASSERT_TRUE(cache.Load("k", loaded));
    EXPECT_EQ(loaded, CwPacketList{test.packet_of_k});
    EXPECT_EQ(Only(subject.recorded->Calls(), "load:").size(), 1u);
  }
}

TEST(DeferredReplyCacheTest, QueuedStoresReachTheComponentByThemselvesOrWhenTheCacheGoes) {
  {
    SCOPED_TRACE("after a pause in the stores");
    Subject subject({std::chrono::milliseconds(1), std::chrono::milliseconds(5), 1u << 30});
    ASSERT_TRUE(subject.cache->Store("a", {"x"}, 1));
    ASSERT_TRUE(subject.cache->Store("b", {"y"}, 2));
    for (int i = 0; i < 500 && subject.cache->WriteDueAt(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(subject.cache->WriteDueAt().has_value());
    EXPECT_EQ(Only(subject.recorded->Calls(), "store:"), (std::vector<std::string>{"store:a", "store:b"}));
  }
  {
    SCOPED_TRACE("past the bound of unwritten bytes");
    Subject subject({std::chrono::hours(1), std::chrono::hours(1), 4});
    ASSERT_TRUE(subject.cache->Store("a", {"123"}, 1));
    EXPECT_TRUE(subject.recorded->Calls().empty());
    ASSERT_TRUE(subject.cache->Store("b", {"45"}, 2));
    EXPECT_EQ(Only(subject.recorded->Calls(), "store:").size(), 2u);
  }
  {
    SCOPED_TRACE("when the cache is released");
    auto component = std::make_unique<RecordingComponent>();
    RecordingComponent* const recorded = component.get();
    // Kept alive past the cache: the cache's deleter is swapped for a no-op.
    {
      DeferredReplyCache cache(orbe::CachePtr(recorded, {[](ITCwcache*) {}}), NeverOnItsOwn());
      ASSERT_TRUE(cache.Store("a", {"x"}, 1));
    }
    EXPECT_EQ(Only(recorded->Calls(), "store:"), std::vector<std::string>{"store:a"});
  }
}

}  // namespace
