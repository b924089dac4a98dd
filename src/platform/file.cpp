#include "orbe/platform/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <memory>
#include <utility>

namespace orbe {
namespace {

class UniqueFd {
 public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // close() reports deferred write errors on some file systems.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

FileIdentity IdentityOf(const struct stat& st) {
  FileIdentity id;
  id.device = static_cast<std::uint64_t>(st.st_dev);
  id.inode = static_cast<std::uint64_t>(st.st_ino);
  id.size = static_cast<std::uint64_t>(st.st_size);
  id.modified_ns = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  id.changed_ns = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return id;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Writing through a symbolic link keeps the link; replacing it would cut the
// user's redirection.
std::string ResolveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : path;
}

struct SplitPath {
  std::string folder;
  std::string name;
};

SplitPath Split(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

constexpr std::string_view kTempMarker = ".orbe-";
constexpr std::string_view kTempSuffix = ".tmp";

std::string TemporaryName(const std::string& name) {
  static std::atomic<std::uint64_t> counter{0};
  return "." + name + std::string(kTempMarker) + std::to_string(::getpid()) + "-" +
         std::to_string(counter.fetch_add(1)) + std::string(kTempSuffix);
}

// The writer's pid in a temporary name, or -1 when the name is not one.
long TemporaryOwner(std::string_view entry, std::string_view target) {
  const size_t head = 1 + target.size() + kTempMarker.size();
  if (entry.size() <= head + kTempSuffix.size() || entry[0] != '.') return -1;
  if (entry.substr(1, target.size()) != target ||
      entry.substr(1 + target.size(), kTempMarker.size()) != kTempMarker || !entry.ends_with(kTempSuffix)) {
    return -1;
  }
  const std::string_view rest = entry.substr(head, entry.size() - head - kTempSuffix.size());
  long pid = -1;
  const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
  if (ec != std::errc() || end == rest.data() || end == rest.data() + rest.size() || *end != '-') return -1;
  const std::string_view serial = rest.substr(static_cast<size_t>(end - rest.data()) + 1);
  if (serial.empty() || serial.find_first_not_of("0123456789") != std::string_view::npos) return -1;
  return pid;
}

bool ProcessIsGone(long pid) {
  if (pid <= 0 || pid > INT_MAX) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// A writer killed between naming its temporary file and renaming it leaves
// the temporary behind; the next writer of the same file removes it.
void RemoveStaleTemporaries(int folder_fd, const std::string& name) {
  const int scan_fd = ::openat(folder_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (scan_fd < 0) return;
  const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(scan_fd));
  if (!dir) {
    ::close(scan_fd);
    return;
  }
  while (const dirent* entry = ::readdir(dir.get())) {
    if (ProcessIsGone(TemporaryOwner(entry->d_name, name))) ::unlinkat(folder_fd, entry->d_name, 0);
  }
}

// The temporary file: unnamed (O_TMPFILE) where the file system allows, so a
// writer killed while writing leaves nothing; otherwise named from the start.
struct Temporary {
  UniqueFd fd;
  bool named = false;
};

Temporary CreateTemporary(int folder_fd, const std::string& temp_name, mode_t mode) {
  Temporary temp;
  temp.fd = UniqueFd(::openat(folder_fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
  if (temp.fd.valid()) return temp;
  temp.fd = UniqueFd(::openat(folder_fd, temp_name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, mode));
  temp.named = temp.fd.valid();
  return temp;
}

// Gives an unnamed temporary its name; linking by /proc avoids needing the
// capability that AT_EMPTY_PATH requires.
bool NameTemporary(const Temporary& temp, int folder_fd, const std::string& temp_name) {
  if (temp.named) return true;
  const std::string proc_path = "/proc/self/fd/" + std::to_string(temp.fd.get());
  return ::linkat(AT_FDCWD, proc_path.c_str(), folder_fd, temp_name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

// Removes the named temporary unless it was renamed into place.
class TemporaryNameGuard {
 public:
  TemporaryNameGuard(int folder_fd, const std::string& name) : folder_fd_(folder_fd), name_(name) {}
  ~TemporaryNameGuard() {
    if (armed_) ::unlinkat(folder_fd_, name_.c_str(), 0);
  }
  TemporaryNameGuard(const TemporaryNameGuard&) = delete;
  TemporaryNameGuard& operator=(const TemporaryNameGuard&) = delete;
  void Arm() { armed_ = true; }
  void Disarm() { armed_ = false; }

 private:
  int folder_fd_;
  const std::string& name_;
  bool armed_ = false;
};

}  // namespace

std::optional<FileIdentity> IdentifyFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return IdentityOf(st);
}

std::optional<std::string> ReadWholeFile(const std::string& path, FileIdentity* identity) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat st {};
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(st.st_size));
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof(chunk));
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    bytes.append(chunk, static_cast<size_t>(n));
  }
  if (identity != nullptr) *identity = IdentityOf(st);
  return bytes;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  return WriteFileAtomically(path, bytes, nullptr);
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, FileIdentity* identity) {
  if (path.empty()) return false;
  const SplitPath target = Split(ResolveTarget(path));
  if (target.name.empty()) return false;
  const UniqueFd folder(::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folder.valid()) return false;
  RemoveStaleTemporaries(folder.get(), target.name);

  // A rewrite keeps the permissions the user gave the file.
  struct stat old {};
  const bool replacing = ::fstatat(folder.get(), target.name.c_str(), &old, 0) == 0;
  if (replacing && !S_ISREG(old.st_mode)) return false;
  const mode_t mode = replacing ? (old.st_mode & 07777) : 0666;

  const std::string temp_name = TemporaryName(target.name);
  TemporaryNameGuard guard(folder.get(), temp_name);
  Temporary temp = CreateTemporary(folder.get(), temp_name, mode);
  if (!temp.fd.valid()) return false;
  if (temp.named) guard.Arm();
  struct stat written {};
  if ((replacing && ::fchmod(temp.fd.get(), mode) != 0) || !WriteAll(temp.fd.get(), bytes) ||
      ::fsync(temp.fd.get()) != 0 || ::fstat(temp.fd.get(), &written) != 0) {
    return false;
  }
  if (!NameTemporary(temp, folder.get(), temp_name)) return false;
  guard.Arm();
  if (!temp.fd.Close()) return false;
  if (::renameat(folder.get(), temp_name.c_str(), folder.get(), target.name.c_str()) != 0) return false;
  guard.Disarm();
  // The rename is durable only once the folder is.
  if (::fsync(folder.get()) != 0) return false;
  if (identity != nullptr) {
    // rename touches the inode's change time; take the identity readers see.
    const std::optional<FileIdentity> now = IdentifyFile(path);
    *identity = now && now->inode == static_cast<std::uint64_t>(written.st_ino) ? *now : IdentityOf(written);
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool IsTemporaryFileFor(std::string_view entry_name, std::string_view target_name) {
  return TemporaryOwner(entry_name, target_name) > 0;
}

}  // namespace orbe

BOOL PathFileExistsA(LPCSTR path) { return path != nullptr && orbe::FileExists(path) ? TRUE : FALSE; }
