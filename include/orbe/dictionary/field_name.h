// The names the dictionary gives fields: "T" and the field number in at least
// three digits, as statements and replies name them ("T005", "T1234").
#ifndef ORBE_DICTIONARY_FIELD_NAME_H_
#define ORBE_DICTIONARY_FIELD_NAME_H_

#include <string>

namespace orbe {

// printf's "T%03d" of the number, without printf: it is made for every
// field of every statement.
std::string GeneratedFieldName(int number);

}  // namespace orbe

#endif  // ORBE_DICTIONARY_FIELD_NAME_H_
