// Reply packets: encoders for the server side, decoders of the reply bodies
// for clients (docs/protocol.md, sections 3 to 5).
#ifndef ORBE_PROTOCOL_REPLIES_H_
#define ORBE_PROTOCOL_REPLIES_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/frame_splitter.h"
#include "protocol/wire_format.h"

namespace orbe::wire {

// Identifies the request a packet answers.
struct ReplyTo {
  std::uint32_t request_id = 0;
  std::uint16_t code = 0;
};

// Appends one data packet with the payload as it is. False (nothing
// appended) when the payload exceeds the largest packet.
bool AppendDataPacket(std::string* out, ReplyTo to, std::int32_t progress, std::string_view payload);
// The same, but the payload travels zlib-compressed when that is shorter;
// payloads above kMaxRawPayload are refused, since clients inflate into a
// buffer of that size.
bool AppendCompressibleDataPacket(std::string* out, ReplyTo to, std::int32_t progress,
                                  std::string_view payload);
void AppendEndPacket(std::string* out, ReplyTo to, std::int32_t status);

// The payload as the requester reads it: inflated when flag 0x10 is set.
// nullopt when inflating fails or does not give the announced raw length.
std::optional<std::string> PacketBody(const ReplyPacket& packet);

struct HostLoad {
  std::uint32_t load = 0;
  std::uint32_t capacity = 0;
};
inline constexpr std::size_t kHostLoadBodySize = 8;
std::string EncodeHostLoadBody(HostLoad value);
// nullopt unless the body is exactly 8 bytes.
std::optional<HostLoad> DecodeHostLoadBody(std::string_view body);

enum TableStatus : std::uint8_t {
  kTableKnown = 0,
  kTableUnknown = 1,
};
struct TableTimeStamp {
  std::uint8_t status = kTableUnknown;
  std::int64_t stamp = -1;
};
inline constexpr std::size_t kTimeStampBodySize = 9;
std::string EncodeTimeStampBody(TableTimeStamp value);
// nullopt unless the body is exactly 9 bytes.
std::optional<TableTimeStamp> DecodeTimeStampBody(std::string_view body);

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_REPLIES_H_
