// The files that request 2009 hands out: the dictionary files generated from
// the schema, and any other regular file of the file root. Reads are
// confined to the root (plain names only, symbolic links refused) and
// cached by file identity, so repeated fetches do not re-read or re-hash.
#ifndef ORBE_SERVER_FILE_STORE_H_
#define ORBE_SERVER_FILE_STORE_H_

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "dictionary/dictionary_writer.h"

namespace orbe::server {

// Files above this size are not served (a client keeps dictionary files far smaller).
inline constexpr std::uint64_t kMaxServedFileSize = 64u << 20;

enum class FetchOutcome { kBadName, kNotFound, kUnchanged, kContent };

struct FetchAnswer {
  FetchOutcome outcome = FetchOutcome::kNotFound;
  std::shared_ptr<const std::string> bytes;  // kContent only
};

class FileStore {
 public:
  // `root` is created when missing.
  explicit FileStore(std::string root) : root_(std::move(root)) {}

  const std::string& Root() const { return root_; }
  // Writes constinfo.idx, tableinfo.idx, fieldinfo.idx and the two
  // .compress files into the root, each replaced atomically.
  bool Publish(const DictionarySchema& schema, std::string* error);
  // `client_digest` is compared with the MD5 of the file's plain content
  // (inflated for a zlib stream, as the client stores it).
  FetchAnswer Fetch(std::string_view name, std::string_view client_digest);

 private:
  struct CachedFile {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified_ns = 0;
    std::shared_ptr<const std::string> bytes;
    std::string plain_digest;
  };

  std::string root_;
  std::mutex mutex_;
  std::map<std::string, CachedFile, std::less<>> cache_;
};

// MD5 of what a client keeps after post-processing a download: the inflated
// bytes when they are one zlib stream, else the bytes themselves.
std::string PlainContentDigest(std::string_view bytes);

}  // namespace orbe::server

#endif  // ORBE_SERVER_FILE_STORE_H_
