// The server's database (docs/storage.md), in SQLite or PostgreSQL: the
// dictionary schema it hands out as files, the tables' time stamps, and the
// connections that the workers read through and that writes take turns on.
#ifndef ORBE_SERVER_STORAGE_H_
#define ORBE_SERVER_STORAGE_H_

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "dictionary/dictionary_writer.h"
#include "sql_connection.h"

namespace orbe::server {

// The dictionary tables of the storage contract (docs/storage.md), as
// SQLite writes them: whoever creates a database runs this first.
inline constexpr const char* kDictionaryTablesDdl =
    "CREATE TABLE orbe_tables(number INTEGER PRIMARY KEY, name TEXT, key_field INTEGER, seq INTEGER);"
    "CREATE TABLE orbe_fields(table_number INTEGER, seq INTEGER, number INTEGER, type INTEGER, width INTEGER,"
    " const_class TEXT, name TEXT);"
    "CREATE INDEX orbe_fields_by_table ON orbe_fields(table_number, seq);"
    "CREATE TABLE orbe_consts(seq INTEGER PRIMARY KEY, class TEXT, code TEXT, text TEXT, parent TEXT, attr "
    "TEXT);"
    "CREATE INDEX orbe_consts_by_class ON orbe_consts(class, code);"
    "CREATE TABLE orbe_timestamps(table_number INTEGER PRIMARY KEY, stamp INTEGER);";

// The same in a dialect: PostgreSQL's INTEGER has 32 bits, stamps need 64.
std::string DictionaryTablesDdl(SqlDialect dialect);
// The column type of a field type (docs/storage.md, "Data").
const char* ColumnTypeOf(std::uint8_t field_type, SqlDialect dialect);
// What a data table has beyond its T columns: PostgreSQL keeps no row order
// of its own, so each table numbers its rows in a column named rowid.
std::string RowOrderColumn(SqlDialect dialect);

// Where the database is: an SQLite file, or a PostgreSQL connection URI.
struct StorageLocation {
  std::string sqlite_path;
  std::string pg_uri;
  bool IsPostgres() const { return !pg_uri.empty(); }
  std::string Describe() const { return IsPostgres() ? "PostgreSQL " + pg_uri : sqlite_path; }
};

// A new connection to the database; null and `error` set on failure.
std::unique_ptr<SqlConnection> ConnectTo(const StorageLocation& location, std::string* error);

// What a time-stamp question can come to.
enum class StampLookup { kFound, kUnknownTable, kFailed };

// A known table without a stamp row has stamp 0.
StampLookup TableStamp(SqlConnection& connection, std::int32_t table, std::int64_t* stamp);
// Adds `delta` to the table's stamp (creating the row from 0), inside the
// caller's write transaction. False on a storage failure.
bool RaiseStamp(SqlConnection& connection, std::uint32_t table, std::int64_t delta);

class Storage {
 public:
  // Opens an existing database (never creates one) and reads its dictionary;
  // null and `error` set when it is missing or lacks the dictionary tables.
  static std::unique_ptr<Storage> Open(const StorageLocation& location, std::string* error);

  SqlDialect Dialect() const { return writer_->Dialect(); }
  const StorageLocation& Location() const { return location_; }
  // A connection of its own for one worker.
  std::unique_ptr<SqlConnection> Connect(std::string* error) const { return ConnectTo(location_, error); }

  // The dictionary as read at Open (it does not change while the server runs).
  const DictionarySchema& Schema() const { return schema_; }
  // The table with this number, or null.
  const SchemaTable* FindTable(std::uint32_t number) const;

  // The writes of this server run one at a time on one connection: hold
  // WriteMutex() while using Writer().
  SqlConnection& Writer() { return *writer_; }
  std::mutex& WriteMutex() { return write_mutex_; }

 private:
  Storage() = default;

  StorageLocation location_;
  std::mutex write_mutex_;
  std::unique_ptr<SqlConnection> writer_;
  DictionarySchema schema_;
};

// Tables in `seq` order, each table's fields in `seq` order, constants in
// `seq` order. nullopt and `error` set on a storage failure.
std::optional<DictionarySchema> LoadSchema(SqlConnection& connection, std::string* error);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STORAGE_H_
