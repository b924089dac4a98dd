// The results of the procedures served through call (2023), behind the reply's
// status byte (docs/protocol.md, "Reference procedures" and "KVX_DataBrowse").
#ifndef ORBE_PROTOCOL_PROCEDURE_RESULTS_H_
#define ORBE_PROTOCOL_PROCEDURE_RESULTS_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace orbe::wire {

// A reference page: i16 record count, then the records, each a run of
// NUL-padded fixed-width texts. Paged sets hold this many records per page,
// from page 0 on.
inline constexpr int kReferencePageRows = 500;
using ReferencePageCount = std::int16_t;

// KVX_DataBrowse values are typed by the screening's DATA_TYPE codes.
enum class BrowseValue : std::int16_t { kInt32 = 0, kDouble = 1, kString = 3, kInt64 = 4 };
// The key each record carries: 12 bytes of inner code or 6 of security code.
enum class BrowseKey : std::int16_t { kInnerCode = 0, kSecurityCode = 2 };
inline constexpr std::size_t BrowseKeyWidth(BrowseKey key) { return key == BrowseKey::kSecurityCode ? 6 : 12; }

#pragma pack(push, 1)
// Heads a KVX_DataBrowse result; the records follow: key (NUL-padded to its
// width), then the value (value_width bytes).
struct DataBrowseHead {
  std::int32_t count;
  std::int16_t key_type;    // BrowseKey
  std::int16_t value_type;  // BrowseValue
  std::int16_t value_width;
};
#pragma pack(pop)
static_assert(sizeof(DataBrowseHead) == 10);
static_assert(offsetof(DataBrowseHead, key_type) == 4);
static_assert(offsetof(DataBrowseHead, value_type) == 6);
static_assert(offsetof(DataBrowseHead, value_width) == 8);

inline std::string EncodeDataBrowseHead(const DataBrowseHead& head) {
  return std::string(reinterpret_cast<const char*>(&head), sizeof head);
}
inline std::optional<DataBrowseHead> DecodeDataBrowseHead(std::string_view result) {
  if (result.size() < sizeof(DataBrowseHead)) return std::nullopt;
  DataBrowseHead head;
  std::memcpy(&head, result.data(), sizeof head);
  return head;
}

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_PROCEDURE_RESULTS_H_
