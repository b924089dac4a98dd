// The sample market into an SQLite file: one prepared INSERT per table.
#include "orbe/platform/text.h"
#include "sample/sample_store.h"

namespace orbe::sample {
namespace {

class SqliteRows final : public RowTarget {
 public:
  explicit SqliteRows(SqliteStatementHandle insert) : insert_(std::move(insert)) {}

  bool Append(const Row& row, std::string* error) override {
    sqlite3_stmt* insert = insert_.get();
    for (std::size_t i = 0; i < row.size(); ++i) {
      const int column = static_cast<int>(i) + 1;
      const Value& value = row[i];
      if (const std::int64_t* integer = std::get_if<std::int64_t>(&value)) {
        sqlite3_bind_int64(insert, column, *integer);
      } else if (const double* real = std::get_if<double>(&value)) {
        sqlite3_bind_double(insert, column, *real);
      } else if (const std::string* text = std::get_if<std::string>(&value)) {
        sqlite3_bind_text(insert, column, text->data(), static_cast<int>(text->size()), SQLITE_STATIC);
      } else {
        sqlite3_bind_null(insert, column);
      }
    }
    const int step = sqlite3_step(insert);
    sqlite3_reset(insert);
    if (step == SQLITE_DONE) return true;
    *error = sqlite3_errmsg(sqlite3_db_handle(insert));
    return false;
  }
  bool Finish(std::string*) override { return true; }

 private:
  const SqliteStatementHandle insert_;
};

class SqliteDatabase final : public SampleDatabase {
 public:
  explicit SqliteDatabase(SqliteHandle db) : db_(std::move(db)) {}

  server::SqlDialect Dialect() const override { return server::SqlDialect::kSqlite; }
  bool Execute(const std::string& sql, std::string* error) override {
    char* message = nullptr;
    const bool ok = sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK;
    if (!ok) *error = message != nullptr ? message : sqlite3_errmsg(db_.get());
    sqlite3_free(message);
    return ok;
  }
  std::unique_ptr<RowTarget> Rows(const std::string& table, const std::vector<std::string>& columns,
                                  std::string* error) override {
    std::string names;
    std::string marks;
    for (const std::string& column : columns) {
      names += (names.empty() ? "" : ", ") + column;
      marks += marks.empty() ? "?" : ", ?";
    }
    const std::string sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
      *error = sqlite3_errmsg(db_.get());
      return nullptr;
    }
    return std::make_unique<SqliteRows>(SqliteStatementHandle(raw));
  }

 private:
  SqliteHandle db_;
};

}  // namespace

std::unique_ptr<SampleStore> SampleStore::Open(const std::string& path, std::string* error) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  SqliteHandle db(raw);
  if (opened != SQLITE_OK) {
    *error = path + ": " + (raw != nullptr ? sqlite3_errmsg(raw) : "cannot open");
    return nullptr;
  }
  auto store = std::make_unique<SampleStore>(std::make_unique<SqliteDatabase>(std::move(db)));
  store->Execute(
      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
      "PRAGMA cache_size=-65536; PRAGMA temp_store=MEMORY");
  if (!store->status().ok()) {
    *error = store->status().error();
    return nullptr;
  }
  return store;
}

}  // namespace orbe::sample
