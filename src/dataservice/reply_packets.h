// Reply packets into records, SQL option blocks and cache keys.
#ifndef ORBE_DATASERVICE_REPLY_PACKETS_H_
#define ORBE_DATASERVICE_REPLY_PACKETS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orbe/dataservice/reply_handle.h"

namespace orbe {

inline constexpr std::size_t kMaxInflatedRecord = 65536;
inline constexpr unsigned char kReplyZlibFlag = 0x10;

// The record a packet carries: its body, inflated when header byte 4 has the
// zlib flag. nullopt for an empty body or one that fails to inflate.
std::optional<std::string> RecordOfPacket(ICwReply& reply);

// (type, text) options appended to the next statement.
using SqlOption = std::pair<std::uint8_t, std::string>;
// Zero-fills buffer[size], then writes each option with a non-zero type and a
// text as type, 16-bit length, text, NUL while it fits; returns the bytes used.
std::uint16_t EncodeSqlOptions(const std::vector<SqlOption>& options, char* buffer, int size);

// MD5 of the statement then the option bytes, 32 upper-case hex digits; empty
// when both are empty.
std::string CacheKeyOf(std::string_view statement, std::string_view options);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_REPLY_PACKETS_H_
