// The two freeze-store contents the crash test's writer alternates between.
#ifndef ORBE_TESTS_SCRIPT_FREEZE_CONTENT_H_
#define ORBE_TESTS_SCRIPT_FREEZE_CONTENT_H_

#include <string>

#include "orbe/script/freeze_store.h"

namespace orbe_test {

// `entries` keys in a few groups, every value marked with `mark`, about 100
// bytes an entry.
inline orbe::FreezeStore::Groups FreezeContent(char mark, int entries) {
  orbe::FreezeStore::Groups groups;
  for (int i = 0; i < entries; ++i) {
    groups["group" + std::to_string(i % 7)]["key" + std::to_string(i)] = std::string(80, mark) + std::to_string(i);
  }
  return groups;
}

inline void Fill(orbe::FreezeStore& store, const orbe::FreezeStore::Groups& groups) {
  store.Clear();
  for (const auto& [group, keys] : groups) {
    for (const auto& [key, value] : keys) store.Set(group, key, value);
  }
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SCRIPT_FREEZE_CONTENT_H_
