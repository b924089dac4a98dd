#include "dictionary/dictionary_writer.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "dictionary/dictionary_files.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

template <typename Record>
void AppendRecord(std::string& file, const Record& record) {
  file.append(reinterpret_cast<const char*>(&record), sizeof(record));
}

std::string CheckText(std::string_view what, std::string_view text, std::size_t limit) {
  if (text.find('\0') != std::string_view::npos) return std::string(what) + " holds a NUL byte";
  if (text.size() > limit) return Format("%.*s is longer than %zu bytes", static_cast<int>(what.size()),
                                         what.data(), limit);
  return std::string();
}

std::string CheckTable(const SchemaTable& table) {
  const std::string where = Format("table %u", table.number);
  if (std::string error = CheckText(where + " name", table.name, kMaxNameBytes); !error.empty()) return error;
  if (table.fields.size() > kMaxFieldRun) return where + " has more than 32767 fields";
  for (const SchemaField& field : table.fields) {
    const std::string field_where = where + Format(" field %d", field.number);
    if (std::string error = CheckText(field_where + " name", field.name, kMaxNameBytes); !error.empty()) {
      return error;
    }
    if (std::string error = CheckText(field_where + " class", field.const_class, kMaxCodeBytes); !error.empty()) {
      return error;
    }
  }
  return std::string();
}

std::string CheckConst(const SchemaConst& constant) {
  const std::string where = "constant " + constant.const_class + " " + constant.code;
  const std::pair<const char*, const std::string*> codes[] = {
      {" class", &constant.const_class}, {" code", &constant.code},
      {" parent", &constant.parent_code}, {" attribute", &constant.attribute_code}};
  for (const auto& [label, text] : codes) {
    if (std::string error = CheckText(where + label, *text, kMaxCodeBytes); !error.empty()) return error;
  }
  return CheckText(where + " text", constant.text, kMaxNameBytes);
}

TableFileRecord TableRecordOf(const SchemaTable& table) {
  TableFileRecord record{};
  record.table_number = table.number;
  CopyToField(record.name, table.name);
  record.field_count = static_cast<std::int16_t>(table.fields.size());
  record.key_field = table.key_field;
  return record;
}

FieldFileRecord FieldRecordOf(const SchemaField& field) {
  FieldFileRecord record{};
  record.field_number = field.number;
  record.type = field.type;
  record.width = field.width;
  CopyToField(record.const_class, field.const_class);
  CopyToField(record.name, field.name);
  return record;
}

ConstFileRecord ConstRecordOf(const SchemaConst& constant) {
  ConstFileRecord record{};
  CopyToField(record.const_class, constant.const_class);
  CopyToField(record.code, constant.code);
  CopyToField(record.text, constant.text);
  CopyToField(record.parent_code, constant.parent_code);
  CopyToField(record.attribute_code, constant.attribute_code);
  return record;
}

}  // namespace

std::string CheckSchema(const DictionarySchema& schema) {
  for (const SchemaTable& table : schema.tables) {
    if (std::string error = CheckTable(table); !error.empty()) return error;
  }
  for (const SchemaConst& constant : schema.constants) {
    if (std::string error = CheckConst(constant); !error.empty()) return error;
  }
  return std::string();
}

DictionaryFiles BuildDictionaryFiles(const DictionarySchema& schema) {
  DictionaryFiles files;
  files.tables.reserve(schema.tables.size() * sizeof(TableFileRecord));
  for (const SchemaTable& table : schema.tables) {
    AppendRecord(files.tables, TableRecordOf(table));
    for (const SchemaField& field : table.fields) AppendRecord(files.fields, FieldRecordOf(field));
  }
  files.constants.reserve(schema.constants.size() * sizeof(ConstFileRecord));
  for (const SchemaConst& constant : schema.constants) AppendRecord(files.constants, ConstRecordOf(constant));
  return files;
}

bool WriteDictionaryFiles(const DictionaryFiles& files, const std::string& directory, bool compress) {
  const std::pair<const char*, const std::string*> plain[] = {
      {kConstFileName, &files.constants}, {kTableFileName, &files.tables}, {kFieldFileName, &files.fields}};
  for (const auto& [name, bytes] : plain) {
    if (!WriteFileAtomically(directory + name, *bytes)) return false;
  }
  if (!compress) return true;
  return WriteFileAtomically(directory + kTableDownloadName, Compress(files.tables)) &&
         WriteFileAtomically(directory + kFieldDownloadName, Compress(files.fields));
}

}  // namespace orbe
