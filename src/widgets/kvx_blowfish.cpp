#include "orbe/platform/crypto.h"
#include "orbe/widgets/kvx_functions.h"

CKvxBlowfish::CKvxBlowfish(const unsigned char* key, int length) {
  if (length > 0) cipher_ = std::make_unique<orbe::Blowfish>(key, static_cast<std::size_t>(length));
}

CKvxBlowfish::~CKvxBlowfish() = default;

bool CKvxBlowfish::Encrypt(unsigned char* buffer, int length) {
  if (!cipher_ || length < 0 || buffer == nullptr) return false;
  return cipher_->Encrypt(buffer, static_cast<std::size_t>(length));
}

bool CKvxBlowfish::Decrypt(unsigned char* buffer, int length) {
  if (!cipher_ || length < 0 || buffer == nullptr) return false;
  return cipher_->Decrypt(buffer, static_cast<std::size_t>(length));
}
