// The two entry points the module looks up by name. Nothing is thrown across
// them; instances are owned here, so a pointer that is not one of ours is
// ignored on release instead of freed.
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

#include "cache/cache_settings.h"
#include "cache/cache_store.h"
#include "cache/reply_cache.h"
#include "protocol/component_entry_points.h"

namespace {

using orbe::cache::ReplyCache;

struct Instances {
  std::mutex mutex;
  std::map<const ITCwcache*, std::unique_ptr<ReplyCache>> live;
};

// Never destroyed: a host or module releasing its cache while the process
// exits, before or after this library's own static objects go, still finds
// the registry, and a release is never a second one.
Instances& TheInstances() {
  alignas(Instances) static unsigned char storage[sizeof(Instances)];
  static Instances* const instances = new (storage) Instances();
  return *instances;
}

// What a release would write, written at exit for the caches still held:
// their recorded uses. They stay usable for whoever releases them later.
struct SaveAtExit {
  ~SaveAtExit() {
    Instances& instances = TheInstances();
    const std::lock_guard<std::mutex> hold(instances.mutex);
    for (const auto& [face, cache] : instances.live) cache->SaveState();
  }
};
SaveAtExit save_at_exit;

// "dir", "dir/" and "dir\" name the same folder; an empty text is the current one.
std::string FolderOf(const char* directory) {
  std::string folder = directory != nullptr ? directory : "";
  while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  if (folder.empty() && directory != nullptr && *directory != '\0') return "/";
  return (folder.empty() ? std::string(".") : folder) + "/";
}

}  // namespace

#define ORBE_EXPORT extern "C" __attribute__((visibility("default")))

ORBE_EXPORT ITCwcache* CreateTCwCacheInstance(const char* directory, int /*reserved1*/, int /*reserved2*/) {
  try {
    const std::string folder = FolderOf(directory);
    std::unique_ptr<orbe::cache::CacheStore> store = orbe::cache::CacheStore::Open(folder);
    if (store == nullptr) return nullptr;
    auto cache = std::make_unique<ReplyCache>(std::move(store), orbe::cache::ReadCacheSettings(folder));
    ITCwcache* face = cache.get();
    Instances& instances = TheInstances();
    const std::lock_guard<std::mutex> hold(instances.mutex);
    instances.live.emplace(face, std::move(cache));
    return face;
  } catch (...) {
    return nullptr;
  }
}

ORBE_EXPORT void DeleteTCwCacheInstance(ITCwcache* cache) {
  std::unique_ptr<ReplyCache> owned;
  {
    Instances& instances = TheInstances();
    const std::lock_guard<std::mutex> hold(instances.mutex);
    const auto found = instances.live.find(cache);
    if (found == instances.live.end()) return;
    owned = std::move(found->second);
    instances.live.erase(found);
  }
  // Released outside the lock: its last uses are written on the way out.
}
