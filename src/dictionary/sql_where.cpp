// The WHERE clause: cut at each " AND " into condition texts.
#include "dictionary/sql_parser.h"
#include "dictionary/sql_scanner.h"

namespace orbe::sql {

bool ParseWhere(const CwDictionary& dictionary, std::string_view statement, std::int32_t table_number,
                tagSigCond* conditions, std::uint8_t* condition_count) {
  std::size_t begin = FindKeywordEnd(statement, kWhere);
  if (begin == kNotFound) return true;
  // The last condition runs to the end, so a trailing ORDER BY stands inside
  // it; the value rules read only the value's leading part.
  int count = 0;
  for (;;) {
    const std::size_t cut = FindKeyword(statement, kAnd, begin);
    const std::size_t end = cut == kNotFound ? statement.size() : cut;
    // Sending fewer conditions than written would select, change or delete
    // more records than asked for: such a statement is refused.
    if (count == kMaxConditions) return false;
    ParseCondition(dictionary, conditions, static_cast<std::uint8_t>(count), table_number,
                   statement.substr(begin, end - begin));
    ++count;
    if (cut == kNotFound) break;
    begin = cut + kAnd.upper.size();
  }
  *condition_count = static_cast<std::uint8_t>(count);
  return true;
}

}  // namespace orbe::sql
