#include <nettle/blowfish.h>

#include "orbe/platform/crypto.h"

namespace orbe {

static_assert(Blowfish::kBlockSize == BLOWFISH_BLOCK_SIZE);
static_assert(Blowfish::kMaxKeySize == BLOWFISH_MAX_KEY_SIZE);

struct Blowfish::Context {
  blowfish_ctx cipher;
};

Blowfish::Blowfish(const void* key, std::size_t key_size) {
  if (key == nullptr || key_size < kMinKeySize || key_size > kMaxKeySize) return;
  context_ = std::make_unique<Context>();
  // nettle reports weak keys (a repeated S-box entry) but keys them all the
  // same; peers that enciphered with such a key expect it to work here too.
  blowfish_set_key(&context_->cipher, key_size, static_cast<const std::uint8_t*>(key));
}

Blowfish::~Blowfish() = default;
Blowfish::Blowfish(Blowfish&&) noexcept = default;
Blowfish& Blowfish::operator=(Blowfish&&) noexcept = default;

bool Blowfish::Encrypt(void* data, std::size_t size) const {
  if (!context_ || size % kBlockSize != 0 || (data == nullptr && size != 0)) return false;
  auto* bytes = static_cast<std::uint8_t*>(data);
  blowfish_encrypt(&context_->cipher, size, bytes, bytes);
  return true;
}

bool Blowfish::Decrypt(void* data, std::size_t size) const {
  if (!context_ || size % kBlockSize != 0 || (data == nullptr && size != 0)) return false;
  auto* bytes = static_cast<std::uint8_t*>(data);
  blowfish_decrypt(&context_->cipher, size, bytes, bytes);
  return true;
}

}  // namespace orbe
