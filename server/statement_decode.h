// Bounded decoding of the statement request bodies (2008, 2016, 2017, 2018,
// 2020) into resolved statements. The body starts with the request code.
// Every length, count, field id and value-area offset is checked; nothing of
// the request reaches SQL text except through the dictionary.
#ifndef ORBE_SERVER_STATEMENT_DECODE_H_
#define ORBE_SERVER_STATEMENT_DECODE_H_

#include <string_view>

#include "statement_model.h"

namespace orbe::server {

Refusal DecodeSelect(const DictionarySchema& schema, std::string_view body, SelectStatement* out);
Refusal DecodeStat(const DictionarySchema& schema, std::string_view body, StatStatement* out);
Refusal DecodeDelete(const DictionarySchema& schema, std::string_view body, DeleteStatement* out);
Refusal DecodeUpdate(const DictionarySchema& schema, std::string_view body, UpdateStatement* out);
Refusal DecodeInsert(const DictionarySchema& schema, std::string_view body, InsertStatement* out);

// The table with this number, or null.
const SchemaTable* FindSchemaTable(const DictionarySchema& schema, std::int64_t number);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_DECODE_H_
