// Where a remote path of the file server lands: always inside the root. The
// path is split on both separators; empty, "." and ".." parts, absolute paths
// and symbolic links anywhere on the way are refused.
#ifndef ORBE_SERVER_FILE_SERVER_PATHS_H_
#define ORBE_SERVER_FILE_SERVER_PATHS_H_

#include <optional>
#include <string>
#include <string_view>

namespace orbe::server {

enum class PathUse {
  kRead,    // the file must exist as a regular file
  kWrite,   // missing folders on the way are created
  kAny,     // file or folder, existing
};

// The local path for `remote` under `root`; nullopt when it would leave the
// root, passes a link, or (kRead, kAny) does not exist.
std::optional<std::string> ResolveInRoot(const std::string& root, std::string_view remote, PathUse use);

}  // namespace orbe::server

#endif  // ORBE_SERVER_FILE_SERVER_PATHS_H_
