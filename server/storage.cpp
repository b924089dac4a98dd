#include "storage.h"

#include <array>

#include "orbe/platform/text.h"
#include "statement_match.h"

namespace orbe::server {
namespace {

constexpr std::array<const char*, 4> kRequiredTables = {"orbe_tables", "orbe_fields", "orbe_consts",
                                                        "orbe_timestamps"};

// A table is known by its dictionary row; the stamp row may be missing.
constexpr const char* kStampSql =
    "SELECT s.stamp FROM orbe_tables t LEFT JOIN orbe_timestamps s ON s.table_number = t.number "
    "WHERE t.number = ?1";
constexpr const char* kRaiseStampSql =
    "INSERT INTO orbe_timestamps(table_number, stamp) VALUES(?1, ?2) "
    "ON CONFLICT(table_number) DO UPDATE SET stamp = stamp + excluded.stamp";

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(statement, column));
}

bool HasTable(sqlite3* db, const char* name) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?", -1, &raw, nullptr) !=
      SQLITE_OK) {
    return false;
  }
  const SqliteStatement statement(raw);
  sqlite3_bind_text(raw, 1, name, -1, SQLITE_STATIC);
  return sqlite3_step(raw) == SQLITE_ROW;
}

}  // namespace

std::unique_ptr<Storage> Storage::Open(const std::string& path, std::string* error) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
  SqliteHandle db(raw);
  if (rc != SQLITE_OK) {
    *error = Format("cannot open database %s: %s", path.c_str(), raw ? sqlite3_errmsg(raw) : "out of memory");
    return nullptr;
  }
  sqlite3_busy_timeout(raw, 5000);
  // A screening reads the daily quotes of every security: a 64 MiB page cache
  // keeps the hot index and table pages in memory between requests.
  sqlite3_exec(raw, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
  if (!RegisterMatchFunction(raw)) {
    *error = Format("database %s: cannot register the statement functions", path.c_str());
    return nullptr;
  }
  for (const char* table : kRequiredTables) {
    if (!HasTable(raw, table)) {
      *error = Format("database %s has no table %s", path.c_str(), table);
      return nullptr;
    }
  }
  std::unique_ptr<Storage> storage(new Storage(std::move(db)));
  storage->stamp_query_ = storage->Prepare(kStampSql, error);
  if (!storage->stamp_query_) return nullptr;
  storage->raise_stamp_ = storage->Prepare(kRaiseStampSql, error);
  if (!storage->raise_stamp_) return nullptr;
  return storage;
}

SqliteStatement Storage::Prepare(const char* sql, std::string* error) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_.get(), sql, -1, &raw, nullptr) != SQLITE_OK) {
    *error = Format("storage: %s", sqlite3_errmsg(db_.get()));
    return nullptr;
  }
  return SqliteStatement(raw);
}

std::optional<DictionarySchema> Storage::LoadSchema(std::string* error) {
  const std::lock_guard lock(mutex_);
  return LoadSchemaLocked(error);
}

std::optional<DictionarySchema> Storage::LoadSchemaLocked(std::string* error) {
  DictionarySchema schema;
  auto tables = Prepare("SELECT number, name, key_field FROM orbe_tables ORDER BY seq, number", error);
  auto fields = Prepare(
      "SELECT number, type, width, const_class, name FROM orbe_fields WHERE table_number = ? ORDER BY seq",
      error);
  auto consts = Prepare("SELECT class, code, text, parent, attr FROM orbe_consts ORDER BY seq", error);
  if (!tables || !fields || !consts) return std::nullopt;
  int rc;
  while ((rc = sqlite3_step(tables.get())) == SQLITE_ROW) {
    SchemaTable table;
    table.number = static_cast<std::uint32_t>(sqlite3_column_int64(tables.get(), 0));
    table.name = ColumnText(tables.get(), 1);
    table.key_field = static_cast<std::uint8_t>(sqlite3_column_int(tables.get(), 2));
    sqlite3_reset(fields.get());
    sqlite3_bind_int64(fields.get(), 1, table.number);
    int field_rc;
    while ((field_rc = sqlite3_step(fields.get())) == SQLITE_ROW) {
      SchemaField field;
      field.number = static_cast<std::int16_t>(sqlite3_column_int(fields.get(), 0));
      field.type = static_cast<std::uint8_t>(sqlite3_column_int(fields.get(), 1));
      field.width = static_cast<std::uint16_t>(sqlite3_column_int(fields.get(), 2));
      field.const_class = ColumnText(fields.get(), 3);
      field.name = ColumnText(fields.get(), 4);
      table.fields.push_back(std::move(field));
    }
    if (field_rc != SQLITE_DONE) break;
    schema.tables.push_back(std::move(table));
  }
  if (rc == SQLITE_DONE) {
    while ((rc = sqlite3_step(consts.get())) == SQLITE_ROW) {
      schema.constants.push_back({ColumnText(consts.get(), 0), ColumnText(consts.get(), 1),
                                  ColumnText(consts.get(), 2), ColumnText(consts.get(), 3),
                                  ColumnText(consts.get(), 4)});
    }
  }
  if (rc != SQLITE_DONE) {
    *error = Format("storage: reading the dictionary failed: %s", sqlite3_errmsg(db_.get()));
    return std::nullopt;
  }
  return schema;
}

StampLookup Storage::TableStamp(std::int32_t table, std::int64_t* stamp) {
  const std::lock_guard lock(mutex_);
  sqlite3_stmt* query = stamp_query_.get();
  sqlite3_bind_int64(query, 1, table);
  const int rc = sqlite3_step(query);
  if (rc == SQLITE_ROW) *stamp = sqlite3_column_int64(query, 0);  // NULL (no stamp row) reads as 0
  // A statement left on its row keeps its read transaction open, which
  // blocks writers (other processes, checkpoints) until the next question.
  sqlite3_reset(query);
  if (rc == SQLITE_DONE) return StampLookup::kUnknownTable;
  return rc == SQLITE_ROW ? StampLookup::kFound : StampLookup::kFailed;
}

const DictionarySchema* Storage::Schema(std::string* error) {
  const std::lock_guard lock(mutex_);
  if (!schema_) schema_ = LoadSchemaLocked(error);
  return schema_ ? &*schema_ : nullptr;
}

const SchemaTable* Storage::FindTable(std::uint32_t number) {
  std::string error;
  const DictionarySchema* schema = Schema(&error);
  if (schema == nullptr) return nullptr;
  for (const SchemaTable& table : schema->tables) {
    if (table.number == number) return &table;
  }
  return nullptr;
}

bool Storage::RaiseStamp(std::uint32_t table, std::int64_t delta) {
  const std::lock_guard lock(mutex_);
  return RaiseStampLocked(table, delta);
}

bool Storage::RaiseStampLocked(std::uint32_t table, std::int64_t delta) {
  sqlite3_stmt* statement = raise_stamp_.get();
  sqlite3_bind_int64(statement, 1, table);
  sqlite3_bind_int64(statement, 2, delta);
  const bool done = sqlite3_step(statement) == SQLITE_DONE;
  sqlite3_reset(statement);
  return done;
}

}  // namespace orbe::server
