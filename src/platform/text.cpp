#include "orbe/platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace orbe {
namespace {

// One iconv conversion descriptor per call keeps conversion thread-safe
// without locks; opening one is cheap next to the conversions we do.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (valid()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// How many input bytes an unconvertible character spans, so that one
// replacement stands for one character.
using SkipFn = size_t (*)(const char* at, size_t left);

size_t SkipOneByte(const char*, size_t) { return 1; }

size_t SkipUtf8Sequence(const char* at, size_t left) {
  const auto lead = static_cast<unsigned char>(at[0]);
  size_t length = 1;
  if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else if (lead >= 0xE0) length = 3;
  else if (lead >= 0xC2 && lead < 0xE0) length = 2;
  if (length > left) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(at[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// Converts text; on an invalid or incomplete sequence either fails (strict)
// or emits `replacement` and skips the offending character.
std::optional<std::string> Convert(const char* to, const char* from, std::string_view in,
                                   const char* replacement, SkipFn skip = SkipOneByte) {
  IconvHandle cd(to, from);
  if (!cd.valid()) return std::nullopt;
  std::string out;
  out.reserve(in.size() * 2 + 4);
  std::vector<char> buffer(4096);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  while (src_left > 0) {
    char* dst = buffer.data();
    size_t dst_left = buffer.size();
    const size_t rc = iconv(cd.get(), &src, &src_left, &dst, &dst_left);
    out.append(buffer.data(), buffer.size() - dst_left);
    if (rc != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    if (replacement == nullptr) return std::nullopt;
    out.append(replacement);
    const size_t skipped = skip(src, src_left);
    src += skipped;
    src_left -= skipped;
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace

std::optional<std::string> GbkToUtf8Strict(std::string_view gbk) {
  return Convert("UTF-8", "GBK", gbk, nullptr);
}

std::optional<std::string> Utf8ToGbkStrict(std::string_view utf8) {
  return Convert("GBK", "UTF-8", utf8, nullptr);
}

std::string GbkToUtf8(std::string_view gbk) {
  return Convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD").value_or(std::string());
}

std::string Utf8ToGbk(std::string_view utf8) {
  // A character that GBK cannot hold becomes one '?', the way a code-page
  // conversion marks it; a broken sequence gives one '?' per byte.
  return Convert("GBK", "UTF-8", utf8, "?", SkipUtf8Sequence).value_or(std::string());
}

namespace {

template <typename Map>
std::string MapAscii(std::string_view text, Map map) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (IsGbkLeadByte(c) && i + 1 < out.size()) {
      ++i;  // keep the trail byte as it is
      continue;
    }
    out[i] = map(out[i]);
  }
  return out;
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string AsciiUpper(std::string_view text) { return MapAscii(text, UpperAscii); }
std::string AsciiLower(std::string_view text) { return MapAscii(text, LowerAscii); }

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto c = static_cast<unsigned char>(a[i]);
    if (IsGbkLeadByte(c) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

std::size_t CopyBounded(char* dst, std::size_t size, std::string_view src) {
  if (dst == nullptr || size == 0) return 0;
  size_t n = 0;
  const size_t limit = size - 1;
  while (n < src.size() && n < limit) {
    const auto c = static_cast<unsigned char>(src[n]);
    if (IsGbkLeadByte(c) && n + 1 < src.size()) {
      if (n + 2 > limit) break;  // never split a double-byte character
      n += 2;
      continue;
    }
    ++n;
  }
  std::memcpy(dst, src.data(), n);
  dst[n] = '\0';
  return n;
}

std::string FieldText(const char* field, std::size_t size) {
  if (field == nullptr) return std::string();
  const void* end = std::memchr(field, '\0', size);
  const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - field) : size;
  return std::string(field, length);
}

std::string FormatV(const char* format, std::va_list args) {
  std::va_list copy;
  va_copy(copy, args);
  char small[256];
  const int needed = std::vsnprintf(small, sizeof(small), format, copy);
  va_end(copy);
  if (needed < 0) return std::string();
  if (static_cast<size_t>(needed) < sizeof(small)) return std::string(small, static_cast<size_t>(needed));
  std::string out(static_cast<size_t>(needed) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<size_t>(needed));
  return out;
}

std::string Format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string out = FormatV(format, args);
  va_end(args);
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace orbe
