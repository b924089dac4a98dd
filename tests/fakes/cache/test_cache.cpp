// A reply cache for tests, written against the public cache interface: keeps
// entries in memory and records what the module asked of it.
#include <map>
#include <utility>

#include "test_cache_control.h"
#include "protocol/component_entry_points.h"

namespace {

TestCacheControl g_control;

class TestCache : public ITCwcache {
 public:
  explicit TestCache(std::string directory) : directory_(std::move(directory)) {}
  ~TestCache() override = default;

  bool Store(const char* key, const CwPacketList& packets, std::int64_t timeStamp) override {
    entries_[key] = {packets, timeStamp};
    return true;
  }
  std::int64_t GetTimeStamp(const char* key) override {
    const auto found = entries_.find(key);
    return found == entries_.end() ? -1 : found->second.second;
  }
  bool Load(const char* key, CwPacketList& packets) override {
    const auto found = entries_.find(key);
    if (found == entries_.end()) return false;
    packets = found->second.first;
    return true;
  }
  bool IsUsable(const char* /*key*/) override { return false; }
  void Maintain() override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    g_control.maintained.push_back(directory_);
  }
  void SaveState() override {
    std::lock_guard<std::mutex> hold(g_control.mutex);
    g_control.saved_state.push_back(directory_);
  }
  bool Save(const char* key, const CwPacketList& packets, std::int64_t timeStamp) override {
    return Store(key, packets, timeStamp);
  }

 private:
  std::string directory_;
  std::map<std::string, std::pair<CwPacketList, std::int64_t>> entries_;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) TestCacheControl* TestCacheControlBlock() { return &g_control; }

__attribute__((visibility("default"))) ITCwcache* CreateTCwCacheInstance(const char* directory, int /*a*/,
                                                                          int /*b*/) {
  std::lock_guard<std::mutex> hold(g_control.mutex);
  ++g_control.alive;
  g_control.directories.push_back(directory != nullptr ? directory : "");
  return new TestCache(directory != nullptr ? directory : "");
}

__attribute__((visibility("default"))) void DeleteTCwCacheInstance(ITCwcache* cache) {
  if (cache == nullptr) return;
  delete static_cast<TestCache*>(cache);
  std::lock_guard<std::mutex> hold(g_control.mutex);
  --g_control.alive;
}

}  // extern "C"
