// Where the generators put their rows: one SQLite database, one prepared
// INSERT per data table. Every value is checked against its field's type and
// width on the way in, so a generator fault stops the build instead of
// leaving a table the dictionary misdescribes.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "dictionary/dictionary_writer.h"

namespace orbe::sample {

// NULL, an integer (types 3, 4, 5, 6, 9, 10), a real (7, 8) or GBK text (1, 2, 11, 12).
using Value = std::variant<std::monostate, std::int64_t, double, std::string>;
using Row = std::vector<Value>;

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close(db); }
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatementHandle = std::unique_ptr<sqlite3_stmt, SqliteCloser>;

// The first failure of a build; later work is skipped once it is set.
class BuildStatus {
 public:
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  void Fail(const std::string& error) {
    if (error_.empty()) error_ = error.empty() ? "unknown failure" : error;
  }

 private:
  std::string error_;
};

class TableWriter {
 public:
  TableWriter(const SchemaTable& table, SqliteStatementHandle insert, BuildStatus* status);
  void Write(const Row& row);
  std::int64_t rows_written() const { return rows_written_; }

 private:
  std::string CheckValue(const SchemaField& field, const Value& value) const;
  void Bind(int column, const Value& value);

  const SchemaTable table_;
  const SqliteStatementHandle insert_;
  BuildStatus* const status_;
  std::int64_t rows_written_ = 0;
};

class SampleStore {
 public:
  // Opens (creating) the database file for a bulk load: no journal, no syncs;
  // the caller builds a temporary file and renames it into place.
  static std::unique_ptr<SampleStore> Open(const std::string& path, std::string* error);
  explicit SampleStore(SqliteHandle db) : db_(std::move(db)) {}

  void Execute(const std::string& sql);
  // Creates the data tables of the schema and prepares their writers.
  void AddTables(const std::vector<SchemaTable>& tables);
  TableWriter& Table(std::uint32_t number);
  sqlite3* db() const { return db_.get(); }
  BuildStatus& status() { return status_; }
  std::string SqliteError() const { return sqlite3_errmsg(db_.get()); }

 private:
  SqliteStatementHandle Prepare(const std::string& sql);

  SqliteHandle db_;
  BuildStatus status_;
  std::map<std::uint32_t, std::unique_ptr<TableWriter>> writers_;
  std::unique_ptr<TableWriter> discard_;  // answers Table() for an unknown number after a failure
};

std::string DataTableName(std::uint32_t number);  // t100000001
std::string ColumnName(int field_number);         // T001
const char* SqlTypeOf(std::uint8_t field_type);

}  // namespace orbe::sample
