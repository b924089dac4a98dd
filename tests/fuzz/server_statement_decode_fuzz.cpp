// The server's decoders of statement request bodies against a fixed
// dictionary: a body is refused or decodes to a statement whose table, fields
// and values all lie in the dictionary and the body.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/dictionary/sql_records.h"
#include "statement_decode.h"

namespace {

using orbe::DictionarySchema;
using orbe::SchemaField;
using orbe::SchemaTable;
using namespace orbe::server;

SchemaField Field(std::int16_t number, std::uint8_t type, std::uint16_t width = 0) {
  return {number, type, width, "", "F" + std::to_string(number)};
}

// Shaped as the sample market's securities, companies and quotes, plus what
// a careless dictionary may hold: a field beyond 255 whose low byte repeats
// an earlier id, and a text field of width 0.
DictionarySchema MakeSchema() {
  DictionarySchema schema;
  schema.tables.push_back(
      {100000001, 1, "securities",
       {Field(1, 2, 12), Field(2, 2, 12), Field(3, 2, 10), Field(4, 2, 40), Field(5, 1, 8), Field(6, 1, 8),
        Field(7, 1, 8), Field(8, 1, 8), Field(9, 9), Field(10, 2, 12), Field(11, 10)}});
  schema.tables.push_back(
      {100000002, 1, "companies",
       {Field(1, 2, 12), Field(2, 2, 10), Field(3, 2, 12), Field(4, 2, 40), Field(5, 2, 100), Field(6, 1, 8),
        Field(7, 9), Field(8, 8), Field(9, 4), Field(10, 6), Field(11, 1, 12), Field(12, 11), Field(13, 12),
        Field(14, 10)}});
  schema.tables.push_back(
      {100000020, 1, "quotes",
       {Field(1, 2, 12), Field(2, 9), Field(3, 3), Field(4, 5), Field(5, 7), Field(6, 6), Field(7, 2, 0),
        Field(257, 4)}});
  return schema;
}

const DictionarySchema& Schema() {
  static const DictionarySchema schema = MakeSchema();
  return schema;
}

bool InSchema(const SchemaTable* table) {
  for (const SchemaTable& candidate : Schema().tables) {
    if (&candidate == table) return true;
  }
  return false;
}

bool InTable(const SchemaTable& table, const SchemaField* field) {
  for (const SchemaField& candidate : table.fields) {
    if (&candidate == field) return true;
  }
  return false;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// No decoded text can be longer than the body it came from.
void CheckValue(const SqlValue& value, std::string_view body) {
  Check(value.kind != SqlValue::Kind::kText || value.text.size() <= body.size());
}

void CheckFilter(const SchemaTable& table, const Filter& filter, std::string_view body) {
  for (const Condition& condition : filter.conditions) {
    Check(InTable(table, condition.field) && condition.compare <= orbe::kCompareLikeList);
    const bool list =
        condition.compare == orbe::kCompareInList || condition.compare == orbe::kCompareLikeList;
    Check(list || condition.values.size() == 1);
    for (const SqlValue& value : condition.values) CheckValue(value, body);
  }
}

// Written fields are distinct, each once, with values from the body.
void CheckAssignments(const SchemaTable& table, const std::vector<Assignment>& assignments,
                      std::string_view body) {
  Check(!assignments.empty() && assignments.size() <= orbe::kMaxStatementFields);
  std::set<const SchemaField*> seen;
  for (const Assignment& assignment : assignments) {
    Check(InTable(table, assignment.field) && seen.insert(assignment.field).second);
    CheckValue(assignment.value, body);
  }
}

void FuzzSelect(std::string_view body) {
  SelectStatement statement;
  if (DecodeSelect(Schema(), body, &statement) != Refusal::kNone) return;
  Check(InSchema(statement.table));
  const SchemaTable& table = *statement.table;
  Check(!statement.fields.empty() && statement.fields.size() <= orbe::kMaxStatementFields);
  for (const SchemaField* field : statement.fields) Check(InTable(table, field));
  Check(statement.order == nullptr || InTable(table, statement.order));
  Check(statement.page >= 0 && (statement.page == 0 || statement.page_size > 0));
  CheckFilter(table, statement.filter, body);
}

void FuzzStat(std::string_view body) {
  StatStatement statement;
  if (DecodeStat(Schema(), body, &statement) != Refusal::kNone) return;
  Check(InSchema(statement.table) && statement.function <= orbe::kStatSum);
  if (statement.field == nullptr) {
    Check(statement.function == orbe::kStatCount && !statement.distinct);
  } else {
    Check(InTable(*statement.table, statement.field));
  }
  CheckFilter(*statement.table, statement.filter, body);
}

void FuzzDelete(std::string_view body) {
  DeleteStatement statement;
  if (DecodeDelete(Schema(), body, &statement) != Refusal::kNone) return;
  Check(InSchema(statement.table) && statement.filter.conditions.size() <= orbe::kMaxConditions);
  CheckFilter(*statement.table, statement.filter, body);
}

void FuzzUpdate(std::string_view body) {
  UpdateStatement statement;
  if (DecodeUpdate(Schema(), body, &statement) != Refusal::kNone) return;
  Check(InSchema(statement.table) && statement.filter.conditions.size() <= orbe::kMaxConditions);
  CheckAssignments(*statement.table, statement.assignments, body);
  CheckFilter(*statement.table, statement.filter, body);
}

void FuzzInsert(std::string_view body) {
  InsertStatement statement;
  if (DecodeInsert(Schema(), body, &statement) != Refusal::kNone) return;
  Check(InSchema(statement.table));
  CheckAssignments(*statement.table, statement.assignments, body);
}

struct Decoder {
  std::uint16_t code;
  void (*fuzz)(std::string_view body);
};

constexpr Decoder kDecoders[] = {
    {2008, FuzzSelect}, {2020, FuzzStat}, {2016, FuzzDelete}, {2017, FuzzUpdate}, {2018, FuzzInsert},
};
constexpr std::size_t kDecoderCount = sizeof(kDecoders) / sizeof(kDecoders[0]);

}  // namespace

// The body's request code picks the decoder as the server's dispatch does;
// any other code picks one by its remainder so that no input is wasted.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  std::uint16_t code = 0;
  if (size >= sizeof(code)) std::memcpy(&code, data, sizeof(code));
  const Decoder* chosen = &kDecoders[code % kDecoderCount];
  for (const Decoder& decoder : kDecoders) {
    if (decoder.code == code) chosen = &decoder;
  }
  chosen->fuzz(body);
  return 0;
}
