// The SQLite side of SqlConnection: one database file, prepared statements
// kept per SQL text, the orbe_match function registered.
#ifndef ORBE_SERVER_SQLITE_CONNECTION_H_
#define ORBE_SERVER_SQLITE_CONNECTION_H_

#include <sqlite3.h>

#include <memory>
#include <string>
#include <unordered_map>

#include "sql_connection.h"

namespace orbe::server {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

class SqliteConnection final : public SqlConnection {
 public:
  // Opens an existing file read-write; never creates one. Null and `error`
  // set when it cannot be opened.
  static std::unique_ptr<SqliteConnection> Open(const std::string& path, std::string* error);

  SqlDialect Dialect() const override { return SqlDialect::kSqlite; }
  bool Query(std::string_view sql, std::span<const SqlValue> values, const RowSink& sink) override;
  bool Execute(std::string_view sql, std::span<const SqlValue> values, std::int64_t* changes) override;
  bool QueryPerKey(std::string_view sql, std::span<const std::string> keys, std::span<const SqlValue> fixed,
                   const KeyedRowSink& sink) override;
  bool Begin(TransactionKind kind, std::uint32_t table) override;
  bool Commit() override;
  void Rollback() override;
  bool Flush() override;
  std::string LastError() const override { return error_; }

  sqlite3* Handle() const { return db_.get(); }

 private:
  explicit SqliteConnection(SqliteHandle db) : db_(std::move(db)) {}
  // A prepared statement for the text, reset and unbound; null on failure.
  sqlite3_stmt* Prepared(std::string_view sql);
  bool Fail(const char* what);
  bool Run(const char* sql);

  SqliteHandle db_;
  std::unordered_map<std::string, SqliteStatement> statements_;
  std::string error_;
  int depth_ = 0;  // statements being stepped
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_SQLITE_CONNECTION_H_
