// Whole-file reads and crash-safe whole-file writes. A file the user keeps
// (INI settings, schemes, user indicators) must survive a crash at any moment
// with either its old or its new content, so every rewrite goes through
// WriteFileAtomically.
#ifndef ORBE_PLATFORM_FILE_H_
#define ORBE_PLATFORM_FILE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "orbe/platform/types.h"

namespace orbe {

// What tells one version of a file from another without reading it. A
// rewrite always makes a new inode, so even a same-size rewrite within one
// timestamp tick is told apart.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::uint64_t size = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;

  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` (symbolic links followed), or nullopt
// when there is none or it is not a regular file.
std::optional<FileIdentity> IdentifyFile(const std::string& path);

// The whole content of a regular file, or nullopt when it is missing or
// unreadable. `identity`, when given, receives the identity of exactly the
// version that was read.
std::optional<std::string> ReadWholeFile(const std::string& path, FileIdentity* identity = nullptr);

// Replaces the file with `bytes`: a temporary file in the same folder is
// written and synced, then renamed over the old one, and the folder is
// synced. A process killed at any instant leaves the old or the new file.
// A symbolic link is written through, not replaced. The folder must exist.
// `identity`, when given, receives the identity of the new file.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);
bool WriteFileAtomically(const std::string& path, std::string_view bytes, FileIdentity* identity);

// True when `path` names an existing file or folder.
bool FileExists(const std::string& path);

// The name pattern of a writer's temporary file for `target_name`, so that
// tests and tools can recognise leftovers: "." + name + ".orbe-<pid>-<n>.tmp".
bool IsTemporaryFileFor(std::string_view entry_name, std::string_view target_name);

}  // namespace orbe

// True when the file or folder exists; null is FALSE.
BOOL PathFileExistsA(LPCSTR path);

#endif  // ORBE_PLATFORM_FILE_H_
