// The module loads its engine and cache before main, from the folder
// ORBE_COMPONENT_DIR names. A test that needs particular components starts
// itself again with that variable set.
#ifndef ORBE_TESTS_SUPPORT_COMPONENT_REEXEC_H_
#define ORBE_TESTS_SUPPORT_COMPONENT_REEXEC_H_

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace orbe_test {

// This program's own arguments, as it was started.
inline std::vector<std::string> OwnArguments() {
  std::ifstream cmdline("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t end = all.find('\0', start);
    args.push_back(all.substr(start, end - start));
    start = end == std::string::npos ? all.size() : end + 1;
  }
  return args;
}

// True when ORBE_COMPONENT_DIR already names folder; otherwise the program
// starts again with it set and this never returns.
inline bool RunWithComponentFolder(const std::string& folder) {
  const char* current = std::getenv("ORBE_COMPONENT_DIR");
  if (current != nullptr && std::filesystem::path(current) == std::filesystem::path(folder)) return true;
  std::vector<std::string> args = OwnArguments();
  if (args.empty()) args.push_back("/proc/self/exe");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::setenv("ORBE_COMPONENT_DIR", folder.c_str(), 1);
  ::execv("/proc/self/exe", argv.data());
  std::perror("re-exec with the chosen components");
  ::_exit(127);
}

// The module loads its engine and cache before main, from ORBE_COMPONENT_DIR
// when set: a run with that pointing elsewhere starts again with the build's own.
#ifdef ORBE_TEST_LIB_DIR
inline bool RunWithBuiltComponents() {
  if (std::getenv("ORBE_COMPONENT_DIR") == nullptr) return true;
  return RunWithComponentFolder(ORBE_TEST_LIB_DIR);
}
#endif

// A folder of this process ("<tag>_<pid>" in the temporary folder) linking
// libFinDataComm.so and libFinCacheStore.so to the given files.
inline std::string LinkComponentFolder(const std::string& tag, const std::string& engine,
                                       const std::string& cache) {
  namespace fs = std::filesystem;
  const std::string folder = (fs::temp_directory_path() / (tag + "_" + std::to_string(::getpid()))).string();
  const char* current = std::getenv("ORBE_COMPONENT_DIR");
  if (current != nullptr && folder == current) return folder;  // already made before the re-exec
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::create_directories(folder, ignored);
  fs::create_symlink(engine, fs::path(folder) / "libFinDataComm.so", ignored);
  fs::create_symlink(cache, fs::path(folder) / "libFinCacheStore.so", ignored);
  return folder;
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_COMPONENT_REEXEC_H_
