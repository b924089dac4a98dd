#include "sample/sample_dictionary.h"

#include "orbe/platform/text.h"
#include "sample/sample_schema.h"
#include "storage.h"

namespace orbe::sample {
namespace {

// The dictionary tables have no dictionary entry of their own; these
// descriptions let them go through the same checked writer as the data.
SchemaTable DictionaryTable(std::uint32_t pseudo_number, std::initializer_list<std::uint8_t> types) {
  SchemaTable table;
  table.number = pseudo_number;
  std::int16_t number = 0;
  for (const std::uint8_t type : types) {
    table.fields.push_back({++number, type, static_cast<std::uint16_t>(type == kText ? 4096 : 8), "", ""});
  }
  return table;
}

SqliteStatementHandle PrepareInsert(SampleStore& store, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(store.db(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    store.status().Fail(sql + ": " + store.SqliteError());
  }
  return SqliteStatementHandle(raw);
}

}  // namespace

void WriteDictionary(SampleStore& store, const DictionarySchema& schema, std::int64_t stamp) {
  store.Execute(server::kDictionaryTablesDdl);
  if (!store.status().ok()) return;
  TableWriter tables(DictionaryTable(1, {kInt64, kText, kInt64, kInt64}),
                     PrepareInsert(store, "INSERT INTO orbe_tables VALUES (?, ?, ?, ?)"), &store.status());
  TableWriter fields(DictionaryTable(2, {kInt64, kInt64, kInt64, kInt64, kInt64, kText, kText}),
                     PrepareInsert(store, "INSERT INTO orbe_fields VALUES (?, ?, ?, ?, ?, ?, ?)"),
                     &store.status());
  TableWriter consts(DictionaryTable(3, {kInt64, kText, kText, kText, kText, kText}),
                     PrepareInsert(store, "INSERT INTO orbe_consts VALUES (?, ?, ?, ?, ?, ?)"),
                     &store.status());
  TableWriter stamps(DictionaryTable(4, {kInt64, kInt64}),
                     PrepareInsert(store, "INSERT INTO orbe_timestamps VALUES (?, ?)"), &store.status());
  std::int64_t table_seq = 0;
  for (const SchemaTable& table : schema.tables) {
    const std::int64_t number = table.number;
    tables.Write({number, table.name, std::int64_t{table.key_field}, ++table_seq});
    std::int64_t field_seq = 0;
    for (const SchemaField& field : table.fields) {
      fields.Write({number, ++field_seq, std::int64_t{field.number}, std::int64_t{field.type},
                    std::int64_t{field.width}, field.const_class, field.name});
    }
    stamps.Write({number, stamp});
  }
  std::int64_t const_seq = 0;
  for (const SchemaConst& constant : schema.constants) {
    consts.Write({++const_seq, constant.const_class, constant.code, constant.text, constant.parent_code,
                  constant.attribute_code});
  }
}

void CreateIndexes(SampleStore& store, const std::vector<SchemaTable>& tables) {
  for (const SchemaTable& table : tables) {
    const std::string name = DataTableName(table.number);
    for (const std::vector<int>& index : SampleIndexes(table.number)) {
      std::string columns;
      std::string suffix;
      for (const int field : index) {
        columns += (columns.empty() ? "" : ", ") + ColumnName(field);
        suffix += "_" + ColumnName(field);
      }
      store.Execute("CREATE INDEX " + name + suffix + " ON " + name + " (" + columns + ")");
    }
  }
}

}  // namespace orbe::sample
