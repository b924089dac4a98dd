// Secured statements of the script API (the _Sec methods): Base64 text of a
// statement enciphered with Blowfish (ECB, zero padding to whole blocks)
// under the module's fixed key, so that a shipped script does not show its
// statements in clear.
#ifndef ORBE_SCRIPT_SECURED_TEXT_H_
#define ORBE_SCRIPT_SECURED_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace orbe {

// Longer secured texts are refused (they decode to an empty statement).
inline constexpr std::size_t kMaxSecuredTextLength = 2047;

// The statement, ending at its first zero byte; "" when the text is too
// long, not strict Base64, or not whole cipher blocks.
std::string DecodeSecuredText(std::string_view text);
// The secured text of a statement (for script authors and tests).
std::string EncodeSecuredText(std::string_view statement);

}  // namespace orbe

#endif  // ORBE_SCRIPT_SECURED_TEXT_H_
