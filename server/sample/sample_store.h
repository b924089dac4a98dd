// Where the generators put their rows: an SQLite file (one prepared INSERT
// per table) or a PostgreSQL database (COPY). Every value is checked against
// its field's type and width on the way in, so a generator fault stops the
// build instead of leaving a table the dictionary misdescribes.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "sql_connection.h"

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

// The rows of one table, in order, to one database.
class RowTarget {
 public:
  virtual ~RowTarget() = default;
  // False with `error` set when the database refused the row.
  virtual bool Append(const Row& row, std::string* error) = 0;
  // Every row appended is in the database.
  virtual bool Finish(std::string* error) = 0;
};

// A database being filled: statements, and the rows of each table.
class SampleDatabase {
 public:
  virtual ~SampleDatabase() = default;
  virtual server::SqlDialect Dialect() const = 0;
  virtual bool Execute(const std::string& sql, std::string* error) = 0;
  // Rows for `columns` of `table`, in that order.
  virtual std::unique_ptr<RowTarget> Rows(const std::string& table, const std::vector<std::string>& columns,
                                          std::string* error) = 0;
};

class TableWriter {
 public:
  TableWriter(const SchemaTable& table, std::unique_ptr<RowTarget> target, BuildStatus* status);
  void Write(const Row& row);
  bool Finish();
  std::int64_t rows_written() const { return rows_written_; }

 private:
  std::string CheckValue(const SchemaField& field, const Value& value) const;

  const SchemaTable table_;
  const std::unique_ptr<RowTarget> target_;
  BuildStatus* const status_;
  std::int64_t rows_written_ = 0;
};

class SampleStore {
 public:
  // Opens (creating) an SQLite file for a bulk load: no journal, no syncs;
  // the caller builds a temporary file and renames it into place.
  static std::unique_ptr<SampleStore> Open(const std::string& path, std::string* error);
  // Connects to a PostgreSQL database; the caller loads in one transaction.
  static std::unique_ptr<SampleStore> OpenPostgres(const std::string& uri, std::string* error);
  explicit SampleStore(std::unique_ptr<SampleDatabase> database) : database_(std::move(database)) {}

  server::SqlDialect Dialect() const { return database_->Dialect(); }
  void Execute(const std::string& sql);
  // Creates the data tables of the schema and prepares their writers.
  void AddTables(const std::vector<SchemaTable>& tables);
  TableWriter& Table(std::uint32_t number);
  // A checked writer of the columns of `table`, described by `shape`.
  std::unique_ptr<TableWriter> Writer(const std::string& table, const SchemaTable& shape,
                                      const std::vector<std::string>& columns);
  // Puts every row written so far into the database.
  void FinishRows();
  BuildStatus& status() { return status_; }

 private:
  std::unique_ptr<SampleDatabase> database_;
  BuildStatus status_;
  std::map<std::uint32_t, std::unique_ptr<TableWriter>> writers_;
  std::unique_ptr<TableWriter> discard_;  // answers Table() for an unknown number after a failure
};

std::string DataTableName(std::uint32_t number);  // t100000001
std::string ColumnName(int field_number);         // T001

}  // namespace orbe::sample
