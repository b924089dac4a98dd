#include "file_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "orbe/platform/crypto.h"
#include "orbe/platform/text.h"
#include "protocol/requests.h"
#include "unique_fd.h"

namespace orbe::server {
namespace {

// The client refuses to post-process files of 4 MiB or more; inflating beyond
// that would describe a file it never keeps.
constexpr std::size_t kMaxPlainSize = 0x400000;

bool MakeFolder(const std::string& path, std::string* error) {
  if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) {
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
  }
  *error = Format("file root %s is not a usable folder", path.c_str());
  return false;
}

std::int64_t ModifiedNs(const struct stat& info) {
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

bool ReadAll(int fd, std::size_t size, std::string* bytes) {
  bytes->resize(size);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::read(fd, bytes->data() + done, size - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

std::string PlainContentDigest(std::string_view bytes) {
  if (const auto plain = Uncompress(bytes, kMaxPlainSize)) return Md5Hex(*plain);
  return Md5Hex(bytes);
}

bool FileStore::Publish(const DictionarySchema& schema, std::string* error) {
  if (!MakeFolder(root_, error)) return false;
  if (!WriteDictionaryFiles(BuildDictionaryFiles(schema), root_ + "/", true)) {
    *error = Format("cannot write the dictionary files into %s", root_.c_str());
    return false;
  }
  return true;
}

FetchAnswer FileStore::Fetch(std::string_view name, std::string_view client_digest) {
  if (!wire::IsPlainFileName(name)) return {FetchOutcome::kBadName, nullptr};
  const std::string path = root_ + "/" + std::string(name);
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  struct stat info{};
  if (!fd.Valid() || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      static_cast<std::uint64_t>(info.st_size) > kMaxServedFileSize) {
    return {FetchOutcome::kNotFound, nullptr};
  }
  const std::lock_guard lock(mutex_);
  auto found = cache_.find(name);
  const bool fresh = found != cache_.end() && found->second.device == info.st_dev &&
                     found->second.inode == info.st_ino && found->second.size == info.st_size &&
                     found->second.modified_ns == ModifiedNs(info);
  if (!fresh) {
    auto bytes = std::make_shared<std::string>();
    if (!ReadAll(fd.Get(), static_cast<std::size_t>(info.st_size), bytes.get())) {
      return {FetchOutcome::kNotFound, nullptr};
    }
    CachedFile entry{info.st_dev, info.st_ino, info.st_size, ModifiedNs(info), bytes, PlainContentDigest(*bytes)};
    found = cache_.insert_or_assign(std::string(name), std::move(entry)).first;
  }
  if (client_digest == found->second.plain_digest) return {FetchOutcome::kUnchanged, nullptr};
  return {FetchOutcome::kContent, found->second.bytes};
}

}  // namespace orbe::server
