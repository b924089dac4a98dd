// Text operations of macro expansion. A macro counts only when its first
// occurrence lies after the first character of the text: an author's
// statement never starts with one, and the rule keeps a text that does
// unchanged.
#ifndef ORBE_REPORTS_MACRO_TEXT_H_
#define ORBE_REPORTS_MACRO_TEXT_H_

#include <string>
#include <string_view>

namespace orbe {

bool HasMacro(std::string_view text, std::string_view macro);
// Replaces every occurrence, left to right, never rescanning inserted text.
void ReplaceEvery(std::string& text, std::string_view from, std::string_view to);

}  // namespace orbe

#endif  // ORBE_REPORTS_MACRO_TEXT_H_
