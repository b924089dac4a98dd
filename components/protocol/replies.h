// Reply packets and the reply bodies of section 5 of docs/protocol.md: each
// body's encoder (the server's) beside its decoder (the clients').
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
// nullopt when inflating fails or does not give the announced raw length, or
// when the raw length of a plain payload is not its length.
std::optional<std::string> PacketBody(const ReplyPacket& packet);
// The same from a header and its payload; a plain payload is taken as it is.
std::optional<std::string> PayloadOf(const ReplyHeader& header, std::string_view payload);

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
// The reply of 2015 and, with status 1 for a failure, of 2022.
std::string EncodeTimeStampBody(TableTimeStamp value);
// nullopt unless the body is exactly 9 bytes.
std::optional<TableTimeStamp> DecodeTimeStampBody(std::string_view body);

// First byte of the write (2016-2018) and statistics (2020) replies.
enum ResultStatus : std::uint8_t { kResultOk = 0, kResultFailed = 1 };

// DELETE, UPDATE, INSERT: u8 status, u32 records changed.
struct WriteResult {
  std::uint8_t status = kResultFailed;
  std::uint32_t count = 0;
};
inline constexpr std::size_t kWriteResultSize = 5;
std::string EncodeWriteResult(WriteResult value);
// nullopt unless the body is exactly 5 bytes.
std::optional<WriteResult> DecodeWriteResult(std::string_view body);

// Statistics: u8 status, u16 value type, u32 length n, n value bytes.
struct StatResult {
  std::uint8_t status = kResultFailed;
  std::uint16_t value_type = 0;
  std::string_view value;
};
inline constexpr std::size_t kStatResultHeadSize = 7;
std::string EncodeStatResult(std::uint8_t status, std::uint16_t value_type, std::string_view value);
// nullopt unless the body is exactly 7 + n bytes; the value points into it.
std::optional<StatResult> DecodeStatResult(std::string_view body);

// Flush (2013): one signed byte, 0 = flushed.
std::string EncodeFlushResult(std::int8_t result);
// nullopt unless the body is exactly 1 byte.
std::optional<std::int8_t> DecodeFlushResult(std::string_view body);

// Call (2023) and reload (2024): a status byte, then the procedure's result
// when the status is kCallSuccess.
enum class CallStatus : std::uint8_t {
  kSuccess = 0,
  kUnknownProcedure = 1,
  kBadParameter = 2,
  kStorageFailed = 3,  // travels as end status 105, never in a reply body
  kTooLarge = 4,
};
std::string EncodeCallReply(CallStatus status, std::string_view result);
// The status byte, read signed as the module's callers see it; nullopt for an
// empty body.
std::optional<int> CallReplyStatus(std::string_view body);
inline constexpr std::size_t kCallResultOffset = 1;

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_REPLIES_H_
