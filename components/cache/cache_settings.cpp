#include "cache/cache_settings.h"

#include <algorithm>

#include "orbe/platform/profile.h"

namespace orbe::cache {

CacheSettings ReadCacheSettings(const std::string& folder) {
  const std::string file = folder + kSettingsFileName;
  CacheSettings settings;
  const int max_kb = orbe::ProfileInt(file, "Cache", "MaxKB", 0);
  if (max_kb > 0) settings.max_bytes = std::int64_t{max_kb} * 1024;
  const int fresh_seconds = orbe::ProfileInt(file, "Cache", "FreshSeconds", 30);
  settings.fresh_ms = std::int64_t{std::max(fresh_seconds, 0)} * 1000;
  return settings;
}

}  // namespace orbe::cache
