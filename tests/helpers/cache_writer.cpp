// Child process of the cache tests: stores the known packets of its keys into
// a cache folder through the real component, reading each previous key back,
// and prints "stored <index>" once each store has returned.
//   cache_writer <folder> <writer> <first index> <count, 0 = until killed>
// Exit: 0 done, 1 bad use, 2 no component, 3 a store failed, 4 a read-back differed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "components/cache/cache_test_content.h"

namespace {

using orbe::testing::CacheTestKey;
using orbe::testing::CacheTestPackets;
using orbe::testing::CacheTestStamp;

int StoreKeys(ITCwcache& cache, int writer, int first, int count) {
  for (int index = first; count == 0 || index < first + count; ++index) {
    if (!cache.Store(CacheTestKey(writer, index).c_str(), CacheTestPackets(writer, index),
                     CacheTestStamp(writer, index))) {
      return 3;
    }
    std::printf("stored %d\n", index);
    std::fflush(stdout);
    CwPacketList loaded;
    const bool loaded_back = cache.Load(CacheTestKey(writer, index).c_str(), loaded);
    if (!loaded_back || loaded != CacheTestPackets(writer, index)) {
      return 4;
    }
    // Exercise the writes other processes contend with.
    if (index % 64 == 0) cache.SaveState();
    if (index % 128 == 0) cache.Maintain();
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: cache_writer <folder> <writer> <first index> <count>\n");
    return 1;
  }
  const orbe::testing::CacheComponent component;
  if (!component.Loaded()) return 2;
  ITCwcache* cache = component.create(argv[1], 0, 0);
  if (cache == nullptr) return 2;
  const int result = StoreKeys(*cache, std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]));
  component.destroy(cache);
  return result;
}
