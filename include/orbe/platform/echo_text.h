// Input quoted back in a message: a user who typed a 90 KB argument or fed a
// binary file wants to see which one, not the whole of it.
#ifndef ORBE_PLATFORM_ECHO_TEXT_H_
#define ORBE_PLATFORM_ECHO_TEXT_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace orbe {

inline constexpr std::size_t kEchoBytes = 60;

// 'text' in single quotes: valid UTF-8 as it is, control and other bytes as
// \xNN, and beyond `most` bytes cut with "... (N bytes)".
std::string EchoText(std::string_view text, std::size_t most = kEchoBytes);

// True when every byte belongs to a well-formed UTF-8 sequence.
bool IsValidUtf8(std::string_view text);

}  // namespace orbe

#endif  // ORBE_PLATFORM_ECHO_TEXT_H_
