// The client's typed reads of one field of a SELECT reply record, with the
// field description and the text buffer size taken from the input too: no
// read may leave the record, no write the buffer, and what reads succeed
// must lie in the record.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "dataservice/reply_record_reader.h"

namespace {

// Input: type u8, offset u32, width u16, text size u8, then the record.
constexpr std::size_t kHeaderSize = 8;

// The bytes a numeric read of the type needs; 0 for the text types.
std::size_t NumericSize(std::int32_t type) {
  switch (type) {
    case orbe::kFieldUInt8:
      return 1;
    case orbe::kFieldInt16:
      return 2;
    case orbe::kFieldInt32:
    case orbe::kFieldInt32Alt:
    case orbe::kFieldFloat:
      return 4;
    case orbe::kFieldInt64:
    case orbe::kFieldDouble:
    case orbe::kFieldDateTime:
      return 8;
    default:
      return 0;
  }
}

bool Fits(std::string_view record, std::uint32_t offset, std::size_t size) {
  return offset <= record.size() && size <= record.size() - offset;
}

// Codes of even length have a text (the code doubled), the others none, so
// that both paths of the translation run.
bool DoubledCode(std::string_view code, std::string* text) {
  if (code.size() % 2 != 0) return false;
  *text = std::string(code) + std::string(code);
  return true;
}

void CheckNumericReads(std::string_view record, const tagMemFieldInfo& field) {
  const std::size_t need = NumericSize(field.type);
  int integer = 0;
  double real = 0;
  std::int64_t wide = 0;
  const bool any = orbe::ReadFieldAsInt(record, field, &integer) ||
                   orbe::ReadFieldAsDouble(record, field, &real) ||
                   orbe::ReadFieldAsInt64(record, field, &wide);
  if (any && (need == 0 || !Fits(record, field.offset, need))) __builtin_trap();
}

// A plain fixed-width text read gives the record's bytes at the offset.
void CheckFixedText(std::string_view record, const tagMemFieldInfo& field, const char* text, int size) {
  const std::size_t length = std::strlen(text);
  const std::size_t limit = std::min<std::size_t>(field.width, static_cast<std::size_t>(size - 1));
  if (!Fits(record, field.offset, field.width) || length > limit ||
      record.substr(field.offset, length) != std::string_view(text, length)) {
    __builtin_trap();
  }
}

void CheckTextRead(std::string_view record, const tagMemFieldInfo& field, int size) {
  const orbe::ConstTextLookup consts = DoubledCode;
  for (const orbe::ConstTextLookup* lookup : {static_cast<const orbe::ConstTextLookup*>(nullptr), &consts}) {
    // Exactly `size` bytes, so that a write past the buffer is caught.
    std::vector<char> text(static_cast<std::size_t>(size));
    if (!orbe::ReadFieldAsText(record, field, text.data(), size, lookup)) continue;
    if (std::find(text.begin(), text.end(), '\0') == text.end()) __builtin_trap();
    const bool plain = field.type == orbe::kFieldText || (field.type == orbe::kFieldConstCodes && !lookup);
    if (plain) CheckFixedText(record, field, text.data(), size);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kHeaderSize) return 0;
  tagMemFieldInfo field{};
  field.field_number = 1;
  field.type = data[0] % 14;  // every type and an unknown one on each side
  std::uint32_t offset = 0;
  std::uint16_t width = 0;
  std::memcpy(&offset, data + 1, sizeof offset);
  std::memcpy(&width, data + 5, sizeof width);
  field.offset = offset;
  field.width = width;
  const int text_size = data[7] % 128;
  const std::string_view record(reinterpret_cast<const char*>(data + kHeaderSize), size - kHeaderSize);

  CheckNumericReads(record, field);
  CheckTextRead(record, field, text_size);
  const std::string joined = orbe::TranslateConstCodes(record, DoubledCode);
  if (joined.size() > 2 * record.size()) __builtin_trap();
  return 0;
}
