// Lookups over a loaded dictionary. Results are those of a scan of the
// records in file order; the indexes only spare the scan.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <optional>

#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/dictionary/field_name.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

template <typename Record>
void ZeroFill(Record* records, std::size_t count) {
  std::memset(static_cast<void*>(records), 0, sizeof(Record) * count);
}

tagMemFieldInfo MemFieldOf(const FieldFileRecord& record, std::uint32_t offset) {
  tagMemFieldInfo info{};
  info.field_number = record.field_number;
  info.type = record.type;
  CopyToField(info.name, FieldText(record.name));
  info.offset = offset;
  info.width = record.width;
  CopyToField(info.const_class, FieldText(record.const_class));
  return info;
}

// The field number n whose generated name "T%03d" equals text ignoring case.
// At most one n qualifies, so the index lookup by number is exact.
std::optional<std::int16_t> FieldNumberOfText(std::string_view text) {
  if (text.size() < 2 || (text[0] != 'T' && text[0] != 't')) return std::nullopt;
  const std::string_view digits = text.substr(1);
  int number = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  if (number < std::numeric_limits<std::int16_t>::min() || number > std::numeric_limits<std::int16_t>::max())
    return std::nullopt;
  if (std::string_view(GeneratedFieldName(number)).substr(1) != digits) return std::nullopt;
  return static_cast<std::int16_t>(number);
}

}  // namespace

long CwDictionary::GetAllTable(tagMemTableInfo* tables) const {
  if (tables == nullptr) return 0;
  ZeroFill(tables, kMaxTables);
  const std::int32_t count = std::min(TableCount(), kMaxTables);
  for (std::int32_t i = 0; i < count; ++i) {
    tables[i].table_number = tables_[i].table_number;
    CopyToField(tables[i].name, FieldText(tables_[i].name));
  }
  return count;
}

long CwDictionary::GetFieldInfo(std::uint32_t table_number, tagMemFieldInfo* fields) const {
  if (fields == nullptr) return 0;
  ZeroFill(fields, kMaxFieldsPerTable);
  const TableRun* run = FindTable(table_number);
  if (run == nullptr) return 0;
  const std::int32_t count = std::min(run->end - run->begin, kMaxFieldsPerTable);
  std::uint32_t offset = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    const FieldFileRecord& record = fields_[run->begin + i];
    fields[i] = MemFieldOf(record, offset);
    offset += record.width;
  }
  return count;
}

bool CwDictionary::GetOneFieldInfo(std::uint32_t table_number, std::string_view field_text,
                                   tagMemFieldInfo* field) const {
  if (field == nullptr) return false;
  *field = tagMemFieldInfo{};
  const std::optional<std::int16_t> number = FieldNumberOfText(field_text);
  if (!number) return false;
  const FieldHit* hit = FindFieldByNumber(table_number, *number);
  if (hit == nullptr) return false;
  *field = MemFieldOf(fields_[hit->field_record], hit->offset);
  return true;
}

bool CwDictionary::GetOneFieldInfo2(std::uint32_t table_number, std::string_view field_name,
                                    tagMemFieldInfo* field) const {
  if (field == nullptr) return false;
  *field = tagMemFieldInfo{};
  const FieldHit* hit = FindFieldByName(table_number, field_name);
  if (hit == nullptr) return false;
  *field = MemFieldOf(fields_[hit->field_record], hit->offset);
  return true;
}

long CwDictionary::GetFieldID(std::uint32_t table_number, unsigned char* ids, long max_count) const {
  if (ids == nullptr || max_count <= 0) return 0;
  const TableRun* run = FindTable(table_number);
  if (run == nullptr) return 0;
  const long count = std::min<long>(run->end - run->begin, max_count);
  for (long i = 0; i < count; ++i) {
    ids[i] = static_cast<unsigned char>(fields_[run->begin + i].field_number & 0xFF);
  }
  return count;
}

bool CwDictionary::GetOneFieldID(std::uint32_t table_number, std::string_view field_text,
                                 unsigned char* id) const {
  if (id == nullptr) return false;
  const std::optional<std::int16_t> number = FieldNumberOfText(field_text);
  if (!number) return false;
  const FieldHit* hit = FindFieldByNumber(table_number, *number);
  if (hit == nullptr) return false;
  *id = static_cast<unsigned char>(fields_[hit->field_record].field_number & 0xFF);
  return true;
}

long CwDictionary::GetConstList(std::string_view const_class, tagMemConstInfo* consts) const {
  if (consts == nullptr) return 0;
  ZeroFill(consts, kMaxConstsPerClass);
  const std::vector<std::int32_t>* members = FindConstClass(const_class);
  if (members == nullptr) return 0;
  const long count = std::min<long>(static_cast<long>(members->size()), kMaxConstsPerClass);
  for (long i = 0; i < count; ++i) {
    const ConstFileRecord& record = constants_[(*members)[i]];
    CopyToField(consts[i].const_class, FieldText(record.const_class));
    CopyToField(consts[i].code, FieldText(record.code));
    CopyToField(consts[i].text, FieldText(record.text));
    CopyToField(consts[i].parent_code, FieldText(record.parent_code));
  }
  return count;
}

tagMemConstInfo CwDictionary::GetConst(std::string_view const_class, std::string_view code) const {
  tagMemConstInfo info{};
  const ConstFileRecord* record = FindConst(const_class, code);
  if (record == nullptr) return info;
  CopyToField(info.const_class, FieldText(record->const_class));
  CopyToField(info.code, FieldText(record->code));
  CopyToField(info.text, FieldText(record->text));
  CopyToField(info.parent_code, FieldText(record->parent_code));
  CopyToField(info.attribute_code, FieldText(record->attribute_code));
  return info;
}

}  // namespace orbe
