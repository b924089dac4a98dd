#include "sqlite_connection.h"

#include "orbe/platform/text.h"
#include "statement_match.h"

namespace orbe::server {
namespace {

// Statements of a connection kept prepared; beyond this many the cache
// starts afresh (the statement builder can make many different texts).
constexpr std::size_t kMaxPreparedStatements = 256;

class SqliteRow final : public SqlRow {
 public:
  explicit SqliteRow(sqlite3_stmt* statement, int offset = 0) : statement_(statement), offset_(offset) {}
  bool IsNull(int column) const override {
    return sqlite3_column_type(statement_, column + offset_) == SQLITE_NULL;
  }
  std::int64_t Integer(int column) const override { return sqlite3_column_int64(statement_, column + offset_); }
  double Real(int column) const override { return sqlite3_column_double(statement_, column + offset_); }
  std::string_view Text(int column) const override {
    const auto* text = sqlite3_column_text(statement_, column + offset_);
    if (text == nullptr) return {};
    return {reinterpret_cast<const char*>(text),
            static_cast<std::size_t>(sqlite3_column_bytes(statement_, column + offset_))};
  }

 private:
  sqlite3_stmt* statement_;
  int offset_;
};

void Bind(sqlite3_stmt* statement, int index, const SqlValue& value) {
  switch (value.kind) {
    case SqlValue::Kind::kInteger:
      sqlite3_bind_int64(statement, index, value.integer);
      break;
    case SqlValue::Kind::kReal:
      sqlite3_bind_double(statement, index, value.real);
      break;
    case SqlValue::Kind::kText:
      sqlite3_bind_text(statement, index, value.text.data(), static_cast<int>(value.text.size()), SQLITE_STATIC);
      break;
    case SqlValue::Kind::kNull:
      sqlite3_bind_null(statement, index);
      break;
  }
}

void BindAll(sqlite3_stmt* statement, std::span<const SqlValue> values, int first) {
  for (std::size_t i = 0; i < values.size(); ++i) Bind(statement, first + static_cast<int>(i), values[i]);
}

// Leaves the statement ready for its next use and its read lock released;
// counts the statements in use, which the cache must not finalise.
class StatementUse {
 public:
  StatementUse(sqlite3_stmt* statement, int* depth) : statement_(statement), depth_(depth) { ++*depth_; }
  ~StatementUse() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    --*depth_;
  }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  sqlite3_stmt* statement_;
  int* depth_;
};

// Workers read side by side; SQLite's memory statistics would make every
// allocation of every connection take one process-wide lock (a request then
// costs half as much CPU again when two run at once). They can be switched
// off only before SQLite's first use in the process, which may come long
// before the first connection (a sample market built, another library's
// database), so it is done when the program starts.
[[maybe_unused]] const bool kMemoryStatisticsOff = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;

}  // namespace

std::unique_ptr<SqliteConnection> SqliteConnection::Open(const std::string& path, std::string* error) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  SqliteHandle db(raw);
  if (rc != SQLITE_OK) {
    *error = Format("cannot open database %s: %s", path.c_str(), raw ? sqlite3_errmsg(raw) : "out of memory");
    return nullptr;
  }
  // Writers of other connections hold the lock only for one request.
  sqlite3_busy_timeout(raw, 10000);
  // A screening reads the daily quotes of every security: a 64 MiB page cache
  // keeps the hot index and table pages in memory between requests.
  sqlite3_exec(raw, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
  if (!RegisterMatchFunction(raw)) {
    *error = Format("database %s: cannot register the statement functions", path.c_str());
    return nullptr;
  }
  return std::unique_ptr<SqliteConnection>(new SqliteConnection(std::move(db)));
}

bool SqliteConnection::Fail(const char* what) {
  error_ = Format("%s: %s", what, sqlite3_errmsg(db_.get()));
  return false;
}

sqlite3_stmt* SqliteConnection::Prepared(std::string_view sql) {
  const std::string key(sql);
  if (const auto found = statements_.find(key); found != statements_.end()) return found->second.get();
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_.get(), key.c_str(), static_cast<int>(key.size()), &raw, nullptr) != SQLITE_OK) {
    Fail("prepare");
    return nullptr;
  }
  if (statements_.size() >= kMaxPreparedStatements && depth_ == 0) statements_.clear();
  return statements_.emplace(key, SqliteStatement(raw)).first->second.get();
}

bool SqliteConnection::Query(std::string_view sql, std::span<const SqlValue> values, const RowSink& sink) {
  sqlite3_stmt* statement = Prepared(sql);
  if (statement == nullptr) return false;
  const StatementUse use(statement, &depth_);
  BindAll(statement, values, 1);
  const SqliteRow row(statement);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
    if (!sink(row)) return true;
  }
  return rc == SQLITE_DONE || Fail("query");
}

bool SqliteConnection::Execute(std::string_view sql, std::span<const SqlValue> values, std::int64_t* changes) {
  sqlite3_stmt* statement = Prepared(sql);
  if (statement == nullptr) return false;
  const StatementUse use(statement, &depth_);
  BindAll(statement, values, 1);
  int rc;
  while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) return Fail("statement");
  if (changes != nullptr) *changes = sqlite3_changes64(db_.get());
  return true;
}

bool SqliteConnection::QueryPerKey(std::string_view sql, std::span<const std::string> keys,
                                   std::span<const SqlValue> fixed, const KeyedRowSink& sink) {
  sqlite3_stmt* statement = Prepared(sql);
  if (statement == nullptr) return false;
  const StatementUse use(statement, &depth_);
  BindAll(statement, fixed, 2);
  const SqliteRow row(statement);
  for (std::size_t i = 0; i < keys.size(); ++i) {
    sqlite3_reset(statement);
    sqlite3_bind_text(statement, 1, keys[i].data(), static_cast<int>(keys[i].size()), SQLITE_STATIC);
    const int rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
      if (!sink(i, row)) return true;
    } else if (rc != SQLITE_DONE) {
      return Fail("query");
    }
  }
  return true;
}

bool SqliteConnection::Run(const char* sql) {
  return sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) == SQLITE_OK || Fail(sql);
}

bool SqliteConnection::Begin(TransactionKind kind, std::uint32_t) {
  // A connection already in a transaction (a caller's) keeps it.
  if (sqlite3_get_autocommit(db_.get()) == 0) return false;
  // The write lock is taken at once, so the write cannot fail half-way for
  // want of it; a snapshot begins at its first read.
  return Run(kind == TransactionKind::kWrite ? "BEGIN IMMEDIATE" : "BEGIN");
}

bool SqliteConnection::Commit() { return Run("COMMIT"); }

void SqliteConnection::Rollback() { Run("ROLLBACK"); }

bool SqliteConnection::Flush() {
  sqlite3* db = db_.get();
  return (sqlite3_db_cacheflush(db) == SQLITE_OK &&
          sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr) == SQLITE_OK) ||
         Fail("flush");
}

}  // namespace orbe::server
