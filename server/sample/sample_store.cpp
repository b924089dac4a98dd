#include "sample/sample_store.h"

#include <cstring>
#include <limits>
#include <utility>

#include "orbe/platform/text.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

struct IntegerRange {
  std::int64_t low;
  std::int64_t high;
};

IntegerRange RangeOf(std::uint8_t type) {
  switch (type) {
    case kInt16: return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case kByte: return {0, 255};
    case kInt32:
    case kDate: return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()};
    default: return {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()};
  }
}

}  // namespace

std::string DataTableName(std::uint32_t number) {
  return Format("t%u", number);
}
std::string ColumnName(int field_number) {
  return Format("T%03d", field_number);
}

const char* SqlTypeOf(std::uint8_t field_type) {
  if (IsIntegerType(field_type)) return "INTEGER";
  if (IsRealType(field_type)) return "REAL";
  return "TEXT";
}

TableWriter::TableWriter(const SchemaTable& table, SqliteStatementHandle insert, BuildStatus* status)
    : table_(table), insert_(std::move(insert)), status_(status) {}

std::string TableWriter::CheckValue(const SchemaField& field, const Value& value) const {
  if (std::holds_alternative<std::monostate>(value)) return std::string();
  if (IsIntegerType(field.type)) {
    const std::int64_t* integer = std::get_if<std::int64_t>(&value);
    if (integer == nullptr) return "needs an integer";
    const IntegerRange range = RangeOf(field.type);
    if (*integer < range.low || *integer > range.high) {
      return Format("value %lld out of range", static_cast<long long>(*integer));
    }
    return std::string();
  }
  if (IsRealType(field.type)) return std::holds_alternative<double>(value) ? "" : "needs a real";
  const std::string* text = std::get_if<std::string>(&value);
  if (text == nullptr) return "needs a text";
  if (text->find('\0') != std::string::npos) return "text holds a NUL byte";
  // Fixed-width texts keep room for their terminating NUL in a reply record.
  if ((field.type == kCodeText || field.type == kText) && text->size() >= field.width) {
    return Format("text of %zu bytes does not fit width %u", text->size(), field.width);
  }
  return std::string();
}

void TableWriter::Bind(int column, const Value& value) {
  sqlite3_stmt* insert = insert_.get();
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

void TableWriter::Write(const Row& row) {
  if (!status_->ok()) return;
  if (row.size() != table_.fields.size()) {
    status_->Fail(Format("table %u: row of %zu values for %zu fields", table_.number, row.size(),
                         table_.fields.size()));
    return;
  }
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (std::string problem = CheckValue(table_.fields[i], row[i]); !problem.empty()) {
      status_->Fail(Format("table %u field %d: %s", table_.number, table_.fields[i].number, problem.c_str()));
      return;
    }
    Bind(static_cast<int>(i) + 1, row[i]);
  }
  const int step = sqlite3_step(insert_.get());
  sqlite3_reset(insert_.get());
  if (step != SQLITE_DONE) {
    status_->Fail(Format("table %u: %s", table_.number, sqlite3_errmsg(sqlite3_db_handle(insert_.get()))));
    return;
  }
  ++rows_written_;
}

std::unique_ptr<SampleStore> SampleStore::Open(const std::string& path, std::string* error) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  SqliteHandle db(raw);
  if (opened != SQLITE_OK) {
    *error = path + ": " + (raw != nullptr ? sqlite3_errmsg(raw) : "cannot open");
    return nullptr;
  }
  auto store = std::make_unique<SampleStore>(std::move(db));
  store->Execute(
      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; PRAGMA locking_mode=EXCLUSIVE;"
      "PRAGMA cache_size=-65536; PRAGMA temp_store=MEMORY");
  if (!store->status().ok()) {
    *error = store->status().error();
    return nullptr;
  }
  return store;
}

void SampleStore::Execute(const std::string& sql) {
  if (!status_.ok()) return;
  char* message = nullptr;
  if (sqlite3_exec(db_.get(), sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    status_.Fail(sql.substr(0, 60) + ": " + (message != nullptr ? message : SqliteError()));
  }
  sqlite3_free(message);
}

SqliteStatementHandle SampleStore::Prepare(const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_.get(), sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK) {
    status_.Fail(sql.substr(0, 60) + ": " + SqliteError());
  }
  return SqliteStatementHandle(raw);
}

void SampleStore::AddTables(const std::vector<SchemaTable>& tables) {
  for (const SchemaTable& table : tables) {
    std::string columns;
    std::string marks;
    for (const SchemaField& field : table.fields) {
      columns += (columns.empty() ? "" : ", ") + ColumnName(field.number) + " " + SqlTypeOf(field.type);
      marks += marks.empty() ? "?" : ", ?";
    }
    const std::string name = DataTableName(table.number);
    Execute("CREATE TABLE " + name + " (" + columns + ")");
    SqliteStatementHandle insert = Prepare("INSERT INTO " + name + " VALUES (" + marks + ")");
    if (!status_.ok()) return;
    writers_[table.number] = std::make_unique<TableWriter>(table, std::move(insert), &status_);
  }
}

TableWriter& SampleStore::Table(std::uint32_t number) {
  const auto found = writers_.find(number);
  if (found != writers_.end()) return *found->second;
  status_.Fail(Format("no data table %u", number));
  if (!discard_) discard_ = std::make_unique<TableWriter>(SchemaTable{}, nullptr, &status_);
  return *discard_;
}

}  // namespace orbe::sample
