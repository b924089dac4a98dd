#include "statement_values.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "orbe/platform/text.h"

namespace orbe::server {
namespace {

template <typename T>
T Load(std::string_view bytes) {
  T value;
  std::memcpy(&value, bytes.data(), sizeof(T));
  return value;
}

std::string_view TrimItem(std::string_view item) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!item.empty() && blank(item.front())) item.remove_prefix(1);
  while (!item.empty() && blank(item.back())) item.remove_suffix(1);
  if (item.size() >= 2 && item.front() == '\'' && item.back() == '\'') item = item.substr(1, item.size() - 2);
  return item;
}

}  // namespace

bool IsTextType(std::uint8_t type) { return type == 1 || type == 2 || type == 11 || type == 12; }
bool IsIntegerType(std::uint8_t type) { return (type >= 3 && type <= 6) || type == 9 || type == 10; }
bool IsRealType(std::uint8_t type) { return type == 7 || type == 8; }
bool IsVariableText(std::uint8_t type) { return type == 11 || type == 12; }

std::size_t FixedSize(const SchemaField& field) {
  switch (field.type) {
    case 1:
    case 2:
      return field.width;
    case 3:
      return 2;
    case 6:
      return 1;
    case 4:
    case 7:
    case 9:
    case 11:
    case 12:
      return 4;
    case 5:
    case 8:
    case 10:
      return 8;
    default:
      return 0;
  }
}

std::int64_t JoinDateTime(std::int32_t date, std::int32_t time) {
  return static_cast<std::int64_t>(date) * 1000000 + time;
}

void SplitDateTime(std::int64_t value, std::int32_t* date, std::int32_t* time) {
  *date = static_cast<std::int32_t>(value / 1000000);
  *time = static_cast<std::int32_t>(value % 1000000);
}

SqlValue ReadFixedValue(const SchemaField& field, std::string_view bytes) {
  switch (field.type) {
    case 1:
    case 2:
      return SqlValue::Text(std::string(bytes.substr(0, std::min(bytes.find('\0'), bytes.size()))));
    case 3:
      return SqlValue::Integer(Load<std::int16_t>(bytes));
    case 4:
    case 9:
      return SqlValue::Integer(Load<std::int32_t>(bytes));
    case 5:
      return SqlValue::Integer(Load<std::int64_t>(bytes));
    case 6:
      return SqlValue::Integer(Load<std::uint8_t>(bytes));
    case 7:
      // A float carries about seven digits; storing its exact binary value
      // would turn a written 1.1 into 1.100000023841858.
      return SqlValue::Real(std::strtod(Format("%.7g", Load<float>(bytes)).c_str(), nullptr));
    case 8:
      return SqlValue::Real(Load<double>(bytes));
    case 10:
      return SqlValue::Integer(JoinDateTime(Load<std::int32_t>(bytes), Load<std::int32_t>(bytes.substr(4))));
    default:
      return {};
  }
}

SqlValue TypedItem(const SchemaField& field, std::string_view item) {
  if (IsIntegerType(field.type)) {
    std::int64_t number = 0;
    const char* end = item.data() + item.size();
    const auto [stop, error] = std::from_chars(item.data(), end, number);
    if (error == std::errc() && stop == end && !item.empty()) {
      const bool date_only = field.type == 10 && item.size() <= 8 && item.front() != '-';
      return SqlValue::Integer(date_only ? number * 1000000 : number);
    }
  } else if (IsRealType(field.type)) {
    const std::string copy(item);
    char* stop = nullptr;
    const double number = std::strtod(copy.c_str(), &stop);
    if (!copy.empty() && stop == copy.c_str() + copy.size()) return SqlValue::Real(number);
  }
  return SqlValue::Text(std::string(item));
}

std::vector<std::string_view> SplitList(std::string_view list) {
  std::vector<std::string_view> items;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view item = TrimItem(list.substr(0, comma));
    if (!item.empty()) items.push_back(item);
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return items;
}

std::string_view ConditionListText(std::string_view value) {
  value = value.substr(0, value.find(')'));
  const std::size_t first = value.find_first_not_of(" \t");
  if (first != std::string_view::npos && value[first] == '(') value.remove_prefix(first + 1);
  return value;
}

}  // namespace orbe::server
