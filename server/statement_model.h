// Statements as the server runs them: the request records decoded, every
// table and field resolved against the dictionary, every value typed.
#ifndef ORBE_SERVER_STATEMENT_MODEL_H_
#define ORBE_SERVER_STATEMENT_MODEL_H_

#include <cstdint>
#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"

namespace orbe::server {

// A value bound to a statement parameter.
struct SqlValue {
  enum class Kind : std::uint8_t { kNull, kInteger, kReal, kText };
  Kind kind = Kind::kNull;
  std::int64_t integer = 0;
  double real = 0;
  std::string text;

  static SqlValue Integer(std::int64_t value) { return {Kind::kInteger, value, 0, {}}; }
  static SqlValue Real(double value) { return {Kind::kReal, 0, value, {}}; }
  static SqlValue Text(std::string value) { return {Kind::kText, 0, 0, std::move(value)}; }
};

// One WHERE condition; `values` holds one value, or the list of codes 7 and 8.
struct Condition {
  const SchemaField* field = nullptr;
  std::uint8_t compare = 0;
  std::vector<SqlValue> values;
};

// The conditions and the code lists of the options, all joined by AND.
struct Filter {
  std::vector<Condition> conditions;
};

struct SelectStatement {
  const SchemaTable* table = nullptr;
  std::vector<const SchemaField*> fields;  // request order
  Filter filter;
  const SchemaField* order = nullptr;
  bool descending = false;
  bool distinct = false;
  std::int32_t page = 0;  // from 1; 0 = every record
  std::uint16_t page_size = 0;
};

struct StatStatement {
  const SchemaTable* table = nullptr;
  std::uint8_t function = 0;             // orbe::StatType
  const SchemaField* field = nullptr;    // null for COUNT(*)
  bool distinct = false;
  Filter filter;
};

struct DeleteStatement {
  const SchemaTable* table = nullptr;
  Filter filter;
};

struct Assignment {
  const SchemaField* field = nullptr;
  SqlValue value;
};

struct UpdateStatement {
  const SchemaTable* table = nullptr;
  std::vector<Assignment> assignments;
  Filter filter;
};

struct InsertStatement {
  const SchemaTable* table = nullptr;
  std::vector<Assignment> assignments;  // ascending field order
  bool back = false;                    // replace the record with the same key
};

// Why a request cannot run. kUnknownTable is told apart because the write and
// statistics replies report it in their status byte rather than as status 101.
enum class Refusal : std::uint8_t { kNone, kMalformed, kUnknownTable };

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_MODEL_H_
