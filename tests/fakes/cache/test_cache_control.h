// The control block of the test cache (loaded by the module as
// libFinCacheStore.so), reached through its extra entry point
// TestCacheControlBlock.
#ifndef ORBE_TESTS_COMPONENTS_CACHE_TEST_CACHE_CONTROL_H_
#define ORBE_TESTS_COMPONENTS_CACHE_TEST_CACHE_CONTROL_H_

#include <mutex>
#include <string>
#include <vector>

struct TestCacheControl {
  std::mutex mutex;  // guards every member below
  int alive = 0;
  std::vector<std::string> directories;  // of every cache made, in order
  std::vector<std::string> saved_state;  // directory of each SaveState call
  std::vector<std::string> maintained;   // directory of each Maintain call

  void Reset() {
    std::lock_guard<std::mutex> hold(mutex);
    directories.clear();
    saved_state.clear();
    maintained.clear();
  }
};

extern "C" {
using TestCacheControlBlockProc = TestCacheControl* (*)();
}

#endif  // ORBE_TESTS_COMPONENTS_CACHE_TEST_CACHE_CONTROL_H_
