// Text helpers. Strings hold GBK bytes inside the module; conversion to UTF-8
// happens only at human edges (terminal, HTML, logs) and towards Python.
#ifndef ORBE_PLATFORM_TEXT_H_
#define ORBE_PLATFORM_TEXT_H_

#include <cstdarg>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orbe {

// Strict conversions: nullopt when the input is not valid in its encoding.
std::optional<std::string> GbkToUtf8Strict(std::string_view gbk);
std::optional<std::string> Utf8ToGbkStrict(std::string_view utf8);

// Lenient conversions for display: an invalid byte becomes U+FFFD (towards
// UTF-8) or '?' (towards GBK), so nothing a user typed is silently dropped.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// ASCII-only case mapping: GBK trail bytes may fall in the ASCII letter
// range, so case is changed only outside double-byte characters.
std::string AsciiUpper(std::string_view text);
std::string AsciiLower(std::string_view text);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Copies at most size-1 bytes of src into dst and terminates it, like
// lstrcpynA; a GBK lead byte is never split from its trail byte. Returns the
// number of bytes copied, without the terminator. size 0 writes nothing.
std::size_t CopyBounded(char* dst, std::size_t size, std::string_view src);

// Copies into a fixed record field: zero-fills the field, then CopyBounded.
template <std::size_t N>
std::size_t CopyToField(char (&field)[N], std::string_view src) {
  for (char& c : field) c = '\0';
  return CopyBounded(field, N, src);
}

// Reads a NUL-terminated text from a fixed field without running past it.
std::string FieldText(const char* field, std::size_t size);
template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, std::va_list args);

// Trims ASCII blanks (space, tab, CR, LF) at both ends.
std::string_view TrimBlanks(std::string_view text);

// True when byte i of text is the lead byte of a GBK double-byte character.
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace orbe

#endif  // ORBE_PLATFORM_TEXT_H_
