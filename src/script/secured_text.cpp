#include "orbe/script/secured_text.h"

#include <optional>

#include "orbe/platform/crypto.h"

namespace orbe {
namespace {

// Twelve ASCII letters and digits; changing it breaks every shipped script.
constexpr std::string_view kSecuredTextKey = "Orbe7Scr1pt4";
static_assert(kSecuredTextKey.size() == 12);

const Blowfish& Cipher() {
  static const Blowfish cipher(kSecuredTextKey);
  return cipher;
}

}  // namespace

std::string DecodeSecuredText(std::string_view text) {
  if (text.size() > kMaxSecuredTextLength) return std::string();
  std::optional<std::string> bytes = Base64Decode(text);
  if (!bytes || bytes->size() % Blowfish::kBlockSize != 0 || !Cipher().Decrypt(bytes->data(), bytes->size())) {
    return std::string();
  }
  const std::size_t end = bytes->find('\0');
  if (end != std::string::npos) bytes->resize(end);
  return *bytes;
}

std::string EncodeSecuredText(std::string_view statement) {
  std::string bytes(statement.substr(0, statement.find('\0')));
  bytes.resize((bytes.size() + Blowfish::kBlockSize - 1) / Blowfish::kBlockSize * Blowfish::kBlockSize, '\0');
  if (!Cipher().Encrypt(bytes.data(), bytes.size())) return std::string();
  return Base64Encode(bytes);
}

}  // namespace orbe
