// SELECT [PAGE n [PAGEFRAME m]] fields FROM table [WHERE ...] [ORDER BY Tnnn [DESC]]
#include <algorithm>
#include <optional>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_scanner.h"
#include "dictionary/sql_table.h"

namespace orbe::sql {

namespace {

constexpr std::uint16_t kDefaultPageSize = 100;

void ReadOrder(std::string_view statement, cw_command_req* request) {
  const std::size_t order = FindKeywordEnd(statement, kOrder);
  if (order == kNotFound) return;
  const std::size_t by = FindKeywordEnd(statement, kBy, SkipBlanks(statement, order));
  if (by == kNotFound) return;
  const std::size_t field = SkipBlanks(statement, by);
  request->order_field = static_cast<std::uint8_t>(FieldNumberOf(statement.substr(field)));
  const bool desc = FindKeyword(statement, kDesc, field) != kNotFound;
  const bool asc = FindKeyword(statement, kAsc, field) != kNotFound;
  request->order_desc = desc && !asc ? 1 : 0;
}

// A paging number ends at the next space, the end, or FROM.
std::size_t NumberEnd(std::string_view statement, std::size_t number, std::size_t from) {
  std::size_t end = std::min(statement.find(' ', number), statement.size());
  if (from >= number) end = std::min(end, from);
  return end;
}

// Paging stands between SELECT and the field list; returns where the list starts.
std::size_t ReadPaging(std::string_view statement, std::size_t list_start, std::size_t from,
                       cw_command_req* request) {
  const std::size_t page = FindKeywordEnd(statement, kPage);
  if (page == kNotFound) return list_start;
  const std::size_t page_number = SkipBlanks(statement, page);
  request->page = ParseInt32(statement.substr(page_number));
  list_start = NumberEnd(statement, page_number, from);
  const std::size_t frame = FindKeywordEnd(statement, kPageFrame, page_number);
  if (frame == kNotFound) {
    request->page_size = kDefaultPageSize;
    return list_start;
  }
  const std::size_t page_size = SkipBlanks(statement, frame);
  request->page_size = static_cast<std::uint16_t>(ParseInt32(statement.substr(page_size)));
  return NumberEnd(statement, page_size, from);
}

// Collects one field token of the list, its blanks already dropped.
class FieldListReader {
 public:
  FieldListReader(const std::optional<TableView>& table, cw_command_req* request)
      : table_(table), request_(request) {}

  bool Add(std::string_view token) {
    if (request_->field_count >= kMaxStatementFields) return false;
    bool distinct = false;
    const std::size_t word = FindKeyword(token, kDistinct);
    if (word != kNotFound) {
      token.remove_prefix(word + kDistinct.upper.size());
      distinct = true;
    }
    const auto id = table_ ? table_->FieldIdByName(token) : std::nullopt;
    if (!id) return false;
    request_->fields[request_->field_count++] = *id;
    if (distinct) request_->distinct_field = *id;
    return true;
  }

  bool AddLast(std::string_view token) {
    if (token == "*") return SelectAll();
    if (request_->field_count >= kMaxStatementFields) return true;  // ignored
    return Add(token);
  }

 private:
  bool SelectAll() {
    const int count = table_ ? table_->AllFieldIds(request_->fields, kMaxStatementFields) : 0;
    request_->field_count = static_cast<std::uint8_t>(count);
    return count > 0;
  }

  const std::optional<TableView>& table_;
  cw_command_req* const request_;
};

bool ReadFieldList(std::string_view list, FieldListReader* reader) {
  char token[kMaxTokenLength];
  std::size_t length = 0;
  for (const char c : list) {
    if (IsBlank(c)) continue;
    if (c == ',') {
      if (!reader->Add(std::string_view(token, length))) return false;
      length = 0;
      continue;
    }
    token[length++] = c;
    // A token this long ends the list: what was gathered before it stands.
    if (length == kMaxTokenLength) return true;
  }
  return length == 0 || reader->AddLast(std::string_view(token, length));
}

}  // namespace

bool ParseSelect(const CwDictionary& dictionary, std::string_view statement, cw_command_req* request) {
  if (request == nullptr) return false;
  *request = cw_command_req{};
  const std::size_t from = FindKeyword(statement, kFrom);
  if (from == kNotFound) return false;
  request->table = ReadTableNumber(statement, from + kFrom.upper.size());
  const std::size_t select_end = FindKeywordEnd(statement, kSelect);
  if (select_end == kNotFound) return false;
  ReadOrder(statement, request);
  const std::size_t list_start = ReadPaging(statement, select_end, from, request);
  const auto table = TableView::Find(dictionary, request->table);
  FieldListReader reader(table, request);
  if (list_start < from && !ReadFieldList(statement.substr(list_start, from - list_start), &reader)) {
    return false;
  }
  return ParseWhere(dictionary, statement, request->table, request->conditions, &request->condition_count);
}

}  // namespace orbe::sql
