// Digests, ciphers, encodings and compression the module and its components
// share: MD5 of dictionary files, UUID texts, the secured statements of the
// script API (Base64 of Blowfish) and zlib bodies of reply packets.
#ifndef ORBE_PLATFORM_CRYPTO_H_
#define ORBE_PLATFORM_CRYPTO_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orbe {

// Streaming MD5. The state lives inline so that a digest needs no allocation.
class Md5 {
 public:
  static constexpr std::size_t kDigestSize = 16;
  using Digest = std::array<std::uint8_t, kDigestSize>;

  Md5();
  void Update(const void* data, std::size_t size);
  void Update(std::string_view data) { Update(data.data(), data.size()); }
  // Returns the digest of everything fed so far and starts over.
  Digest Final();

 private:
  alignas(8) std::uint8_t state_[128];
};

// Upper-case hex, two digits per byte in digest order.
std::string DigestHex(const Md5::Digest& digest);
std::string Md5Hex(std::string_view data);
// MD5 of a file's bytes in upper-case hex; "" when the file cannot be opened
// or a read fails part way (a digest of half a file would match nothing).
std::string FileMd5Hex(const std::string& path);

// A new random UUID in lower-case textual form (36 characters); "" on failure.
std::string NewUuidText();

std::string Base64Encode(std::string_view bytes);
// Strict: only the standard alphabet, length a multiple of 4, '=' only as
// final padding, no whitespace. nullopt for anything else.
std::optional<std::string> Base64Decode(std::string_view text);

// Blowfish in ECB mode. Keys of 4 to 56 bytes are accepted (32 to 448 bits, the
// cipher's defined range); any other length leaves the cipher unkeyed and
// every operation fails.
class Blowfish {
 public:
  static constexpr std::size_t kBlockSize = 8;
  static constexpr std::size_t kMinKeySize = 4;
  static constexpr std::size_t kMaxKeySize = 56;

  Blowfish(const void* key, std::size_t key_size);
  explicit Blowfish(std::string_view key) : Blowfish(key.data(), key.size()) {}
  ~Blowfish();
  Blowfish(Blowfish&&) noexcept;
  Blowfish& operator=(Blowfish&&) noexcept;

  bool Keyed() const { return context_ != nullptr; }
  // In place, whole blocks only: false (and nothing changed) when the size is
  // not a multiple of 8 or the cipher is unkeyed.
  bool Encrypt(void* data, std::size_t size) const;
  bool Decrypt(void* data, std::size_t size) const;

 private:
  struct Context;
  std::unique_ptr<Context> context_;
};

// zlib stream (RFC 1950) of the bytes; level as zlib's (-1 default).
std::string Compress(std::string_view bytes, int level = -1);
// Inflates one complete zlib stream producing at most max_size bytes. nullopt
// when the stream is damaged, truncated, followed by extra bytes, or would
// grow beyond max_size.
std::optional<std::string> Uncompress(std::string_view stream, std::size_t max_size);

}  // namespace orbe

#endif  // ORBE_PLATFORM_CRYPTO_H_
