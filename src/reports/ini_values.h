// How the report reader turns a key's text into a flag or a character, for
// every path that reads such keys (one key at a time, or a section at once).
#ifndef ORBE_REPORTS_INI_VALUES_H_
#define ORBE_REPORTS_INI_VALUES_H_

#include "orbe/platform/types.h"

namespace orbe {

// Reading only this many characters keeps the comparisons exact: a longer
// value is cut and so matches no keyword.
inline constexpr DWORD kIniBoolBuffer = 16;
inline constexpr DWORD kIniCharBuffer = 8;

// "TRUE" is true, "FALSE" false, anything else `def`.
bool IniBool(const char* text, bool def);
// The first character, `def` for an empty text.
char IniChar(const char* text, char def);

}  // namespace orbe

#endif  // ORBE_REPORTS_INI_VALUES_H_
