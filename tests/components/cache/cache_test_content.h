// Shared by the cache tests and their writer process: the real component
// loaded by name, and the packets every writer stores under each key, so a
// reader can tell byte for byte what a key must hold.
#ifndef ORBE_TESTS_CACHE_CACHE_TEST_CONTENT_H_
#define ORBE_TESTS_CACHE_CACHE_TEST_CONTENT_H_

#include <cstdint>
#include <cstdio>
#include <string>

#include "protocol/component_entry_points.h"
#include "orbe/platform/loader.h"

namespace orbe::testing {

// libFinCacheStore.so from the build's library folder, as the module finds it.
struct CacheComponent {
  CacheComponent()
      : library(LoadLibraryA("FinCacheStore.dll")),
        create(GetProcAddressAs<CreateTCwCacheInstanceProc>(library, "CreateTCwCacheInstance")),
        destroy(GetProcAddressAs<DeleteTCwCacheInstanceProc>(library, "DeleteTCwCacheInstance")) {}
  ~CacheComponent() { FreeLibrary(library); }
  CacheComponent(const CacheComponent&) = delete;
  CacheComponent& operator=(const CacheComponent&) = delete;

  bool Loaded() const { return create != nullptr && destroy != nullptr; }

  HMODULE library;
  CreateTCwCacheInstanceProc create;
  DeleteTCwCacheInstanceProc destroy;
};

// 32 upper-case hexadecimal digits, the shape of the module's keys.
inline std::string CacheTestKey(int writer, int index) {
  char key[40];
  std::snprintf(key, sizeof(key), "%08X%08X%016X", 0xCAC4E000u + static_cast<unsigned>(writer),
                static_cast<unsigned>(index), 0x5EEDu);
  return key;
}

inline std::int64_t CacheTestStamp(int writer, int index) {
  return std::int64_t{20240105093000} + writer * 1'000'000 + index;
}

// One to four packets of 0 to 1 999 bytes, every byte value included (NULs too).
inline CwPacketList CacheTestPackets(int writer, int index) {
  std::uint32_t state = static_cast<std::uint32_t>(writer) * 2654435761u ^ static_cast<std::uint32_t>(index);
  const auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  CwPacketList packets(1 + next() % 4);
  for (std::string& packet : packets) {
    packet.resize(next() % 2000);
    for (char& byte : packet) byte = static_cast<char>(next());
  }
  return packets;
}

}  // namespace orbe::testing

#endif  // ORBE_TESTS_CACHE_CACHE_TEST_CONTENT_H_
