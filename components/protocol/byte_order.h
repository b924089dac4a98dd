// Little-endian reads and writes at byte offsets, through memcpy so that
// unaligned wire fields never form misaligned references.
#ifndef ORBE_PROTOCOL_BYTE_ORDER_H_
#define ORBE_PROTOCOL_BYTE_ORDER_H_

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace orbe::wire {

// The caller has checked that offset + sizeof(T) fits.
template <typename T>
T LoadAt(std::string_view bytes, std::size_t offset) {
  static_assert(std::is_trivially_copyable_v<T>);
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

template <typename T>
void StoreAt(std::string* bytes, std::size_t offset, T value) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::memcpy(bytes->data() + offset, &value, sizeof(T));
}

template <typename T>
void Append(std::string* bytes, T value) {
  static_assert(std::is_trivially_copyable_v<T>);
  bytes->append(reinterpret_cast<const char*>(&value), sizeof(T));
}

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_BYTE_ORDER_H_
