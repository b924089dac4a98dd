#include "orbe/platform/echo_text.h"

#include <cstdio>

namespace orbe {
namespace {

// Length of the well-formed UTF-8 sequence at the start of text, 0 if none.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4               ? 4
                                                                          : 0;
  if (length == 0 || length > text.size()) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = Utf8SequenceLength(text.substr(at));
    if (length == 0) return false;
    at += length;
  }
  return true;
}

std::string EchoText(std::string_view text, std::size_t most) {
  std::string echo = "'";
  std::size_t at = 0;
  while (at < text.size() && at < most) {
    const std::size_t length = Utf8SequenceLength(text.substr(at));
    const auto byte = static_cast<unsigned char>(text[at]);
    if (length > 1 || (length == 1 && byte >= 0x20 && byte != 0x7F && byte != '\\')) {
      echo.append(text.substr(at, length));
      at += length;
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, byte == '\\' ? "\\\\" : "\\x%02X", byte);
    echo += escaped;
    ++at;
  }
  echo += '\'';
  if (at < text.size()) echo += "... (" + std::to_string(text.size()) + " bytes)";
  return echo;
}

}  // namespace orbe
