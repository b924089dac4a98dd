// The two cache directories under the host's cache root.
#ifndef ORBE_ENV_CACHE_DIRECTORIES_H_
#define ORBE_ENV_CACHE_DIRECTORIES_H_

#include <string>

namespace orbe {

struct CacheDirectories {
  std::string root;  // without a trailing separator
  std::string main;  // root + "/cachem/"
  std::string sub;   // root + "/cache0/"
};

// A trailing '/' or '\' of the root is dropped, so both spellings give the
// same directories. An empty root means the current directory, never the
// file system's root.
CacheDirectories CacheDirectoriesFor(const std::string& cache_root);

// Creates the directory (and missing parents); true when it exists afterwards.
bool EnsureDirectory(const std::string& path);

}  // namespace orbe

#endif  // ORBE_ENV_CACHE_DIRECTORIES_H_
