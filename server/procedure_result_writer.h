// Builds the result bytes of a procedure: fixed-width texts and little-endian
// numbers, in the order the caller pops them.
#ifndef ORBE_SERVER_PROCEDURE_RESULT_WRITER_H_
#define ORBE_SERVER_PROCEDURE_RESULT_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/byte_order.h"

namespace orbe::server {

class ResultWriter {
 public:
  // A text in exactly `width` bytes, NUL-padded. A longer text is cut before
  // the character that would not fit whole, so no GBK character is split.
  void FixedText(std::string_view text, std::size_t width);

  void Bytes(std::string_view bytes) { bytes_.append(bytes); }
  template <typename T>
  void Number(T value) {
    wire::Append(&bytes_, value);
  }
  // Overwrites a number written earlier (a count known only at the end).
  template <typename T>
  void NumberAt(std::size_t offset, T value) {
    wire::StoreAt(&bytes_, offset, value);
  }

  std::size_t size() const { return bytes_.size(); }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_RESULT_WRITER_H_
