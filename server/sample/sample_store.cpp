#include "sample/sample_store.h"

#include <cstring>
#include <limits>
#include <utility>

#include "orbe/platform/text.h"
#include "sample/sample_schema.h"
#include "storage.h"

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

TableWriter::TableWriter(const SchemaTable& table, std::unique_ptr<RowTarget> target, BuildStatus* status)
    : table_(table), target_(std::move(target)), status_(status) {}

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
  }
  std::string error;
  if (target_ == nullptr || !target_->Append(row, &error)) {
    status_->Fail(Format("table %u: %s", table_.number, error.c_str()));
    return;
  }
  ++rows_written_;
}

bool TableWriter::Finish() {
  std::string error;
  if (status_->ok() && target_ != nullptr && !target_->Finish(&error)) {
    status_->Fail(Format("table %u: %s", table_.number, error.c_str()));
  }
  return status_->ok();
}

void SampleStore::Execute(const std::string& sql) {
  if (!status_.ok()) return;
  std::string error;
  if (!database_->Execute(sql, &error)) status_.Fail(sql.substr(0, 60) + ": " + error);
}

std::unique_ptr<TableWriter> SampleStore::Writer(const std::string& table, const SchemaTable& shape,
                                                 const std::vector<std::string>& columns) {
  std::string error;
  std::unique_ptr<RowTarget> target;
  if (status_.ok()) {
    target = database_->Rows(table, columns, &error);
    if (!target) status_.Fail(table + ": " + error);
  }
  return std::make_unique<TableWriter>(shape, std::move(target), &status_);
}

void SampleStore::AddTables(const std::vector<SchemaTable>& tables) {
  const server::SqlDialect dialect = Dialect();
  for (const SchemaTable& table : tables) {
    std::string columns;
    std::vector<std::string> names;
    for (const SchemaField& field : table.fields) {
      names.push_back(ColumnName(field.number));
      columns += (columns.empty() ? "" : ", ") + names.back() + " " + server::ColumnTypeOf(field.type, dialect);
    }
    if (const std::string order = server::RowOrderColumn(dialect); !order.empty()) columns += ", " + order;
    const std::string name = DataTableName(table.number);
    Execute("CREATE TABLE " + name + " (" + columns + ")");
    if (!status_.ok()) return;
    writers_[table.number] = Writer(name, table, names);
  }
}

void SampleStore::FinishRows() {
  for (auto& [number, writer] : writers_) {
    if (!writer->Finish()) return;
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
