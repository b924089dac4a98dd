// A read-only SQLite connection with prepared statements that finalize
// themselves; the host only ever reads the market it is given.
#ifndef ORBE_TOOLS_TERMINAL_HOST_SQLITE_READER_H_
#define ORBE_TOOLS_TERMINAL_HOST_SQLITE_READER_H_

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orbe {

class SqliteStatement {
 public:
  SqliteStatement(sqlite3* db, const char* sql);
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  bool ok() const { return statement_ != nullptr; }
  // Parameters are numbered from 1, as in SQLite. Binding resets the statement.
  void Bind(int index, std::string_view text);
  void Bind(int index, std::int64_t value);
  // True while a row is available.
  bool Step();
  void Reset();

  std::string Text(int column) const;
  std::int64_t Int(int column) const;
  double Real(int column) const;
  bool IsNull(int column) const;

 private:
  struct Finalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
  };
  std::unique_ptr<sqlite3_stmt, Finalizer> statement_;
};

class SqliteReader {
 public:
  // Null with a reason in *error when the file cannot be opened read-only.
  static std::unique_ptr<SqliteReader> Open(const std::string& path, std::string* error);
  SqliteReader(const SqliteReader&) = delete;
  SqliteReader& operator=(const SqliteReader&) = delete;

  SqliteStatement Prepare(const char* sql) const { return SqliteStatement(db_.get(), sql); }
  std::string LastError() const { return sqlite3_errmsg(db_.get()); }

 private:
  struct Closer {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
  };
  explicit SqliteReader(sqlite3* db) : db_(db) {}
  std::unique_ptr<sqlite3, Closer> db_;
};

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_SQLITE_READER_H_
