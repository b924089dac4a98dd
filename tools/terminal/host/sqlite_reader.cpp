#include "host/sqlite_reader.h"

namespace orbe {

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) statement_.reset(statement);
}

void SqliteStatement::Bind(int index, std::string_view text) {
  if (!ok()) return;
  sqlite3_reset(statement_.get());
  sqlite3_bind_text(statement_.get(), index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void SqliteStatement::Bind(int index, std::int64_t value) {
  if (!ok()) return;
  sqlite3_reset(statement_.get());
  sqlite3_bind_int64(statement_.get(), index, value);
}

bool SqliteStatement::Step() { return ok() && sqlite3_step(statement_.get()) == SQLITE_ROW; }

void SqliteStatement::Reset() {
  if (ok()) sqlite3_reset(statement_.get());
}

std::string SqliteStatement::Text(int column) const {
  const auto* bytes = sqlite3_column_text(statement_.get(), column);
  if (bytes == nullptr) return "";
  return std::string(reinterpret_cast<const char*>(bytes),
                     static_cast<std::size_t>(sqlite3_column_bytes(statement_.get(), column)));
}

std::int64_t SqliteStatement::Int(int column) const { return sqlite3_column_int64(statement_.get(), column); }

double SqliteStatement::Real(int column) const { return sqlite3_column_double(statement_.get(), column); }

bool SqliteStatement::IsNull(int column) const {
  return sqlite3_column_type(statement_.get(), column) == SQLITE_NULL;
}

std::unique_ptr<SqliteReader> SqliteReader::Open(const std::string& path, std::string* error) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
  std::unique_ptr<SqliteReader> reader(new SqliteReader(db));
  if (rc != SQLITE_OK) {
    if (error) *error = path + ": " + (db ? sqlite3_errmsg(db) : "cannot open");
    return nullptr;
  }
  return reader;
}

}  // namespace orbe
