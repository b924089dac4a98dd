#include "cache/sqlite_handle.h"

namespace orbe::cache {

Statement::Statement(sqlite3* db, std::string_view sql) {
  if (sqlite3_prepare_v3(db, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt_,
                         nullptr) != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

void Statement::BindBytes(int index, std::string_view bytes) {
  // A zero-length blob, not NULL, for an empty value: the column is NOT NULL.
  sqlite3_bind_blob64(stmt_, index, bytes.empty() ? "" : bytes.data(), bytes.size(), SQLITE_STATIC);
}

void Statement::BindInt(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }

int Statement::Step() { return sqlite3_step(stmt_); }

std::int64_t Statement::ColumnInt(int index) const { return sqlite3_column_int64(stmt_, index); }

std::string_view Statement::ColumnBytes(int index) const {
  const void* data = sqlite3_column_blob(stmt_, index);
  const int size = sqlite3_column_bytes(stmt_, index);
  if (data == nullptr || size <= 0) return {};
  return {static_cast<const char*>(data), static_cast<std::size_t>(size)};
}

void Statement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int Execute(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

}  // namespace orbe::cache
