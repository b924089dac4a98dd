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

}  // namespace

void WriteDictionary(SampleStore& store, const DictionarySchema& schema, std::int64_t stamp) {
  store.Execute(server::DictionaryTablesDdl(store.Dialect()));
  if (!store.status().ok()) return;
  const auto tables = store.Writer("orbe_tables", DictionaryTable(1, {kInt64, kText, kInt64, kInt64}),
                                   {"number", "name", "key_field", "seq"});
  const auto fields =
      store.Writer("orbe_fields", DictionaryTable(2, {kInt64, kInt64, kInt64, kInt64, kInt64, kText, kText}),
                   {"table_number", "seq", "number", "type", "width", "const_class", "name"});
  const auto consts = store.Writer("orbe_consts", DictionaryTable(3, {kInt64, kText, kText, kText, kText, kText}),
                                   {"seq", "class", "code", "text", "parent", "attr"});
  const auto stamps =
      store.Writer("orbe_timestamps", DictionaryTable(4, {kInt64, kInt64}), {"table_number", "stamp"});
  std::int64_t table_seq = 0;
  for (const SchemaTable& table : schema.tables) {
    const std::int64_t number = table.number;
    tables->Write({number, table.name, std::int64_t{table.key_field}, ++table_seq});
    std::int64_t field_seq = 0;
    for (const SchemaField& field : table.fields) {
      fields->Write({number, ++field_seq, std::int64_t{field.number}, std::int64_t{field.type},
                    std::int64_t{field.width}, field.const_class, field.name});
    }
    stamps->Write({number, stamp});
  }
  std::int64_t const_seq = 0;
  for (const SchemaConst& constant : schema.constants) {
    consts->Write({++const_seq, constant.const_class, constant.code, constant.text, constant.parent_code,
                  constant.attribute_code});
  }
  for (TableWriter* writer : {tables.get(), fields.get(), consts.get(), stamps.get()}) writer->Finish();
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
    // SQLite keeps its rows in rowid order; PostgreSQL needs an index for it.
    if (store.Dialect() == server::SqlDialect::kPostgres) {
      store.Execute("CREATE INDEX " + name + "_rowid ON " + name + " (rowid)");
    }
  }
}

}  // namespace orbe::sample
