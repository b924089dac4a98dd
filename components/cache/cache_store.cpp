#include "cache/cache_store.h"

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace orbe::cache {
namespace {

// Long enough to wait out another process's largest store and a checkpoint.
constexpr int kBusyTimeoutMs = 10'000;

constexpr char kSchema[] =
    "CREATE TABLE IF NOT EXISTS entries("
    " id INTEGER PRIMARY KEY, key BLOB NOT NULL UNIQUE, stamp INTEGER NOT NULL,"
    " stored_at INTEGER NOT NULL, used_at INTEGER NOT NULL, size INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS entries_by_use ON entries(used_at);"
    "CREATE TABLE IF NOT EXISTS payloads(id INTEGER PRIMARY KEY, packets BLOB NOT NULL);";

// An exclusive flock on a file beside the cache, held for one scope.
class FolderLock {
 public:
  explicit FolderLock(const std::string& path)
      : fd_(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

// Opens the file and brings its schema up; the first failing SQLite code is
// left in `code`.
SqliteDb OpenDatabase(const std::string& path, int& code) {
  sqlite3* raw = nullptr;
  code = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                         nullptr);
  SqliteDb db(raw);
  if (code != SQLITE_OK) return nullptr;
  sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
  // auto_vacuum only takes effect on a new file, before its first table.
  // NORMAL sync in WAL mode loses no committed entry when a process dies; a
  // power cut may lose the last ones, never the file's consistency.
  const char* const setup[] = {"PRAGMA auto_vacuum=INCREMENTAL", "PRAGMA journal_mode=WAL",
                               "PRAGMA synchronous=NORMAL", "PRAGMA journal_size_limit=8388608",
                               "BEGIN IMMEDIATE", kSchema, "COMMIT"};
  for (const char* sql : setup) {
    code = Execute(db.get(), sql);
    if (code != SQLITE_OK) return nullptr;
  }
  return db;
}

bool IsDamaged(int code) { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

// Moves a damaged file out of the way, unless another process already has:
// the check is repeated under the folder lock.
void SetAsideIfDamaged(const std::string& path) {
  const FolderLock lock(path + ".lock");
  int code = SQLITE_OK;
  if (OpenDatabase(path, code) != nullptr || !IsDamaged(code)) return;
  std::error_code error;
  std::filesystem::rename(path, path + ".bad", error);
  std::filesystem::remove(path + "-wal", error);
  std::filesystem::remove(path + "-shm", error);
}

}  // namespace

std::unique_ptr<CacheStore> CacheStore::Open(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::string path = folder + kCacheFileName;
  for (int attempt = 0; attempt < 2; ++attempt) {
    int code = SQLITE_OK;
    SqliteDb db = OpenDatabase(path, code);
    if (db != nullptr) {
      std::unique_ptr<CacheStore> store(new CacheStore(std::move(db)));
      return store->AllPrepared() ? std::move(store) : nullptr;
    }
    if (!IsDamaged(code)) return nullptr;
    SetAsideIfDamaged(path);
  }
  return nullptr;
}

CacheStore::CacheStore(SqliteDb db)
    : db_(std::move(db)),
      upsert_entry_(db_.get(),
                    "INSERT INTO entries(key, stamp, stored_at, used_at, size) VALUES(?1, ?2, ?3, ?3, ?4)"
                    " ON CONFLICT(key) DO UPDATE SET stamp = excluded.stamp, stored_at = excluded.stored_at,"
                    " used_at = excluded.used_at, size = excluded.size RETURNING id"),
      upsert_payload_(db_.get(), "INSERT OR REPLACE INTO payloads(id, packets) VALUES(?1, ?2)"),
      delete_entry_(db_.get(), "DELETE FROM entries WHERE id = ?1"),
      delete_payload_(db_.get(), "DELETE FROM payloads WHERE id = ?1"),
      select_info_(db_.get(), "SELECT id, stamp, stored_at FROM entries WHERE key = ?1"),
      select_blob_(db_.get(),
                   "SELECT p.packets FROM entries e JOIN payloads p ON p.id = e.id WHERE e.key = ?1"),
      update_use_(db_.get(), "UPDATE entries SET used_at = max(used_at, ?2) WHERE key = ?1"),
      select_total_(db_.get(), "SELECT total(size) FROM entries"),
      select_oldest_(db_.get(), "SELECT id, size FROM entries ORDER BY used_at, id") {}

bool CacheStore::AllPrepared() const {
  for (const Statement* statement : {&upsert_entry_, &upsert_payload_, &delete_entry_, &delete_payload_,
                                     &select_info_, &select_blob_, &update_use_, &select_total_,
                                     &select_oldest_}) {
    if (!statement->Valid()) return false;
  }
  return true;
}

template <typename Body>
bool CacheStore::InTransaction(const Body& body) {
  if (Execute(db_.get(), "BEGIN IMMEDIATE") != SQLITE_OK) return false;
  if (body() && Execute(db_.get(), "COMMIT") == SQLITE_OK) return true;
  Execute(db_.get(), "ROLLBACK");
  return false;
}

bool CacheStore::Put(std::string_view key, std::string_view blob, std::int64_t stamp, std::int64_t now_ms) {
  return InTransaction([&] {
    std::int64_t id = 0;
    {
      StatementUse use(upsert_entry_);
      upsert_entry_.BindBytes(1, key);
      upsert_entry_.BindInt(2, stamp);
      upsert_entry_.BindInt(3, now_ms);
      upsert_entry_.BindInt(4, static_cast<std::int64_t>(blob.size()));
      if (upsert_entry_.Step() != SQLITE_ROW) return false;
      id = upsert_entry_.ColumnInt(0);
      if (upsert_entry_.Step() != SQLITE_DONE) return false;
    }
    StatementUse use(upsert_payload_);
    upsert_payload_.BindInt(1, id);
    upsert_payload_.BindBytes(2, blob);
    return upsert_payload_.Step() == SQLITE_DONE;
  });
}

bool CacheStore::Remove(std::string_view key) {
  return InTransaction([&] {
    std::int64_t id = 0;
    {
      StatementUse use(select_info_);
      select_info_.BindBytes(1, key);
      const int step = select_info_.Step();
      if (step == SQLITE_DONE) return true;
      if (step != SQLITE_ROW) return false;
      id = select_info_.ColumnInt(0);
    }
    StatementUse entry(delete_entry_);
    StatementUse payload(delete_payload_);
    delete_entry_.BindInt(1, id);
    delete_payload_.BindInt(1, id);
    return delete_entry_.Step() == SQLITE_DONE && delete_payload_.Step() == SQLITE_DONE;
  });
}

std::optional<EntryInfo> CacheStore::Info(std::string_view key) {
  StatementUse use(select_info_);
  select_info_.BindBytes(1, key);
  if (select_info_.Step() != SQLITE_ROW) return std::nullopt;
  return EntryInfo{select_info_.ColumnInt(1), select_info_.ColumnInt(2)};
}

bool CacheStore::RecordUses(const std::map<std::string, std::int64_t>& uses) {
  if (uses.empty()) return true;
  return InTransaction([&] {
    for (const auto& [key, used_at] : uses) {
      StatementUse use(update_use_);
      update_use_.BindBytes(1, key);
      update_use_.BindInt(2, used_at);
      if (update_use_.Step() != SQLITE_DONE) return false;
    }
    return true;
  });
}

std::int64_t CacheStore::TotalBytes() {
  StatementUse use(select_total_);
  return select_total_.Step() == SQLITE_ROW ? select_total_.ColumnInt(0) : 0;
}

bool CacheStore::EvictTo(std::int64_t max_bytes) {
  const bool evicted = InTransaction([&] {
    std::int64_t total = TotalBytes();
    std::vector<std::int64_t> victims;
    {
      StatementUse use(select_oldest_);
      while (total > max_bytes && select_oldest_.Step() == SQLITE_ROW) {
        victims.push_back(select_oldest_.ColumnInt(0));
        total -= select_oldest_.ColumnInt(1);
      }
    }
    for (const std::int64_t id : victims) {
      StatementUse entry(delete_entry_);
      StatementUse payload(delete_payload_);
      delete_entry_.BindInt(1, id);
      delete_payload_.BindInt(1, id);
      if (delete_entry_.Step() != SQLITE_DONE || delete_payload_.Step() != SQLITE_DONE) return false;
    }
    return true;
  });
  // Shrinking the files is a courtesy: another process reading may refuse it.
  Execute(db_.get(), "PRAGMA incremental_vacuum");
  Execute(db_.get(), "PRAGMA wal_checkpoint(TRUNCATE)");
  return evicted;
}

}  // namespace orbe::cache
