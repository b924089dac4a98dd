// Typed reads of one field of a SELECT reply record, cut by the field's
// dictionary description. Every read is bounded by the record's length.
#ifndef ORBE_DATASERVICE_REPLY_RECORD_READER_H_
#define ORBE_DATASERVICE_REPLY_RECORD_READER_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "orbe/dictionary/dictionary_records.h"

namespace orbe {

// The text of a constant code of the field's class; false when it has none.
using ConstTextLookup = std::function<bool(std::string_view code, std::string* text)>;

// Types 3, 4, 9 (widened), 5 and 10 (low 32 bits), 6 (0..255).
bool ReadFieldAsInt(std::string_view record, const tagMemFieldInfo& field, int* value);
// Types 7 (widened) and 8.
bool ReadFieldAsDouble(std::string_view record, const tagMemFieldInfo& field, double* value);
// Types 5 and 10.
bool ReadFieldAsInt64(std::string_view record, const tagMemFieldInfo& field, std::int64_t* value);
// Any type as text into text[size] (size above 8), always terminated. Type 1
// codes go through `consts` when given; null keeps the codes as they are.
bool ReadFieldAsText(std::string_view record, const tagMemFieldInfo& field, char* text, int size,
                     const ConstTextLookup* consts);

// "a,b,c" with each code replaced by its text; codes without text dropped.
std::string TranslateConstCodes(std::string_view codes, const ConstTextLookup& consts);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_REPLY_RECORD_READER_H_
