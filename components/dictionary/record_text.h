// Texts of dictionary records as callers see them: the fixed field read up to
// its NUL (never past the field), then cut as the bounded copy into a
// caller's record cuts it. Index keys use the same text, so a lookup matches
// exactly what a scan comparing the copied texts would match.
#ifndef ORBE_COMPONENTS_DICTIONARY_RECORD_TEXT_H_
#define ORBE_COMPONENTS_DICTIONARY_RECORD_TEXT_H_

#include <cstddef>
#include <string>

#include "orbe/platform/text.h"

namespace orbe {

template <std::size_t N>
std::string CopiedText(const char (&field)[N]) {
  char copy[N] = {};
  const std::size_t length = CopyBounded(copy, N, FieldText(field));
  return std::string(copy, length);
}

}  // namespace orbe

#endif  // ORBE_COMPONENTS_DICTIONARY_RECORD_TEXT_H_
