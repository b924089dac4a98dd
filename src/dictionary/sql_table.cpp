#include "dictionary/sql_table.h"

#include <limits>

#include "orbe/dictionary/cw_dictionary.h"

namespace orbe::sql {

std::optional<TableView> TableView::Find(const CwDictionary& dictionary, std::int32_t table_number) {
  // The record holds the number as written, so a negative one wraps as in the request.
  const auto number = static_cast<std::uint32_t>(table_number);
  const TableFileRecord* record = dictionary.FindTableRecord(number);
  if (record == nullptr) return std::nullopt;
  return TableView(dictionary, number, record->field_count, record->key_field);
}

std::optional<FieldView> TableView::FieldByNumber(std::int32_t number) const {
  using Limits = std::numeric_limits<std::int16_t>;
  if (number < Limits::min() || number > Limits::max()) return std::nullopt;
  const CwDictionary::FieldHit* hit =
      dictionary_->FindFieldByNumber(table_number_, static_cast<std::int16_t>(number));
  if (hit == nullptr) return std::nullopt;
  const FieldFileRecord& field = dictionary_->Fields()[hit->field_record];
  const auto id = static_cast<std::uint8_t>(field.field_number & 0xFF);
  return FieldView{id, field.type, field.width, hit->offset};
}

std::optional<std::uint8_t> TableView::FieldIdByName(std::string_view text) const {
  unsigned char id = 0;
  if (!dictionary_->GetOneFieldID(table_number_, text, &id)) return std::nullopt;
  return id;
}

int TableView::AllFieldIds(std::uint8_t* ids, int max_count) const {
  return static_cast<int>(dictionary_->GetFieldID(table_number_, ids, max_count));
}

}  // namespace orbe::sql
