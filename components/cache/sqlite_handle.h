// Owning wrappers of an SQLite connection and a prepared statement.
#ifndef ORBE_COMPONENTS_CACHE_SQLITE_HANDLE_H_
#define ORBE_COMPONENTS_CACHE_SQLITE_HANDLE_H_

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orbe::cache {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using SqliteDb = std::unique_ptr<sqlite3, SqliteCloser>;

// A prepared statement, reset (and its bindings cleared) whenever a Use scope
// ends, so a cached statement never keeps a read transaction open.
class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Valid() const { return stmt_ != nullptr; }
  void BindBytes(int index, std::string_view bytes);
  void BindInt(int index, std::int64_t value);
  // SQLITE_ROW, SQLITE_DONE or an error code.
  int Step();
  std::int64_t ColumnInt(int index) const;
  std::string_view ColumnBytes(int index) const;
  void Reset();

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// Resets the statement when the scope ends.
class StatementUse {
 public:
  explicit StatementUse(Statement& statement) : statement_(statement) {}
  ~StatementUse() { statement_.Reset(); }
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;

 private:
  Statement& statement_;
};

// Runs SQL without results; the SQLite result code.
int Execute(sqlite3* db, const char* sql);

}  // namespace orbe::cache

#endif  // ORBE_COMPONENTS_CACHE_SQLITE_HANDLE_H_
