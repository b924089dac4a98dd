// Field values between their wire encodings (request records, value areas,
// reply records) and the SQLite values of the storage (docs/storage.md).
#ifndef ORBE_SERVER_STATEMENT_VALUES_H_
#define ORBE_SERVER_STATEMENT_VALUES_H_

#include <cstddef>
#include <string_view>

#include "statement_model.h"

namespace orbe::server {

bool IsTextType(std::uint8_t type);     // 1, 2, 11, 12
bool IsIntegerType(std::uint8_t type);  // 3, 4, 5, 6, 9, 10
bool IsRealType(std::uint8_t type);     // 7, 8
bool IsVariableText(std::uint8_t type); // 11, 12

// Bytes a value of the field takes in a value area or a reply record's fixed
// part (the width for types 1 and 2, 4 for the offset of types 11 and 12);
// 0 for an unknown type.
std::size_t FixedSize(const SchemaField& field);

// A fixed value of a numeric field from its little-endian bytes (at least
// FixedSize of them); texts of types 1 and 2 end at the first NUL.
SqlValue ReadFixedValue(const SchemaField& field, std::string_view bytes);

// A code or list item written as text, typed for the field: integers (a type
// 10 item of at most 8 digits is a date at 00:00:00), reals, texts. An item
// that is not a number of a numeric field stays text and so matches nothing.
SqlValue TypedItem(const SchemaField& field, std::string_view item);

// Items of a ","-separated list, blanks around them and one pair of single
// quotes removed; empty items are dropped.
std::vector<std::string_view> SplitList(std::string_view list);

// The list of an in-list or not-in-list condition value: the text up to its
// first ")", without one "(" that opens it. "1,3,8", "1,3,8)" and "(1,3,8)"
// are the same list.
std::string_view ConditionListText(std::string_view value);

// The storage form of a type-10 value from its date and time halves, and back.
std::int64_t JoinDateTime(std::int32_t date, std::int32_t time);
void SplitDateTime(std::int64_t value, std::int32_t* date, std::int32_t* time);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_VALUES_H_
