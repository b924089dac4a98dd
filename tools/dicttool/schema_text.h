// The readable dictionary schema of orbe-dicttool (docs/dictionary.md):
// UTF-8 text of table, field and const lines.
#ifndef ORBE_TOOLS_DICTTOOL_SCHEMA_TEXT_H_
#define ORBE_TOOLS_DICTTOOL_SCHEMA_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include <span>

#include "dictionary/dictionary_writer.h"
#include "orbe/dictionary/dictionary_records.h"

namespace orbe::dicttool {

struct ParsedSchema {
  DictionarySchema schema;  // texts converted to GBK
  std::string error;        // "line N: ..." or "" on success
};

ParsedSchema ParseSchemaText(std::string_view utf8_text);

// The normalised text of a schema, UTF-8: tables with their fields first,
// then the constants, one blank between tokens, quotes only where needed.
std::string FormatSchemaText(const DictionarySchema& schema);

// The records of the three files as read.
struct DictionaryRecordView {
  std::span<const TableFileRecord> tables;
  std::span<const FieldFileRecord> fields;
  std::span<const ConstFileRecord> constants;
};

// The schema the records describe, each table record with its own field run.
// Anything the text cannot express (field records outside every run, negative
// counts, runs cut by the end of the field file) is reported in warnings.
DictionarySchema SchemaOfRecords(const DictionaryRecordView& records, std::vector<std::string>& warnings);

}  // namespace orbe::dicttool

#endif  // ORBE_TOOLS_DICTTOOL_SCHEMA_TEXT_H_
