// Small SQLite helpers the procedures share.
#ifndef ORBE_SERVER_PROCEDURE_SQLITE_H_
#define ORBE_SERVER_PROCEDURE_SQLITE_H_

#include <sqlite3.h>

#include <string_view>

#include "storage.h"

namespace orbe::server {

// Null when the statement does not prepare.
inline SqliteStatement PrepareOn(sqlite3* db, const char* sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &raw, nullptr) != SQLITE_OK) return nullptr;
  return SqliteStatement(raw);
}

// The column as text bytes (integers in decimal); NULL reads as empty.
inline std::string_view ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  if (text == nullptr) return {};
  return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))};
}

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_SQLITE_H_
