#include "env/cache_directories.h"

#include <system_error>
#include <filesystem>

namespace orbe {

CacheDirectories CacheDirectoriesFor(const std::string& cache_root) {
  CacheDirectories dirs;
  dirs.root = cache_root;
  if (dirs.root.size() > 1 && (dirs.root.back() == '/' || dirs.root.back() == '\\')) dirs.root.pop_back();
  std::string base = dirs.root.empty() ? std::string(".") : dirs.root;
  if (base.back() != '/' && base.back() != '\\') base += '/';
  dirs.main = base + "cachem/";
  dirs.sub = base + "cache0/";
  return dirs;
}

bool EnsureDirectory(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return std::filesystem::is_directory(path, error);
}

}  // namespace orbe
