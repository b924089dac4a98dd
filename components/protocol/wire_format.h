// Byte layouts of the wire protocol (docs/protocol.md): request frames, reply
// packets, request codes and final statuses. Shared by the engine and the
// data server, so both read the same constants.
#ifndef ORBE_PROTOCOL_WIRE_FORMAT_H_
#define ORBE_PROTOCOL_WIRE_FORMAT_H_

#include <cstddef>
#include <cstdint>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the wire is little-endian");

namespace orbe::wire {

#pragma pack(push, 1)

struct RequestHeader {
  std::uint32_t request_id;
  std::uint8_t marker;   // kRequestMarker
  std::uint8_t version;  // kProtocolVersion
  std::uint32_t total_length;
  std::uint32_t reserved;  // file-server frames repeat the 16-bit length here
};
static_assert(sizeof(RequestHeader) == 14);
static_assert(offsetof(RequestHeader, request_id) == 0);
static_assert(offsetof(RequestHeader, marker) == 4);
static_assert(offsetof(RequestHeader, version) == 5);
static_assert(offsetof(RequestHeader, total_length) == 6);
static_assert(offsetof(RequestHeader, reserved) == 10);

struct ReplyHeader {
  std::uint32_t request_id;
  std::uint8_t flags;  // kFlagZlib
  std::uint8_t kind;   // PacketKind
  std::uint16_t request_code;
  std::uint32_t total_length;  // payload + 24
  std::int32_t progress;
  std::int32_t status;  // 0 in data packets
  std::uint32_t raw_length;
};
static_assert(sizeof(ReplyHeader) == 24);
static_assert(offsetof(ReplyHeader, request_id) == 0);
static_assert(offsetof(ReplyHeader, flags) == 4);
static_assert(offsetof(ReplyHeader, kind) == 5);
static_assert(offsetof(ReplyHeader, request_code) == 6);
static_assert(offsetof(ReplyHeader, total_length) == 8);
static_assert(offsetof(ReplyHeader, progress) == 12);
static_assert(offsetof(ReplyHeader, status) == 16);
static_assert(offsetof(ReplyHeader, raw_length) == 20);

#pragma pack(pop)

inline constexpr std::size_t kRequestHeaderSize = sizeof(RequestHeader);
inline constexpr std::size_t kReplyHeaderSize = sizeof(ReplyHeader);
inline constexpr std::uint8_t kRequestMarker = 0x4F;
inline constexpr std::uint8_t kProtocolVersion = 1;
inline constexpr std::uint8_t kFlagZlib = 0x10;

// A frame must at least hold its request code.
inline constexpr std::uint32_t kMinRequestLength = kRequestHeaderSize + 2;
inline constexpr std::uint32_t kMaxRequestLength = 16u << 20;
inline constexpr std::uint32_t kMaxReplyLength = (16u << 20) + kReplyHeaderSize;
inline constexpr std::uint32_t kMaxFileServerLength = 0xFFFF;
// Largest inflated payload a client has to accept.
inline constexpr std::uint32_t kMaxRawPayload = 65536;
inline constexpr std::uint32_t kFileChunkSize = 65536;
// An MD5 as text: 32 upper-case hex digits (file fetch, uploads, downloads).
inline constexpr std::size_t kDigestTextSize = 32;
inline constexpr int kIdleSeconds = 300;
inline constexpr int kKeepAliveSeconds = 60;

enum PacketKind : std::uint8_t {
  kPacketData = 1,
  kPacketEnd = 2,
};

enum RequestCode : std::uint16_t {
  kCodeSelect = 2008,
  kCodeFileFetch = 2009,
  kCodeFlush = 2013,
  kCodeTableTimeStamp = 2015,
  kCodeDelete = 2016,
  kCodeUpdate = 2017,
  kCodeInsert = 2018,
  kCodeStatistics = 2020,
  kCodeTimeStampIncrease = 2022,
  kCodeCall = 2023,
  kCodeReload = 2024,
  kCodeHostLoad = 2200,
  kCodeKeepAlive = 2201,
  kCodeUploadStart = 2500,
  kCodeUploadChunk = 2501,
  kCodeDownloadStart = 2502,
  kCodeDeleteFile = 2503,
  kCodeReloadPath = 2504,
};

// Final statuses of end packets. Negative ones are the engine's own and never
// travel on the wire.
enum FinalStatus : std::int32_t {
  kStatusComplete = 100,
  kStatusMalformed = 101,
  kStatusUnknownCode = 102,
  kStatusNotServed = 103,
  kStatusNotFound = 104,
  kStatusServerError = 105,
  // Not permitted: the client is outside the server's allow list, or the
  // request writes and the server is read-only. Nothing was changed.
  kStatusRefused = 106,
  kStatusConnectionLost = -1,
  kStatusTimedOut = -2,
  kStatusProxyUnsupported = -3,
  // Its handle was dropped by a queue reset: the request runs on and its
  // reply is discarded.
  kStatusDropped = -4,
};

// What a request does to the service, which decides two things: whether a
// read-only server runs it, and whether a client may send it again to another
// server after the first one went away without answering.
enum class RequestEffect : std::uint8_t {
  kRead,   // answers from the data; sending it twice gives the same answer twice
  kWrite,  // changes data or stamps; sent twice it could be applied twice
};

struct RequestKind {
  std::uint16_t code;
  RequestEffect effect;
};

// Every request code of both ports. A procedure call (2023) is a read: the
// procedures of this service only read; a reload (2024) raises the stamps of
// procedure results, so it counts as a write.
inline constexpr RequestKind kRequestKinds[] = {
    {kCodeSelect, RequestEffect::kRead},
    {kCodeFileFetch, RequestEffect::kRead},
    {kCodeFlush, RequestEffect::kRead},
    {kCodeTableTimeStamp, RequestEffect::kRead},
    {kCodeDelete, RequestEffect::kWrite},
    {kCodeUpdate, RequestEffect::kWrite},
    {kCodeInsert, RequestEffect::kWrite},
    {kCodeStatistics, RequestEffect::kRead},
    {kCodeTimeStampIncrease, RequestEffect::kWrite},
    {kCodeCall, RequestEffect::kRead},
    {kCodeReload, RequestEffect::kWrite},
    {kCodeHostLoad, RequestEffect::kRead},
    {kCodeKeepAlive, RequestEffect::kRead},
    {kCodeUploadStart, RequestEffect::kWrite},
    {kCodeUploadChunk, RequestEffect::kWrite},
    {kCodeDownloadStart, RequestEffect::kRead},
    {kCodeDeleteFile, RequestEffect::kWrite},
    {kCodeReloadPath, RequestEffect::kRead},
};

// An unknown code counts as a write: nothing is assumed safe that is not known.
constexpr bool IsReadRequest(std::uint16_t code) {
  for (const RequestKind& kind : kRequestKinds) {
    if (kind.code == code) return kind.effect == RequestEffect::kRead;
  }
  return false;
}

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_WIRE_FORMAT_H_
