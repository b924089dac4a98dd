#include "file_server_paths.h"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

namespace orbe::server {
namespace {

std::optional<std::vector<std::string>> SplitRemote(std::string_view remote) {
  if (remote.empty() || remote.front() == '/' || remote.front() == '\\') return std::nullopt;
  if (remote.size() > 1 && remote[1] == ':') return std::nullopt;  // a drive letter
  std::vector<std::string> parts;
  std::string part;
  for (const char c : remote) {
    if (c == '\0') return std::nullopt;
    if (c != '/' && c != '\\') {
      part.push_back(c);
      continue;
    }
    if (part.empty() || part == "." || part == "..") return std::nullopt;
    parts.push_back(std::move(part));
    part.clear();
  }
  if (part.empty() || part == "." || part == "..") return std::nullopt;
  parts.push_back(std::move(part));
  return parts;
}

// lstat, so a link is seen as a link and never followed.
enum class Kind { kMissing, kFolder, kFile, kOther };
Kind KindOf(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT ? Kind::kMissing : Kind::kOther;
  if (S_ISDIR(info.st_mode)) return Kind::kFolder;
  if (S_ISREG(info.st_mode)) return Kind::kFile;
  return Kind::kOther;
}

}  // namespace

std::optional<std::string> ResolveInRoot(const std::string& root, std::string_view remote, PathUse use) {
  const auto parts = SplitRemote(remote);
  if (!parts) return std::nullopt;
  std::string path = root;
  for (std::size_t i = 0; i + 1 < parts->size(); ++i) {
    path += "/" + (*parts)[i];
    const Kind kind = KindOf(path);
    if (kind == Kind::kMissing && use == PathUse::kWrite && ::mkdir(path.c_str(), 0755) == 0) continue;
    if (kind != Kind::kFolder) return std::nullopt;
  }
  path += "/" + parts->back();
  const Kind kind = KindOf(path);
  switch (use) {
    case PathUse::kRead:
      return kind == Kind::kFile ? std::optional(path) : std::nullopt;
    case PathUse::kWrite:
      return kind == Kind::kFile || kind == Kind::kMissing ? std::optional(path) : std::nullopt;
    case PathUse::kAny:
      return kind == Kind::kFile || kind == Kind::kFolder ? std::optional(path) : std::nullopt;
  }
  return std::nullopt;
}

}  // namespace orbe::server
