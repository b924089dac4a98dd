#include "dataservice/reply_record_reader.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>

#include "protocol/statements.h"

namespace orbe {
namespace {

constexpr int kMinTextSize = 9;

// The value bytes at the field's offset when `width` of them lie in the record.
std::optional<std::string_view> ValueBytes(std::string_view record, const tagMemFieldInfo& field,
                                           std::size_t width) {
  const std::size_t offset = field.offset;
  if (offset > record.size() || width > record.size() - offset) return std::nullopt;
  return record.substr(offset, width);
}

template <typename T>
std::optional<T> ValueAt(std::string_view record, const tagMemFieldInfo& field) {
  const auto bytes = ValueBytes(record, field, sizeof(T));
  if (!bytes) return std::nullopt;
  T value;
  std::memcpy(&value, bytes->data(), sizeof(T));
  return value;
}

// Text of a fixed-width field: up to its first NUL, at most `limit` bytes.
std::optional<std::string_view> FixedText(std::string_view record, const tagMemFieldInfo& field,
                                          std::size_t limit) {
  const auto bytes = ValueBytes(record, field, field.width);
  if (!bytes) return std::nullopt;
  const std::string_view text = bytes->substr(0, std::min<std::size_t>(limit, bytes->size()));
  return text.substr(0, std::min(text.find('\0'), text.size()));
}

// Types 11 and 12: a slot pointing at the text behind the fixed part.
std::optional<std::string_view> LongText(std::string_view record, const tagMemFieldInfo& field) {
  return wire::LongTextAt(record, field.offset);
}

bool CopyText(std::string_view value, char* text, int size) {
  const std::size_t count = std::min<std::size_t>(value.size(), static_cast<std::size_t>(size - 1));
  std::memcpy(text, value.data(), count);
  text[count] = '\0';
  return true;
}

std::optional<std::string> NumberText(std::string_view record, const tagMemFieldInfo& field) {
  char buffer[64] = {};
  switch (field.type) {
    case kFieldInt16:
    case kFieldInt32:
    case kFieldInt32Alt: {
      int value = 0;
      if (!ReadFieldAsInt(record, field, &value)) return std::nullopt;
      std::snprintf(buffer, sizeof buffer, "%d", value);
      break;
    }
    case kFieldInt64: {
      const auto value = ValueAt<std::int64_t>(record, field);
      if (!value) return std::nullopt;
      std::snprintf(buffer, sizeof buffer, "%" PRId64, *value);
      break;
    }
    case kFieldUInt8: {
      const auto value = ValueAt<std::int8_t>(record, field);
      if (!value) return std::nullopt;
      std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(*value));
      break;
    }
    case kFieldFloat:
    case kFieldDouble: {
      double value = 0;
      if (!ReadFieldAsDouble(record, field, &value)) return std::nullopt;
      std::snprintf(buffer, sizeof buffer, "%.3f", value);
      break;
    }
    case kFieldDateTime: {
      const auto date = ValueAt<std::int32_t>(record, field);
      const auto bytes = ValueBytes(record, field, 2 * sizeof(std::int32_t));
      if (!date || !bytes) return std::nullopt;
      std::int32_t time = 0;
      std::memcpy(&time, bytes->data() + sizeof(std::int32_t), sizeof time);
      if (time > 0) {
        std::snprintf(buffer, sizeof buffer, "%d-%06d", *date, time);
      } else {
        std::snprintf(buffer, sizeof buffer, "%d", *date);
      }
      break;
    }
    default:
      return std::nullopt;
  }
  return std::string(buffer);
}

}  // namespace

bool ReadFieldAsInt(std::string_view record, const tagMemFieldInfo& field, int* value) {
  if (value == nullptr) return false;
  std::optional<int> read;
  switch (field.type) {
    case kFieldInt16:
      if (const auto v = ValueAt<std::int16_t>(record, field)) read = *v;
      break;
    case kFieldInt32:
    case kFieldInt32Alt:
      if (const auto v = ValueAt<std::int32_t>(record, field)) read = *v;
      break;
    case kFieldInt64:
    case kFieldDateTime:
      // The low half only: a stamp or a date-and-time does not fit 32 bits.
      if (const auto v = ValueAt<std::int64_t>(record, field)) read = static_cast<std::int32_t>(*v);
      break;
    case kFieldUInt8:
      if (const auto v = ValueAt<std::uint8_t>(record, field)) read = *v;
      break;
    default:
      break;
  }
  if (!read) return false;
  *value = *read;
  return true;
}

bool ReadFieldAsDouble(std::string_view record, const tagMemFieldInfo& field, double* value) {
  if (value == nullptr) return false;
  std::optional<double> read;
  if (field.type == kFieldFloat) {
    if (const auto v = ValueAt<float>(record, field)) read = *v;
  } else if (field.type == kFieldDouble) {
    if (const auto v = ValueAt<double>(record, field)) read = *v;
  }
  if (!read) return false;
  *value = *read;
  return true;
}

bool ReadFieldAsInt64(std::string_view record, const tagMemFieldInfo& field, std::int64_t* value) {
  if (value == nullptr || (field.type != kFieldInt64 && field.type != kFieldDateTime)) return false;
  const auto read = ValueAt<std::int64_t>(record, field);
  if (!read) return false;
  *value = *read;
  return true;
}

std::string TranslateConstCodes(std::string_view codes, const ConstTextLookup& consts) {
  std::string joined;
  bool first = true;
  for (std::size_t start = 0; start <= codes.size();) {
    const std::size_t comma = std::min(codes.find(',', start), codes.size());
    std::string text;
    if (consts(codes.substr(start, comma - start), &text)) {
      if (!first) joined += ',';
      joined += text;
      first = false;
    }
    start = comma + 1;
  }
  return joined;
}

bool ReadFieldAsText(std::string_view record, const tagMemFieldInfo& field, char* text, int size,
                     const ConstTextLookup* consts) {
  if (text == nullptr || size < kMinTextSize) return false;
  text[0] = '\0';
  const std::size_t limit = static_cast<std::size_t>(size - 1);
  switch (field.type) {
    case kFieldConstCodes: {
      const auto codes = FixedText(record, field, limit);
      if (!codes) return false;
      return consts != nullptr ? CopyText(TranslateConstCodes(*codes, *consts), text, size)
                               : CopyText(*codes, text, size);
    }
    case kFieldText: {
      const auto value = FixedText(record, field, limit);
      return value && CopyText(*value, text, size);
    }
    case kFieldLongText:
    case kFieldLongTextAlt: {
      const auto value = LongText(record, field);
      return value && CopyText(*value, text, size);
    }
    default: {
      const auto value = NumberText(record, field);
      return value && CopyText(*value, text, size);
    }
  }
}

}  // namespace orbe
