// Test programs that need particular sibling components. The module loads its
// siblings when it is loaded, before main, so such a program starts itself
// again with ORBE_COMPONENT_DIR naming the folder of the test components; the
// module then loads them by their real names, as a host's module would.
#ifndef ORBE_TESTS_ENV_TEST_COMPONENTS_H_
#define ORBE_TESTS_ENV_TEST_COMPONENTS_H_

#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fakes/cache/test_cache_control.h"
#include "fakes/engine/test_engine_control.h"
#include "orbe/platform/loader.h"
#include "support/component_reexec.h"

namespace orbe_test {

// Variants: "full" (engine and cache), "nocache", "noengine".
inline bool RunWithTestComponents(const char* variant) {
  return RunWithComponentFolder(std::string(ORBE_TEST_LIB_DIR) + "/testcomponents/" + variant);
}

template <typename Block, typename Proc>
Block* ControlBlock(const char* library, const char* entry) {
  // The module holds the library; this lookup only borrows it.
  HMODULE module = LoadLibraryA(library);
  auto proc = GetProcAddressAs<Proc>(module, entry);
  Block* block = proc != nullptr ? proc() : nullptr;
  FreeLibrary(module);
  return block;
}

inline TestEngineControl* EngineControl() {
  return ControlBlock<TestEngineControl, TestEngineControlBlockProc>("FinDataComm.dll", "TestEngineControlBlock");
}

inline TestCacheControl* CacheControl() {
  return ControlBlock<TestCacheControl, TestCacheControlBlockProc>("FinCacheStore.dll", "TestCacheControlBlock");
}

// Threads of this process, to show that none outlives a test.
inline int ThreadCount() {
  int count = 0;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks)) {
      if (entry->d_name[0] != '.') ++count;
    }
    closedir(tasks);
  }
  return count;
}

// A fresh folder under the system's temporary folder, removed by the caller.
inline std::string MakeTempFolder() {
  char pattern[] = "/tmp/orbe-env-XXXXXX";
  const char* made = mkdtemp(pattern);
  return made != nullptr ? std::string(made) + "/" : std::string();
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_ENV_TEST_COMPONENTS_H_
