// Translation of SQL statements into request records, over a dictionary.
// CwFileUtil's statement members are thin adapters over these; the fuzzers
// call them directly. Every function zero-fills its record first and returns
// false on failure, leaving a record that must not be sent.
#ifndef ORBE_DICTIONARY_SQL_PARSER_H_
#define ORBE_DICTIONARY_SQL_PARSER_H_

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dictionary/sql_scanner.h"
#include "protocol/sql_records.h"

namespace orbe {

class CwDictionary;

namespace sql {

bool ParseSelect(const CwDictionary& dictionary, std::string_view statement, cw_command_req* request);
bool ParseStat(const CwDictionary& dictionary, std::string_view statement, cw_sqlstat_req* request);
bool ParseDelete(const CwDictionary& dictionary, std::string_view statement, cw_sqldelete_req* request);
bool ParseUpdate(const CwDictionary& dictionary, std::string_view statement, cw_sqlupdate_req* request,
                 std::uint8_t* value_area, std::size_t value_area_size);
bool ParseInsert(const CwDictionary& dictionary, std::string_view statement, cw_sqlinsert_req* request,
                 std::uint8_t* value_area, std::size_t value_area_size);

// The statistic function and its field (no dictionary needed).
bool ParseStatType(std::string_view statement, cw_sqlstat_req* request);

// The SET list of an UPDATE whose table number is already in the record.
bool ParseUpdateFields(const CwDictionary& dictionary, std::string_view statement, cw_sqlupdate_req* request,
                       std::uint8_t* value_area, std::size_t value_area_size);

// The text after an INSERT's table token, for the table already in the record.
bool ParseInsertFields(const CwDictionary& dictionary, std::string_view insert_text,
                       cw_sqlinsert_req* request, std::uint8_t* value_area, std::size_t value_area_size);

// One condition text into conditions[index]; the slot is zero on failure.
// False for an index past the last slot.
bool ParseCondition(const CwDictionary& dictionary, tagSigCond* conditions, std::uint8_t index,
                    std::int32_t table_number, std::string_view text);

// The WHERE clause of a statement into the condition slots and count. A
// statement without WHERE has no conditions. Conditions that fail leave
// their slot zero and still count; more than the slots hold fails.
bool ParseWhere(const CwDictionary& dictionary, std::string_view statement, std::int32_t table_number,
                tagSigCond* conditions, std::uint8_t* condition_count);

// The first comparison operator in search order: its code and the position
// just after it, or kNotFound (code untouched).
std::size_t FindCompare(std::string_view text, int* code);

}  // namespace sql
}  // namespace orbe

#endif  // ORBE_DICTIONARY_SQL_PARSER_H_
