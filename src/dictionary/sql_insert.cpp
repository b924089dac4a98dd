// INSERT [BACK] INTO table VALUES (v1, v2, ...)
// INSERT [BACK] INTO table (Tnnn, ...) VALUES (v, ...)
#include <algorithm>
#include <map>
#include <vector>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_scanner.h"
#include "dictionary/sql_table.h"
#include "dictionary/sql_value_area.h"

namespace orbe::sql {

namespace {

// Values by field number: ascending for writing, and a field given twice
// keeps its last value. Numbers 128-255 are bound like any other.
using PendingValues = std::map<std::int32_t, std::string_view>;

struct InsertValues {
  PendingValues values;
  bool key_given = false;
};

// An item ends at "," or ")" (or the end); a quoted item only after its
// closing quote when quotes_group is set.
std::size_t ItemEnd(std::string_view text, std::size_t begin, bool quotes_group) {
  std::size_t search = begin;
  if (quotes_group && begin < text.size() && text[begin] == '\'') {
    const std::size_t close = text.find('\'', begin + 1);
    if (close != kNotFound) search = close + 1;
  }
  return text.find_first_of(",)", search);
}

// VALUES (v1, v2, ...): the k-th item is field k; quotes are not special.
bool ReadValuesOnly(const TableView& table, std::string_view text, std::size_t values_end,
                    InsertValues* insert) {
  std::size_t cursor = SkipBlanks(text, values_end);
  if (cursor >= text.size() || text[cursor] != '(') return false;
  ++cursor;
  for (std::int32_t number = 1;; ++number) {
    const std::size_t end = ItemEnd(text, cursor, false);
    const std::string_view item = text.substr(cursor, std::min(end, text.size()) - cursor);
    if (item.empty()) return true;
    if (number > table.field_count()) return false;
    insert->values[number] = item;
    if (number == table.key_field()) insert->key_given = true;
    if (end == kNotFound || text[end] == ')') return true;
    cursor = end + 1;
  }
}

// (T001,T002) VALUES (v1, v2): a column is read right where it starts, so a
// blank after a comma makes it field 0.
std::vector<std::int32_t> ReadColumns(std::string_view text, std::size_t values) {
  std::vector<std::int32_t> columns;
  std::size_t cursor = 1;
  for (;;) {
    columns.push_back(FieldNumberOf(text.substr(cursor, values - cursor)));
    const std::size_t comma = text.find(',', cursor);
    if (comma == kNotFound || comma >= values) return columns;
    cursor = comma + 1;
  }
}

void PairColumnsAndValues(const TableView& table, const std::vector<std::int32_t>& columns,
                          std::string_view text, std::size_t cursor, InsertValues* insert) {
  for (const std::int32_t column : columns) {
    if (cursor >= text.size()) return;
    const std::size_t end = ItemEnd(text, cursor, true);
    const std::string_view value = text.substr(cursor, std::min(end, text.size()) - cursor);
    if (value.empty()) return;
    insert->values[column] = value;
    if (column == table.key_field()) insert->key_given = true;
    if (end == kNotFound || text[end] == ')') return;
    cursor = end + 1;
  }
}

bool ReadInsertValues(const TableView& table, std::string_view text, InsertValues* insert) {
  const std::size_t values = FindKeyword(text, kValues);
  if (values == kNotFound) return false;
  const std::size_t values_end = values + kValues.upper.size();
  if (values == 0) return ReadValuesOnly(table, text, values_end, insert);
  const std::size_t list = SkipBlanks(text, values_end);
  if (text.front() != '(' || list >= text.size() || text[list] != '(') return false;
  PairColumnsAndValues(table, ReadColumns(text, values), text, list + 1, insert);
  return true;
}

bool WriteValues(const TableView& table, const PendingValues& values, cw_sqlinsert_req* request,
                 ValueAreaWriter* writer) {
  for (const auto& [number, text] : values) {
    const auto field = table.FieldByNumber(number);
    if (!field) continue;
    if (request->field_count >= kMaxStatementFields) return false;
    if (!writer->WriteValue(*field, text)) return false;
    request->fields[request->field_count++] = field->id;
  }
  return writer->AppendLongTexts() && request->field_count > 0;
}

// BACK counts only before INTO; the lower-case spelling is tried when the
// upper-case one is absent or stands after INTO.
bool BackBeforeInto(std::string_view statement, std::size_t into) {
  const std::size_t upper = statement.find(kBack.upper);
  if (upper != kNotFound && upper < into) return true;
  const std::size_t lower = statement.find(kBack.lower);
  return lower != kNotFound && lower < into;
}

}  // namespace

bool ParseInsertFields(const CwDictionary& dictionary, std::string_view insert_text,
                       cw_sqlinsert_req* request, std::uint8_t* value_area, std::size_t value_area_size) {
  if (request == nullptr || value_area == nullptr) return false;
  const auto table = TableView::Find(dictionary, request->table);
  if (!table) return false;
  InsertValues insert;
  insert.key_given = table->key_field() == 0;
  if (!ReadInsertValues(*table, insert_text, &insert)) return false;
  if (!insert.key_given || insert.values.empty()) return false;
  request->field_count = 0;
  request->value_length = 0;
  ValueAreaWriter writer(value_area, value_area_size);
  if (!WriteValues(*table, insert.values, request, &writer)) return false;
  request->value_length = writer.used();
  return true;
}

bool ParseInsert(const CwDictionary& dictionary, std::string_view statement, cw_sqlinsert_req* request,
                 std::uint8_t* value_area, std::size_t value_area_size) {
  if (request == nullptr || value_area == nullptr) return false;
  *request = cw_sqlinsert_req{};
  if (FindKeyword(statement, kInsert) == kNotFound) return false;
  const std::size_t into = FindKeyword(statement, kInto);
  if (into == kNotFound) return false;
  request->back = BackBeforeInto(statement, into) ? 1 : 0;
  std::size_t token_end = 0;
  request->table = ReadTableNumber(statement, into + kInto.upper.size(), &token_end);
  return ParseInsertFields(dictionary, statement.substr(SkipBlanks(statement, token_end)), request,
                           value_area, value_area_size);
}

}  // namespace orbe::sql
