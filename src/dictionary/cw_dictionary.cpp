#include "orbe/dictionary/cw_dictionary.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "dictionary/record_text.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

std::uint64_t FieldNumberKey(std::uint32_t table_number, std::int16_t field_number) {
  return (static_cast<std::uint64_t>(table_number) << 32) | static_cast<std::uint16_t>(field_number);
}

std::string FieldNameKey(std::uint32_t table_number, std::string_view name) {
  std::string key(sizeof(table_number), '\0');
  std::memcpy(key.data(), &table_number, sizeof(table_number));
  key += AsciiUpper(name);
  return key;
}

std::string ConstCodeKey(std::string_view const_class, std::string_view code) {
  std::string key(const_class);
  key.push_back('\0');  // a class text never holds a NUL, so the key is unambiguous
  key.append(code);
  return key;
}

// The part of [first, first + count) that lies inside [0, size).
std::pair<std::int32_t, std::int32_t> ClipRun(std::int64_t first, std::int32_t count, std::int32_t size) {
  const std::int64_t begin = std::clamp<std::int64_t>(first, 0, size);
  const std::int64_t end = std::clamp<std::int64_t>(first + std::max<std::int32_t>(count, 0), begin, size);
  return {static_cast<std::int32_t>(begin), static_cast<std::int32_t>(end)};
}

}  // namespace

std::uint64_t CwDictionary::NextGeneration() {
  static std::atomic<std::uint64_t> next{1};
  return next.fetch_add(1, std::memory_order_relaxed);
}

void CwDictionary::AdoptConstants(std::vector<ConstFileRecord> records) {
  constants_ = std::move(records);
  IndexConstants();
}

void CwDictionary::AdoptTables(std::vector<TableFileRecord> records) {
  tables_ = std::move(records);
  IndexTablesAndFields();
}

void CwDictionary::AdoptFields(std::vector<FieldFileRecord> records) {
  fields_ = std::move(records);
  IndexTablesAndFields();
}

void CwDictionary::Clear() {
  AdoptConstants({});
  tables_.clear();
  tables_.shrink_to_fit();
  AdoptFields({});
}

const CwDictionary::TableRun* CwDictionary::FindTable(std::uint32_t table_number) const {
  const auto found = tables_by_number_.find(table_number);
  return found == tables_by_number_.end() ? nullptr : &found->second;
}

const TableFileRecord* CwDictionary::FindTableRecord(std::uint32_t table_number) const {
  const TableRun* run = FindTable(table_number);
  return run == nullptr ? nullptr : &tables_[run->table_record];
}

const CwDictionary::FieldHit* CwDictionary::FindFieldByNumber(std::uint32_t table_number,
                                                              std::int16_t field_number) const {
  const auto found = fields_by_number_.find(FieldNumberKey(table_number, field_number));
  return found == fields_by_number_.end() ? nullptr : &found->second;
}

const CwDictionary::FieldHit* CwDictionary::FindFieldByName(std::uint32_t table_number,
                                                            std::string_view name) const {
  const auto found = fields_by_name_.find(FieldNameKey(table_number, name));
  return found == fields_by_name_.end() ? nullptr : &found->second;
}

const std::vector<std::int32_t>* CwDictionary::FindConstClass(std::string_view const_class) const {
  const auto found = consts_by_class_.find(std::string(const_class));
  return found == consts_by_class_.end() ? nullptr : &found->second;
}

const ConstFileRecord* CwDictionary::FindConst(std::string_view const_class, std::string_view code) const {
  const auto found = const_by_code_.find(ConstCodeKey(const_class, code));
  return found == const_by_code_.end() ? nullptr : &constants_[found->second];
}

// Walks the table records as a scan would: the first record of a number owns
// it, every record (duplicates too) advances the running field index.
void CwDictionary::IndexTablesAndFields() {
  tables_by_number_.clear();
  fields_by_number_.clear();
  fields_by_name_.clear();
  tables_by_number_.reserve(tables_.size());
  fields_by_number_.reserve(fields_.size());
  fields_by_name_.reserve(fields_.size());
  std::int64_t first_field = 0;
  for (std::int32_t i = 0; i < TableCount(); ++i) {
    const std::uint32_t number = tables_[i].table_number;  // a copy: the record is packed
    const std::int32_t count = tables_[i].field_count;
    const auto [begin, end] = ClipRun(first_field, count, FieldCount());
    const auto [entry, inserted] = tables_by_number_.try_emplace(number, TableRun{i, first_field, begin, end});
    first_field += count;
    if (!inserted) continue;
    std::uint32_t offset = 0;
    for (std::int32_t f = begin; f < end; ++f) {
      const FieldFileRecord& field = fields_[f];
      const FieldHit hit{f, offset};
      fields_by_number_.try_emplace(FieldNumberKey(number, field.field_number), hit);
      fields_by_name_.try_emplace(FieldNameKey(number, CopiedText(field.name)), hit);
      offset += field.width;
    }
  }
  // After the indexes: a statement parsed meanwhile stays under the older
  // generation.
  generation_.store(NextGeneration(), std::memory_order_release);
}

void CwDictionary::IndexConstants() {
  consts_by_class_.clear();
  const_by_code_.clear();
  const_by_code_.reserve(constants_.size());
  for (std::int32_t i = 0; i < ConstCount(); ++i) {
    const ConstFileRecord& record = constants_[i];
    std::string const_class = CopiedText(record.const_class);
    const_by_code_.try_emplace(ConstCodeKey(const_class, CopiedText(record.code)), i);
    consts_by_class_[std::move(const_class)].push_back(i);
  }
  generation_.store(NextGeneration(), std::memory_order_release);
}

}  // namespace orbe
