#include "dictionary/sql_value_area.h"

#include <algorithm>
#include <limits>

#include "dictionary/sql_scanner.h"
#include "orbe/dictionary/dictionary_records.h"

namespace orbe::sql {

namespace {

// The record counts used bytes in 32 bits.
constexpr std::size_t kMaxAreaSize = std::numeric_limits<std::uint32_t>::max();

}  // namespace

ValueAreaWriter::ValueAreaWriter(std::uint8_t* area, std::size_t size)
    : area_(area), size_(std::min(size, kMaxAreaSize)) {}

template <typename T>
bool ValueAreaWriter::WriteNumber(T value) {
  if (space_left() < sizeof value) return false;
  StoreValue(area_ + used_, value);
  used_ += sizeof value;
  return true;
}

bool ValueAreaWriter::WriteFixedText(std::uint32_t width, std::string_view text) {
  if (space_left() < width || text.size() > width) return false;
  std::memset(area_ + used_, 0, width);
  if (!text.empty()) std::memcpy(area_ + used_, text.data(), text.size());
  used_ += width;
  return true;
}

bool ValueAreaWriter::WriteLongTextSlot(std::string_view text) {
  const std::size_t slot = used_;
  // The slot holds -1 until the text is appended behind the fixed values.
  if (!WriteNumber<std::int32_t>(-1)) return false;
  if (space_left() < text.size()) return false;
  pending_.push_back({slot, text});
  return true;
}

bool ValueAreaWriter::WriteValue(const FieldView& field, std::string_view text) {
  switch (field.type) {
    case kFieldConstCodes:
    case kFieldText: {
      const auto quoted = QuotedText(text);
      return quoted && WriteFixedText(field.width, *quoted);
    }
    case kFieldLongText:
    case kFieldLongTextAlt: {
      const auto quoted = QuotedText(text);
      return quoted && WriteLongTextSlot(*quoted);
    }
    case kFieldInt16:
      return WriteNumber(static_cast<std::int16_t>(ParseInt32(text)));
    case kFieldInt32:
    case kFieldInt32Alt:
      return WriteNumber(ParseInt32(text));
    case kFieldInt64:
    case kFieldDateTime:
      return WriteNumber(ParseInt64(text));
    case kFieldUInt8:
      return WriteNumber(static_cast<std::uint8_t>(ParseInt32(text)));
    case kFieldFloat:
      return WriteNumber(static_cast<float>(ParseDouble(text)));
    case kFieldDouble:
      return WriteNumber(ParseDouble(text));
    default:
      return true;  // listed without a value
  }
}

bool ValueAreaWriter::AppendLongTexts() {
  for (const PendingText& pending : pending_) {
    // The length word counts against the space too.
    if (space_left() < sizeof(std::uint32_t) + pending.text.size()) return false;
    StoreValue(area_ + pending.slot, static_cast<std::uint32_t>(used_));
    StoreValue(area_ + used_, static_cast<std::uint32_t>(pending.text.size()));
    used_ += sizeof(std::uint32_t);
    if (!pending.text.empty()) std::memcpy(area_ + used_, pending.text.data(), pending.text.size());
    used_ += pending.text.size();
  }
  pending_.clear();
  return true;
}

}  // namespace orbe::sql
