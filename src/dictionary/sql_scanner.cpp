#include "dictionary/sql_scanner.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>

namespace orbe::sql {

namespace {

// The C library's white space, which its number conversions skip.
bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t FindKeyword(std::string_view text, const Keyword& keyword, std::size_t from) {
  if (from > text.size()) return kNotFound;
  const std::size_t upper = text.find(keyword.upper, from);
  return upper != kNotFound ? upper : text.find(keyword.lower, from);
}

std::size_t FindKeywordEnd(std::string_view text, const Keyword& keyword, std::size_t from) {
  const std::size_t pos = FindKeyword(text, keyword, from);
  // Both spellings have the same length.
  return pos == kNotFound ? kNotFound : pos + keyword.upper.size();
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

std::int32_t ReadTableNumber(std::string_view text, std::size_t pos, std::size_t* token_end) {
  const std::size_t begin = SkipBlanks(text, std::min(pos, text.size()));
  std::size_t end = begin;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  if (token_end != nullptr) *token_end = end;
  return ParseInt32(text.substr(begin, std::min(end - begin, kMaxTokenLength)));
}

std::int32_t FieldNumberOf(std::string_view text) {
  return text.empty() ? 0 : ParseInt32(text.substr(1));
}

std::optional<std::string_view> QuotedText(std::string_view value) {
  if (value.empty() || value.front() != '\'') return std::nullopt;
  const std::size_t close = value.find('\'', 1);
  if (close == kNotFound) return std::nullopt;
  return value.substr(1, close - 1);
}

std::int64_t ParseInt64(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Accumulate towards the sign so that the most negative value is reachable.
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    const int digit = text[i] - '0';
    if (negative) {
      if (value < (kMin + digit) / 10) return kMin;
      value = value * 10 - digit;
    } else {
      if (value > (kMax - digit) / 10) return kMax;
      value = value * 10 + digit;
    }
  }
  return value;
}

std::int32_t ParseInt32(std::string_view text) {
  const std::int64_t value = ParseInt64(text);
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

double ParseDouble(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsCSpace(text[begin])) ++begin;
  std::size_t end = begin;
  // A number never holds white space; strtod needs a terminated copy.
  while (end < text.size() && !IsCSpace(text[end]) && text[end] != '\0') ++end;
  const std::string number(text.substr(begin, end - begin));
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace orbe::sql
