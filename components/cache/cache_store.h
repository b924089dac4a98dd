// The SQLite file of one cache directory. Entries (key, time stamp, when
// stored, when last used, size) and their packet blobs live in two tables, so
// that recording a use never rewrites a blob. The file is shared by every
// process that opens the folder: WAL journal, a busy timeout, and every write
// in one immediate transaction.
#ifndef ORBE_COMPONENTS_CACHE_CACHE_STORE_H_
#define ORBE_COMPONENTS_CACHE_CACHE_STORE_H_

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cache/sqlite_handle.h"

namespace orbe::cache {

inline constexpr char kCacheFileName[] = "replycache.db";

struct EntryInfo {
  std::int64_t stamp = -1;
  std::int64_t stored_at_ms = 0;  // wall clock, shared by every process
};

class CacheStore {
 public:
  // The store of `folder` (which ends with '/'), created when missing; a file
  // that is not a readable database is set aside and replaced. Null when the
  // folder cannot hold one.
  static std::unique_ptr<CacheStore> Open(const std::string& folder);

  // Replaces the entry of `key`.
  bool Put(std::string_view key, std::string_view blob, std::int64_t stamp, std::int64_t now_ms);
  bool Remove(std::string_view key);
  std::optional<EntryInfo> Info(std::string_view key);
  // Hands the blob to `read` while the row is current; false when missing
  // or when `read` refuses it.
  template <typename Reader>
  bool ReadBlob(std::string_view key, Reader&& read) {
    StatementUse use(select_blob_);
    select_blob_.BindBytes(1, key);
    return select_blob_.Step() == SQLITE_ROW && read(select_blob_.ColumnBytes(0));
  }
  // Records last uses (key -> wall clock ms) in one transaction.
  bool RecordUses(const std::map<std::string, std::int64_t>& uses);
  // Drops least recently used entries until the stored sizes fit `max_bytes`,
  // then gives freed pages back to the file system.
  bool EvictTo(std::int64_t max_bytes);
  std::int64_t TotalBytes();

 private:
  explicit CacheStore(SqliteDb db);
  bool AllPrepared() const;
  template <typename Body>
  bool InTransaction(const Body& body);

  SqliteDb db_;
  Statement upsert_entry_;
  Statement upsert_payload_;
  Statement delete_entry_;
  Statement delete_payload_;
  Statement select_info_;
  Statement select_blob_;
  Statement update_use_;
  Statement select_total_;
  Statement select_oldest_;
};

}  // namespace orbe::cache

#endif  // ORBE_COMPONENTS_CACHE_CACHE_STORE_H_
