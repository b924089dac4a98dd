// What was made from a file (a parsed copy, a configuration read from it),
// kept by path while the file keeps its version (FileIdentity), for any
// thread. The least recently used entry goes first when it is full.
#ifndef ORBE_PLATFORM_FILE_VERSION_CACHE_H_
#define ORBE_PLATFORM_FILE_VERSION_CACHE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>

#include "orbe/platform/file.h"

namespace orbe {

template <typename Value>
class FileVersionCache {
 public:
  explicit FileVersionCache(std::size_t capacity) : capacity_(capacity) {}

  // What was kept for exactly this version of the file; null otherwise.
  std::shared_ptr<const Value> Find(const std::string& path, const FileIdentity& identity) {
    const std::lock_guard hold(mutex_);
    const auto it = entries_.find(path);
    if (it == entries_.end() || !(it->second.identity == identity)) return nullptr;
    it->second.last_use = ++uses_;
    return it->second.value;
  }

  void Store(const std::string& path, const FileIdentity& identity, std::shared_ptr<const Value> value) {
    const std::lock_guard hold(mutex_);
    if (entries_.size() >= capacity_ && !entries_.contains(path)) EvictOldest();
    entries_[path] = Entry{identity, std::move(value), ++uses_};
  }

  void Forget(const std::string& path) {
    const std::lock_guard hold(mutex_);
    entries_.erase(path);
  }

  void Clear() {
    const std::lock_guard hold(mutex_);
    entries_.clear();
  }

 private:
  struct Entry {
    FileIdentity identity;
    std::shared_ptr<const Value> value;
    std::uint64_t last_use = 0;
  };

  void EvictOldest() {
    auto oldest = entries_.begin();
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
      if (it->second.last_use < oldest->second.last_use) oldest = it;
    if (oldest != entries_.end()) entries_.erase(oldest);
  }

  const std::size_t capacity_;
  std::mutex mutex_;
  std::unordered_map<std::string, Entry> entries_;
  std::uint64_t uses_ = 0;
};

}  // namespace orbe

#endif  // ORBE_PLATFORM_FILE_VERSION_CACHE_H_
