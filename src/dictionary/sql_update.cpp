// UPDATE table SET Tnnn=value[, ...] [WHERE ...]
#include <algorithm>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_scanner.h"
#include "dictionary/sql_table.h"
#include "dictionary/sql_value_area.h"

namespace orbe::sql {

namespace {

// A value ends at the first "," after it (after its closing quote when
// quoted, so quoted commas stay in), or at the end of the list.
std::size_t ValueEnd(std::string_view list, std::size_t begin) {
  std::size_t search = begin;
  if (begin < list.size() && list[begin] == '\'') {
    const std::size_t close = list.find('\'', begin + 1);
    if (close != kNotFound) search = close + 1;
  }
  return std::min(list.find(',', search), list.size());
}

std::size_t SkipSeparators(std::string_view list, std::size_t pos) {
  while (pos < list.size() && (IsBlank(list[pos]) || list[pos] == ',')) ++pos;
  return pos;
}

bool ReadSetList(const TableView& table, std::string_view list, cw_sqlupdate_req* request,
                 ValueAreaWriter* writer) {
  std::size_t cursor = 0;
  while (cursor < list.size()) {
    const std::int32_t number = FieldNumberOf(list.substr(cursor));
    const std::size_t equals = list.find('=', cursor);
    if (equals == kNotFound) return false;
    const std::size_t value_end = ValueEnd(list, equals + 1);
    if (value_end <= equals + 1) return false;
    const auto field = table.FieldByNumber(number);
    // An unknown field is passed over: nothing is written or listed.
    if (field) {
      if (request->field_count >= kMaxStatementFields) return false;
      if (!writer->WriteValue(*field, list.substr(equals + 1, value_end - equals - 1))) return false;
      request->fields[request->field_count++] = field->id;
    }
    cursor = SkipSeparators(list, value_end);
  }
  return true;
}

}  // namespace

bool ParseUpdateFields(const CwDictionary& dictionary, std::string_view statement, cw_sqlupdate_req* request,
                       std::uint8_t* value_area, std::size_t value_area_size) {
  if (request == nullptr || value_area == nullptr) return false;
  const std::size_t set = FindKeywordEnd(statement, kSet);
  if (set == kNotFound) return false;
  const std::size_t begin = SkipBlanks(statement, set);
  const std::size_t end = std::min(FindKeyword(statement, kWhere), statement.size());
  if (end <= begin) return false;
  const auto table = TableView::Find(dictionary, request->table);
  if (!table) return false;
  request->field_count = 0;
  request->value_length = 0;
  ValueAreaWriter writer(value_area, value_area_size);
  if (!ReadSetList(*table, statement.substr(begin, end - begin), request, &writer)) return false;
  if (!writer.AppendLongTexts() || request->field_count == 0) return false;
  request->value_length = writer.used();
  return true;
}

bool ParseUpdate(const CwDictionary& dictionary, std::string_view statement, cw_sqlupdate_req* request,
                 std::uint8_t* value_area, std::size_t value_area_size) {
  if (request == nullptr || value_area == nullptr) return false;
  *request = cw_sqlupdate_req{};
  const std::size_t update = FindKeywordEnd(statement, kUpdate);
  if (update == kNotFound) return false;
  request->table = ReadTableNumber(statement, update);
  if (!ParseUpdateFields(dictionary, statement, request, value_area, value_area_size)) return false;
  return ParseWhere(dictionary, statement, request->table, request->conditions, &request->condition_count);
}

}  // namespace orbe::sql
