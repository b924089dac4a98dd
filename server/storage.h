// The server's SQLite database (docs/storage.md): the dictionary schema it
// hands out as files, and the tables' time stamps.
#ifndef ORBE_SERVER_STORAGE_H_
#define ORBE_SERVER_STORAGE_H_

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "dictionary/dictionary_writer.h"

namespace orbe::server {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// The dictionary tables of the storage contract (docs/storage.md): whoever
// creates a database runs this first.
inline constexpr const char* kDictionaryTablesDdl =
    "CREATE TABLE orbe_tables(number INTEGER PRIMARY KEY, name TEXT, key_field INTEGER, seq INTEGER);"
    "CREATE TABLE orbe_fields(table_number INTEGER, seq INTEGER, number INTEGER, type INTEGER, width INTEGER,"
    " const_class TEXT, name TEXT);"
    "CREATE INDEX orbe_fields_by_table ON orbe_fields(table_number, seq);"
    "CREATE TABLE orbe_consts(seq INTEGER PRIMARY KEY, class TEXT, code TEXT, text TEXT, parent TEXT, attr "
    "TEXT);"
    "CREATE INDEX orbe_consts_by_class ON orbe_consts(class, code);"
    "CREATE TABLE orbe_timestamps(table_number INTEGER PRIMARY KEY, stamp INTEGER);";

// What a time-stamp question can come to.
enum class StampLookup { kFound, kUnknownTable, kFailed };

class Storage {
 public:
  // Opens an existing database (never creates one); null and `error` set
  // when it is missing or lacks the dictionary tables.
  static std::unique_ptr<Storage> Open(const std::string& path, std::string* error);

  // Tables in `seq` order, each table's fields in `seq` order, constants in
  // `seq` order. nullopt and `error` set on a storage failure.
  std::optional<DictionarySchema> LoadSchema(std::string* error);

  // A known table without a stamp row has stamp 0.
  StampLookup TableStamp(std::int32_t table, std::int64_t* stamp);

  // The schema as loaded at the first call; later calls do not touch the
  // database (the dictionary does not change while the server runs). Null
  // and `error` set when the first load failed.
  const DictionarySchema* Schema(std::string* error);
  // The table with this number in the cached schema, or null.
  const SchemaTable* FindTable(std::uint32_t number);

  // Adds `delta` to the table's stamp (creating the row from 0). Callers that
  // already hold Mutex() use RaiseStampLocked. False on a storage failure.
  bool RaiseStamp(std::uint32_t table, std::int64_t delta);
  bool RaiseStampLocked(std::uint32_t table, std::int64_t delta);

  // For code that runs its own statements: hold Mutex() while using Handle().
  sqlite3* Handle() const { return db_.get(); }
  std::mutex& Mutex() { return mutex_; }
  // Prepares on Handle(); null and `error` set on failure.
  SqliteStatement Prepare(const char* sql, std::string* error);

 private:
  explicit Storage(SqliteHandle db) : db_(std::move(db)) {}
  std::optional<DictionarySchema> LoadSchemaLocked(std::string* error);

  std::mutex mutex_;
  SqliteHandle db_;
  SqliteStatement stamp_query_;
  SqliteStatement raise_stamp_;
  std::optional<DictionarySchema> schema_;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_STORAGE_H_
