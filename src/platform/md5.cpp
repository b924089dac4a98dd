#include <nettle/md5.h>

#include <cstdio>
#include <memory>
#include <new>

#include "orbe/platform/crypto.h"

namespace orbe {

namespace {

static_assert(sizeof(md5_ctx) <= 128, "Md5 state buffer too small for nettle's context");
static_assert(alignof(md5_ctx) <= 8);
static_assert(Md5::kDigestSize == MD5_DIGEST_SIZE);

// The file is read in blocks of this size, as the dictionary updater always has.
constexpr std::size_t kFileBlockSize = 16384;

md5_ctx* ContextIn(std::uint8_t* state) { return std::launder(reinterpret_cast<md5_ctx*>(state)); }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

Md5::Md5() { md5_init(new (state_) md5_ctx); }

void Md5::Update(const void* data, std::size_t size) {
  if (size == 0) return;
  md5_update(ContextIn(state_), size, static_cast<const std::uint8_t*>(data));
}

Md5::Digest Md5::Final() {
  Digest digest{};
  md5_digest(ContextIn(state_), digest.size(), digest.data());  // also resets the context
  return digest;
}

std::string DigestHex(const Md5::Digest& digest) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(digest.size() * 2);
  for (const std::uint8_t byte : digest) {
    hex += kHex[byte >> 4];
    hex += kHex[byte & 0x0F];
  }
  return hex;
}

std::string Md5Hex(std::string_view data) {
  Md5 md5;
  md5.Update(data);
  return DigestHex(md5.Final());
}

std::string FileMd5Hex(const std::string& path) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::string();
  const auto block = std::make_unique<std::uint8_t[]>(kFileBlockSize);
  Md5 md5;
  for (;;) {
    const std::size_t got = std::fread(block.get(), 1, kFileBlockSize, file.get());
    md5.Update(block.get(), got);
    if (got < kFileBlockSize) break;
  }
  if (std::ferror(file.get())) return std::string();
  return DigestHex(md5.Final());
}

}  // namespace orbe
