// SELECT COUNT|MAX|MIN|AVG|SUM(...) FROM table [WHERE ...]
#include <array>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_scanner.h"

namespace orbe::sql {

namespace {

struct Function {
  Keyword name;
  StatType type;
};

// In order of preference, wherever each occurs in the statement.
constexpr std::array<Function, 5> kFunctions{{
    {{"COUNT", "count"}, kStatCount},
    {{"MAX", "max"}, kStatMax},
    {{"MIN", "min"}, kStatMin},
    {{"AVG", "avg"}, kStatAvg},
    {{"SUM", "sum"}, kStatSum},
}};

// The ")" must stand within this many characters of the "(".
constexpr std::size_t kMaxArgumentSpan = 256;

bool IsFieldLetter(std::string_view statement, std::size_t pos) {
  return pos < statement.size() && (statement[pos] == 'T' || statement[pos] == 't');
}

void ReadCountArgument(std::string_view statement, std::size_t open, std::size_t close,
                       cw_sqlstat_req* request) {
  std::size_t cursor = open;
  // Lower case is looked for first here.
  std::size_t word = statement.find(kDistinct.lower, open);
  if (word == kNotFound) word = statement.find(kDistinct.upper, open);
  if (word != kNotFound && word < close) {
    request->distinct = 1;
    cursor = word + kDistinct.upper.size();
  }
  // Steps over the "(" or the character after DISTINCT.
  cursor = SkipBlanks(statement, cursor + 1);
  // COUNT(*) and the like count records, not a field.
  if (IsFieldLetter(statement, cursor)) {
    request->field = static_cast<std::uint8_t>(FieldNumberOf(statement.substr(cursor)));
  }
}

}  // namespace

bool ParseStatType(std::string_view statement, cw_sqlstat_req* request) {
  if (request == nullptr) return false;
  const Function* function = nullptr;
  std::size_t name = kNotFound;
  for (const Function& candidate : kFunctions) {
    name = FindKeyword(statement, candidate.name);
    if (name != kNotFound) {
      function = &candidate;
      break;
    }
  }
  if (function == nullptr) return false;
  const std::size_t open = statement.find('(', name + function->name.upper.size());
  if (open == kNotFound) return false;
  const std::size_t close = statement.find(')', open);
  if (close == kNotFound || close - open >= kMaxArgumentSpan) return false;
  request->stat_type = function->type;
  if (function->type == kStatCount) {
    ReadCountArgument(statement, open, close, request);
    return true;
  }
  const std::size_t field = SkipBlanks(statement, open + 1);
  if (!IsFieldLetter(statement, field)) return false;
  request->field = static_cast<std::uint8_t>(FieldNumberOf(statement.substr(field)));
  return true;
}

bool ParseStat(const CwDictionary& dictionary, std::string_view statement, cw_sqlstat_req* request) {
  if (request == nullptr) return false;
  *request = cw_sqlstat_req{};
  if (FindKeyword(statement, kSelectBare) == kNotFound) return false;
  if (!ParseStatType(statement, request)) return false;
  const std::size_t from = FindKeywordEnd(statement, kFrom);
  if (from == kNotFound) return false;
  request->table = ReadTableNumber(statement, from);
  return ParseWhere(dictionary, statement, request->table, request->conditions, &request->condition_count);
}

}  // namespace orbe::sql
