// Fuzzes the GBK/UTF-8 conversions and the byte-level text helpers with
// arbitrary bytes: nothing may crash, overrun, or break its invariants.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "orbe/platform/text.h"

namespace {

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t length = c < 0x80 ? 1 : (c >= 0xC2 && c < 0xE0) ? 2 : (c >= 0xE0 && c < 0xF0) ? 3 : (c >= 0xF0 && c <= 0xF4) ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string utf8 = orbe::GbkToUtf8(input);
  Check(IsValidUtf8(utf8));
  if (const auto strict = orbe::GbkToUtf8Strict(input)) {
    Check(*strict == utf8);
    Check(orbe::Utf8ToGbkStrict(*strict).has_value());
  }
  const std::string gbk = orbe::Utf8ToGbk(input);
  Check(orbe::GbkToUtf8Strict(gbk).has_value());

  Check(orbe::AsciiUpper(input).size() == size);
  Check(orbe::EqualsIgnoreAsciiCase(orbe::AsciiLower(input), orbe::AsciiUpper(input)));

  char field[17];
  const size_t limit = size % sizeof(field);
  const size_t copied = orbe::CopyBounded(field, limit, input);
  Check(limit == 0 || (copied < limit && field[copied] == '\0'));
  Check(input.substr(0, copied) == std::string_view(field, copied));
  return 0;
}
