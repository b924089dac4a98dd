// The limits of one cache directory, read from the optional "cachestore.ini"
// beside the cache file:
//   [Cache]
//   MaxKB=262144        size bound of the stored replies, enforced by maintenance
//   FreshSeconds=30     an entry stored this recently is used without asking the server
#ifndef ORBE_COMPONENTS_CACHE_CACHE_SETTINGS_H_
#define ORBE_COMPONENTS_CACHE_CACHE_SETTINGS_H_

#include <cstdint>
#include <string>

namespace orbe::cache {

inline constexpr char kSettingsFileName[] = "cachestore.ini";

struct CacheSettings {
  std::int64_t max_bytes = std::int64_t{256} << 20;
  std::int64_t fresh_ms = 30'000;  // 0: every use asks the server for the time stamp
};

// Defaults for a missing file or key; a non-positive size keeps the default,
// a negative freshness means 0.
CacheSettings ReadCacheSettings(const std::string& folder);

}  // namespace orbe::cache

#endif  // ORBE_COMPONENTS_CACHE_CACHE_SETTINGS_H_
