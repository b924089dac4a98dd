// The value area that follows an UPDATE or INSERT record: fixed-width values
// back to back in field order, then the long texts, each as a 32-bit length
// and its bytes, referenced from their 4-byte slots.
#ifndef ORBE_DICTIONARY_SQL_VALUE_AREA_H_
#define ORBE_DICTIONARY_SQL_VALUE_AREA_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "dictionary/sql_table.h"

namespace orbe::sql {

// Records and value areas are little-endian, like the host (asserted in sql_records.h).
template <typename T>
void StoreValue(std::uint8_t* destination, T value) {
  std::memcpy(destination, &value, sizeof value);
}

class ValueAreaWriter {
 public:
  ValueAreaWriter(std::uint8_t* area, std::size_t size);

  // Writes the field's value from its statement text by the field's type.
  // False when the text does not suit the type or the value does not fit:
  // nothing is ever written past the area.
  bool WriteValue(const FieldView& field, std::string_view text);
  // Appends the long texts in slot order and points each slot at its length word.
  bool AppendLongTexts();

  std::uint32_t used() const { return static_cast<std::uint32_t>(used_); }

 private:
  struct PendingText {
    std::size_t slot;
    std::string_view text;
  };

  std::size_t space_left() const { return size_ - used_; }
  bool WriteFixedText(std::uint32_t width, std::string_view text);
  bool WriteLongTextSlot(std::string_view text);
  template <typename T>
  bool WriteNumber(T value);

  std::uint8_t* const area_;
  const std::size_t size_;
  std::size_t used_ = 0;
  std::vector<PendingText> pending_;
};

}  // namespace orbe::sql

#endif  // ORBE_DICTIONARY_SQL_VALUE_AREA_H_
