// The schema that dictionary files describe, for dumping them.
#include <algorithm>

#include "dictionary/record_text.h"
#include "orbe/platform/text.h"
#include "schema_text.h"

namespace orbe::dicttool {
namespace {

SchemaField FieldOf(const FieldFileRecord& record) {
  return SchemaField{record.field_number, record.type, record.width, CopiedText(record.const_class),
                     CopiedText(record.name)};
}

SchemaConst ConstOf(const ConstFileRecord& record) {
  return SchemaConst{CopiedText(record.const_class), CopiedText(record.code), CopiedText(record.text),
                     CopiedText(record.parent_code), CopiedText(record.attribute_code)};
}

}  // namespace

DictionarySchema SchemaOfRecords(const DictionaryRecordView& records, std::vector<std::string>& warnings) {
  DictionarySchema schema;
  const std::span<const FieldFileRecord> fields = records.fields;
  const auto field_count = static_cast<std::int64_t>(fields.size());
  std::int64_t first_field = 0;
  for (const TableFileRecord& record : records.tables) {
    SchemaTable table{record.table_number, record.key_field, CopiedText(record.name), {}};
    const std::int64_t count = record.field_count;
    const std::int64_t begin = std::clamp<std::int64_t>(first_field, 0, field_count);
    const std::int64_t end =
        std::clamp<std::int64_t>(first_field + std::max<std::int64_t>(count, 0), begin, field_count);
    if (end - begin != count) {
      warnings.push_back(Format("table %u: %d fields in its record, %lld in the field file", record.table_number,
                                record.field_count, static_cast<long long>(end - begin)));
    }
    for (std::int64_t i = begin; i < end; ++i) table.fields.push_back(FieldOf(fields[i]));
    first_field += count;
    schema.tables.push_back(std::move(table));
  }
  if (first_field < field_count) {
    warnings.push_back(Format("%lld field records belong to no table",
                              static_cast<long long>(field_count - first_field)));
  }
  for (const ConstFileRecord& record : records.constants) schema.constants.push_back(ConstOf(record));
  return schema;
}

}  // namespace orbe::dicttool
