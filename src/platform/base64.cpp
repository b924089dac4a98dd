#include <nettle/base64.h>

#include <algorithm>

#include "orbe/platform/crypto.h"

namespace orbe {

namespace {

bool IsAlphabet(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '/';
}

// nettle skips whitespace and accepts unpadded tails in its update step; the
// secured texts this decodes are machine-made, so anything but the canonical
// form is taken as damage.
bool IsCanonicalShape(std::string_view text) {
  if (text.size() % 4 != 0) return false;
  std::size_t padding = 0;
  while (padding < text.size() && text[text.size() - 1 - padding] == '=') ++padding;
  if (padding > 2) return false;
  const std::string_view body = text.substr(0, text.size() - padding);
  return std::all_of(body.begin(), body.end(), IsAlphabet);
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
  std::string text(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
  base64_encode_raw(text.data(), bytes.size(), reinterpret_cast<const std::uint8_t*>(bytes.data()));
  return text;
}

std::optional<std::string> Base64Decode(std::string_view text) {
  if (!IsCanonicalShape(text)) return std::nullopt;
  std::string bytes(BASE64_DECODE_LENGTH(text.size()), '\0');
  base64_decode_ctx context;
  base64_decode_init(&context);
  std::size_t size = bytes.size();
  if (!base64_decode_update(&context, &size, reinterpret_cast<std::uint8_t*>(bytes.data()), text.size(),
                            text.data()) ||
      !base64_decode_final(&context)) {
    return std::nullopt;
  }
  bytes.resize(size);
  return bytes;
}

}  // namespace orbe
