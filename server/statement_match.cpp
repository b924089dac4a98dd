#include "statement_match.h"

#include <vector>

namespace orbe::server {
namespace {

// Cuts GBK (and the four-byte GB18030 forms) into characters; a lone or
// damaged lead byte stands as one character so that no byte is lost.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  characters.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 1;
    if (lead >= 0x81 && lead <= 0xFE && i + 1 < text.size()) {
      const auto second = static_cast<unsigned char>(text[i + 1]);
      const bool four = second >= 0x30 && second <= 0x39 && i + 3 < text.size();
      length = four ? 4 : 2;
    }
    characters.push_back(text.substr(i, length));
    i += length;
  }
  return characters;
}

// Iterative wildcard match with one backtrack point; the pattern is
// anchored at both ends here, the caller adds the implicit surrounding "%".
bool Matches(const std::vector<std::string_view>& value, const std::vector<std::string_view>& pattern) {
  std::size_t v = 0;
  std::size_t p = 0;
  std::size_t star = pattern.size();
  std::size_t resume = 0;
  while (v < value.size()) {
    if (p < pattern.size() && pattern[p] == "%") {
      star = p++;
      resume = v;
    } else if (p < pattern.size() && (pattern[p] == "_" || pattern[p] == value[v])) {
      ++p;
      ++v;
    } else if (star != pattern.size()) {
      p = star + 1;
      v = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == "%") ++p;
  return p == pattern.size();
}

std::string_view ValueText(sqlite3_value* value) {
  const auto* text = sqlite3_value_text(value);
  if (text == nullptr) return {};
  return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

void MatchFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
  // NULL matches nothing, as every other comparison.
  if (sqlite3_value_type(arguments[0]) == SQLITE_NULL || sqlite3_value_type(arguments[1]) == SQLITE_NULL) {
    sqlite3_result_null(context);
    return;
  }
  sqlite3_result_int(context, ContainsPattern(ValueText(arguments[0]), ValueText(arguments[1])) ? 1 : 0);
}

}  // namespace

bool ContainsPattern(std::string_view value, std::string_view pattern) {
  std::vector<std::string_view> wrapped{"%"};
  for (std::string_view character : Characters(pattern)) wrapped.push_back(character);
  wrapped.push_back("%");
  return Matches(Characters(value), wrapped);
}

bool RegisterMatchFunction(sqlite3* db) {
  return sqlite3_create_function_v2(db, "orbe_match", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                    MatchFunction, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace orbe::server
