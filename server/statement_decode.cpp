#include "statement_decode.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "protocol/sql_records.h"
#include "protocol/statements.h"
#include "orbe/platform/text.h"
#include "statement_values.h"

namespace orbe::server {
namespace {

constexpr std::uint8_t kQuotedNumber = 2;
constexpr std::uint8_t kLastCompare = kCompareLikeList;

// The first field of the table whose number's low byte is the id; id 0
// names no field.
const SchemaField* FieldById(const SchemaTable& table, std::uint8_t id) {
  if (id == 0) return nullptr;
  for (const SchemaField& field : table.fields) {
    if ((static_cast<std::uint16_t>(field.number) & 0xFF) == id) return &field;
  }
  return nullptr;
}

std::string_view TextUpToNul(const std::uint8_t* bytes, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  return text.substr(0, std::min(text.find('\0'), size));
}

// The condition's value as the request typed it: a number in the field's
// encoding, or text for text fields and quoted numbers.
SqlValue ConditionValue(const SchemaField& field, std::uint8_t value_type, const tagSigCond& condition) {
  const std::string_view text = TextUpToNul(condition.value, sizeof(condition.value));
  if (IsTextType(field.type)) return SqlValue::Text(std::string(text));
  if (value_type == kQuotedNumber) return TypedItem(field, text);
  return ReadFixedValue(field, std::string_view(reinterpret_cast<const char*>(condition.value),
                                                sizeof(condition.value)));
}

std::string ValueAsText(const SqlValue& value) {
  switch (value.kind) {
    case SqlValue::Kind::kInteger:
      return std::to_string(value.integer);
    case SqlValue::Kind::kReal:
      return Format("%.15g", value.real);
    default:
      return value.text;
  }
}

bool DecodeCondition(const SchemaTable& table, const tagSigCond& raw, Condition* out) {
  const std::uint8_t compare = raw.compare;
  const std::uint8_t value_type = raw.value_type;
  out->field = FieldById(table, raw.field);
  out->compare = compare;
  if (out->field == nullptr || compare > kLastCompare) return false;
  const std::uint8_t type = out->field->type;
  const bool quoted_number =
      value_type == kQuotedNumber && (type == 4 || type == 5 || type == 9 || type == 10);
  if (value_type != type && !quoted_number) return false;
  if (compare == kCompareInList || compare == kCompareLikeList) {
    for (std::string_view item : SplitList(ConditionListText(TextUpToNul(raw.value, sizeof(raw.value))))) {
      out->values.push_back(TypedItem(*out->field, item));
    }
    return true;
  }
  SqlValue value = ConditionValue(*out->field, value_type, raw);
  if (compare == kCompareLike) value = SqlValue::Text(ValueAsText(value));
  out->values.push_back(std::move(value));
  return true;
}

// More conditions than slots were written, and a statement that silently
// dropped some would return, change or delete too much: refused.
bool DecodeConditions(const SchemaTable& table, const tagSigCond* slots, std::uint8_t count, Filter* filter) {
  if (count > kMaxConditions) return false;
  for (std::uint8_t i = 0; i < count; ++i) {
    Condition condition;
    if (!DecodeCondition(table, slots[i], &condition)) return false;
    filter->conditions.push_back(std::move(condition));
  }
  return true;
}

// Each option restricts the field whose id is its type to the codes of its
// ","-separated text.
bool DecodeOptions(const SchemaTable& table, std::string_view block, Filter* filter) {
  const auto options = wire::DecodeOptionBlock(block);
  if (!options) return false;
  for (const wire::SqlOptionView& option : *options) {
    Condition restriction;
    restriction.field = FieldById(table, option.type);
    if (restriction.field == nullptr) return false;
    restriction.compare = kCompareInList;
    for (std::string_view code : SplitList(option.text)) {
      restriction.values.push_back(TypedItem(*restriction.field, code));
    }
    filter->conditions.push_back(std::move(restriction));
  }
  return true;
}

// Values of an UPDATE or INSERT, in the order of `ids`, from the value area.
bool DecodeValueArea(const SchemaTable& table, const std::uint8_t* ids, std::uint8_t count,
                     std::string_view area, std::vector<Assignment>* out) {
  if (count == 0 || count > kMaxStatementFields) return false;
  std::size_t at = 0;
  for (std::uint8_t i = 0; i < count; ++i) {
    const SchemaField* field = FieldById(table, ids[i]);
    if (field == nullptr) return false;
    const std::size_t size = FixedSize(*field);
    if (size == 0 || at + size > area.size()) return false;
    const std::string_view bytes = area.substr(at, size);
    at += size;
    if (!IsVariableText(field->type)) {
      out->push_back({field, ReadFixedValue(*field, bytes)});
      continue;
    }
    const auto text = wire::LongTextAt(area, at - size);
    if (!text) return false;
    out->push_back({field, SqlValue::Text(std::string(*text))});
  }
  return true;
}

// A field given twice keeps its last value, as the statement reads.
void KeepLastOfEachField(std::vector<Assignment>* assignments) {
  std::map<const SchemaField*, std::size_t> last;
  for (std::size_t i = 0; i < assignments->size(); ++i) last[(*assignments)[i].field] = i;
  std::vector<Assignment> kept;
  for (std::size_t i = 0; i < assignments->size(); ++i) {
    if (last[(*assignments)[i].field] == i) kept.push_back(std::move((*assignments)[i]));
  }
  *assignments = std::move(kept);
}

}  // namespace

const SchemaTable* FindSchemaTable(const DictionarySchema& schema, std::int64_t number) {
  for (const SchemaTable& table : schema.tables) {
    if (table.number == number) return &table;
  }
  return nullptr;
}

Refusal DecodeSelect(const DictionarySchema& schema, std::string_view body, SelectStatement* out) {
  const auto decoded = wire::DecodeSelectBody(body);
  if (!decoded) return Refusal::kMalformed;
  const cw_command_req& record = decoded->record;
  out->table = FindSchemaTable(schema, record.table);
  if (out->table == nullptr) return Refusal::kUnknownTable;
  const SchemaTable& table = *out->table;
  if (record.field_count == 0 || record.field_count > kMaxStatementFields) return Refusal::kMalformed;
  for (std::uint8_t i = 0; i < record.field_count; ++i) {
    const SchemaField* field = FieldById(table, record.fields[i]);
    if (field == nullptr) return Refusal::kMalformed;
    out->fields.push_back(field);
  }
  if (record.order_field != 0) {
    out->order = FieldById(table, record.order_field);
    if (out->order == nullptr) return Refusal::kMalformed;
  }
  out->descending = record.order_desc != 0;
  out->distinct = record.distinct_field != 0;
  if (out->distinct && FieldById(table, record.distinct_field) == nullptr) return Refusal::kMalformed;
  out->page = record.page;
  out->page_size = record.page_size;
  if (out->page < 0 || (out->page > 0 && out->page_size == 0)) return Refusal::kMalformed;
  if (!decoded->extra || !DecodeConditions(table, record.conditions, record.condition_count, &out->filter) ||
      !DecodeOptions(table, *decoded->extra, &out->filter)) {
    return Refusal::kMalformed;
  }
  return Refusal::kNone;
}

Refusal DecodeStat(const DictionarySchema& schema, std::string_view body, StatStatement* out) {
  const auto decoded = wire::DecodeStatBody(body);
  if (!decoded) return Refusal::kMalformed;
  const cw_sqlstat_req& record = decoded->record;
  out->table = FindSchemaTable(schema, record.table);
  if (out->table == nullptr) return Refusal::kUnknownTable;
  out->function = record.stat_type;
  out->distinct = record.distinct != 0 && record.stat_type == kStatCount;
  if (out->function > kStatSum) return Refusal::kMalformed;
  if (record.field != 0) {
    out->field = FieldById(*out->table, record.field);
    if (out->field == nullptr) return Refusal::kMalformed;
  }
  // Only COUNT has a meaning without a field, and COUNT(DISTINCT) needs one.
  if (out->field == nullptr && (out->function != kStatCount || out->distinct)) return Refusal::kMalformed;
  if (!decoded->extra ||
      !DecodeConditions(*out->table, record.conditions, record.condition_count, &out->filter) ||
      !DecodeOptions(*out->table, *decoded->extra, &out->filter)) {
    return Refusal::kMalformed;
  }
  return Refusal::kNone;
}

Refusal DecodeDelete(const DictionarySchema& schema, std::string_view body, DeleteStatement* out) {
  const auto decoded = wire::DecodeDeleteBody(body);
  if (!decoded) return Refusal::kMalformed;
  const cw_sqldelete_req& record = decoded->record;
  out->table = FindSchemaTable(schema, record.table);
  if (out->table == nullptr) return Refusal::kUnknownTable;
  if (!DecodeConditions(*out->table, record.conditions, record.condition_count, &out->filter)) {
    return Refusal::kMalformed;
  }
  return Refusal::kNone;
}

Refusal DecodeUpdate(const DictionarySchema& schema, std::string_view body, UpdateStatement* out) {
  const auto decoded = wire::DecodeUpdateBody(body);
  if (!decoded) return Refusal::kMalformed;
  const cw_sqlupdate_req& record = decoded->record;
  out->table = FindSchemaTable(schema, record.table);
  if (out->table == nullptr) return Refusal::kUnknownTable;
  if (!decoded->extra ||
      !DecodeValueArea(*out->table, record.fields, record.field_count, *decoded->extra, &out->assignments) ||
      !DecodeConditions(*out->table, record.conditions, record.condition_count, &out->filter)) {
    return Refusal::kMalformed;
  }
  KeepLastOfEachField(&out->assignments);
  return Refusal::kNone;
}

Refusal DecodeInsert(const DictionarySchema& schema, std::string_view body, InsertStatement* out) {
  const auto decoded = wire::DecodeInsertBody(body);
  if (!decoded) return Refusal::kMalformed;
  const cw_sqlinsert_req& record = decoded->record;
  out->table = FindSchemaTable(schema, record.table);
  if (out->table == nullptr) return Refusal::kUnknownTable;
  out->back = record.back != 0;
  if (!decoded->extra ||
      !DecodeValueArea(*out->table, record.fields, record.field_count, *decoded->extra, &out->assignments)) {
    return Refusal::kMalformed;
  }
  KeepLastOfEachField(&out->assignments);
  return Refusal::kNone;
}

}  // namespace orbe::server
