// One WHERE condition: Tnnn, an operator and a value encoded by the field's type.
#include <algorithm>
#include <array>
#include <cstring>

#include "dictionary/sql_parser.h"
#include "dictionary/sql_scanner.h"
#include "dictionary/sql_table.h"
#include "dictionary/sql_value_area.h"
#include "orbe/dictionary/dictionary_records.h"

namespace orbe::sql {

namespace {

struct Operator {
  std::string_view text;
  CompareCode code;
};

// In search order: the first that occurs anywhere in the condition wins, so
// ">" is found inside a value before a later "=" is considered.
constexpr std::array<Operator, 9> kOperators{{
    {"~=(", kCompareLikeList},
    {">=", kCompareGreaterEqual},
    {"<=", kCompareLessEqual},
    {"!=", kCompareNotEqual},
    {"~=", kCompareLike},
    {"=(", kCompareInList},
    {">", kCompareGreater},
    {"<", kCompareLess},
    {"=", kCompareEqual},
}};

struct FoundOperator {
  std::size_t position;
  const Operator* op;
};

std::optional<FoundOperator> FindOperator(std::string_view text) {
  for (const Operator& op : kOperators) {
    const std::size_t position = text.find(op.text);
    if (position != kNotFound) return FoundOperator{position, &op};
  }
  return std::nullopt;
}

void StoreText(tagSigCond* condition, std::string_view text) {
  const std::size_t length = std::min<std::size_t>(text.size(), kConditionValueSize);
  if (length > 0) std::memcpy(condition->value, text.data(), length);
}

// A list value runs to the first ")"; without one it stays empty. A list
// longer than the value field fails the condition: cut short, it would lose
// or split items and so select other records than the statement names.
bool StoreList(tagSigCond* condition, std::string_view value) {
  const std::size_t close = value.find(')');
  if (close == kNotFound) return true;
  if (close > kConditionValueSize) return false;
  StoreText(condition, value.substr(0, close));
  return true;
}

// Numbers may be given quoted, and then travel as text.
template <typename T>
void StoreNumberOrQuoted(tagSigCond* condition, std::string_view value, T number) {
  if (!value.empty() && value.front() == '\'') {
    condition->value_type = kFieldText;
    StoreText(condition, QuotedText(value).value_or(std::string_view()));
  } else {
    StoreValue(condition->value, number);
  }
}

bool StoreValueByType(tagSigCond* condition, std::string_view value) {
  switch (condition->value_type) {
    case kFieldConstCodes:
    case kFieldText:
      if (value.empty() || value.front() != '\'') return false;
      StoreText(condition, QuotedText(value).value_or(std::string_view()));
      return true;
    case kFieldInt16:
      StoreValue(condition->value, static_cast<std::int16_t>(ParseInt32(value)));
      return true;
    case kFieldInt32:
    case kFieldInt32Alt:
      StoreNumberOrQuoted(condition, value, ParseInt32(value));
      return true;
    case kFieldInt64:
    case kFieldDateTime:
      StoreNumberOrQuoted(condition, value, ParseInt64(value));
      return true;
    case kFieldUInt8:
      StoreValue(condition->value, static_cast<std::uint8_t>(ParseInt32(value)));
      return true;
    case kFieldFloat:
      StoreValue(condition->value, static_cast<float>(ParseDouble(value)));
      return true;
    case kFieldDouble:
      StoreValue(condition->value, ParseDouble(value));
      return true;
    default:
      return true;  // no value for the service to compare
  }
}

bool ParseConditionText(const CwDictionary& dictionary, std::int32_t table_number, std::string_view text,
                        tagSigCond* condition) {
  text.remove_prefix(SkipBlanks(text, 0));
  const auto found = FindOperator(text);
  if (!found) return false;
  const std::int32_t number = FieldNumberOf(text.substr(0, std::min(found->position, kMaxTokenLength)));
  const auto table = TableView::Find(dictionary, table_number);
  if (!table) return false;
  const auto field = table->FieldByNumber(number);
  if (!field) return false;
  condition->field = field->id;
  condition->compare = found->op->code;
  condition->value_type = field->type;
  condition->width = field->width;
  condition->offset = field->offset;
  const std::string_view value = text.substr(found->position + found->op->text.size());
  if (found->op->code == kCompareInList || found->op->code == kCompareLikeList) {
    return StoreList(condition, value);
  }
  return StoreValueByType(condition, value);
}

}  // namespace

std::size_t FindCompare(std::string_view text, int* code) {
  const auto found = FindOperator(text);
  if (!found) return kNotFound;
  if (code != nullptr) *code = found->op->code;
  return found->position + found->op->text.size();
}

bool ParseCondition(const CwDictionary& dictionary, tagSigCond* conditions, std::uint8_t index,
                    std::int32_t table_number, std::string_view text) {
  if (conditions == nullptr || index >= kMaxConditions) return false;
  tagSigCond parsed{};
  const bool ok = ParseConditionText(dictionary, table_number, text, &parsed);
  // A condition that fails leaves its slot all zero.
  conditions[index] = ok ? parsed : tagSigCond{};
  return ok;
}

}  // namespace orbe::sql
