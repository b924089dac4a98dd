// DELETE FROM table [WHERE ...]; without WHERE every record goes.
#include "dictionary/sql_parser.h"
#include "dictionary/sql_scanner.h"

namespace orbe::sql {

bool ParseDelete(const CwDictionary& dictionary, std::string_view statement, cw_sqldelete_req* request) {
  if (request == nullptr) return false;
  *request = cw_sqldelete_req{};
  if (FindKeyword(statement, kDelete) == kNotFound) return false;
  const std::size_t from = FindKeywordEnd(statement, kFrom);
  if (from == kNotFound) return false;
  request->table = ReadTableNumber(statement, from);
  return ParseWhere(dictionary, statement, request->table, request->conditions, &request->condition_count);
}

}  // namespace orbe::sql
