#include "protocol/replies.h"

#include "orbe/platform/crypto.h"
#include "protocol/byte_order.h"

namespace orbe::wire {
namespace {

// Payloads this short rarely shrink, and compressing them costs more than it saves.
constexpr std::size_t kMinCompressible = 128;

void AppendPacket(std::string* out, ReplyTo to, PacketKind kind, std::uint8_t flags, std::int32_t progress,
                  std::int32_t status, std::string_view payload, std::uint32_t raw_length) {
  ReplyHeader header{};
  header.request_id = to.request_id;
  header.flags = flags;
  header.kind = kind;
  header.request_code = to.code;
  header.total_length = static_cast<std::uint32_t>(kReplyHeaderSize + payload.size());
  header.progress = progress;
  header.status = status;
  header.raw_length = raw_length;
  Append(out, header);
  out->append(payload);
}

}  // namespace

bool AppendDataPacket(std::string* out, ReplyTo to, std::int32_t progress, std::string_view payload) {
  if (payload.size() > kMaxReplyLength - kReplyHeaderSize) return false;
  AppendPacket(out, to, kPacketData, 0, progress, 0, payload, static_cast<std::uint32_t>(payload.size()));
  return true;
}

bool AppendCompressibleDataPacket(std::string* out, ReplyTo to, std::int32_t progress,
                                  std::string_view payload) {
  if (payload.size() > kMaxRawPayload) return false;
  if (payload.size() >= kMinCompressible) {
    const std::string packed = Compress(payload);
    if (packed.size() < payload.size()) {
      AppendPacket(out, to, kPacketData, kFlagZlib, progress, 0, packed,
                   static_cast<std::uint32_t>(payload.size()));
      return true;
    }
  }
  return AppendDataPacket(out, to, progress, payload);
}

void AppendEndPacket(std::string* out, ReplyTo to, std::int32_t status) {
  AppendPacket(out, to, kPacketEnd, 0, 100, status, {}, 0);
}

std::optional<std::string> PacketBody(const ReplyPacket& packet) {
  const bool zlib = (packet.header.flags & kFlagZlib) != 0;
  if (!zlib && packet.header.raw_length != packet.payload.size()) return std::nullopt;
  return PayloadOf(packet.header, packet.payload);
}

std::optional<std::string> PayloadOf(const ReplyHeader& header, std::string_view payload) {
  if ((header.flags & kFlagZlib) == 0) return std::string(payload);
  const std::uint32_t raw_length = header.raw_length;
  if (raw_length > kMaxRawPayload) return std::nullopt;
  auto body = Uncompress(payload, raw_length);
  if (!body || body->size() != raw_length) return std::nullopt;
  return body;
}

std::string EncodeHostLoadBody(HostLoad value) {
  std::string body;
  Append(&body, value.load);
  Append(&body, value.capacity);
  return body;
}

std::optional<HostLoad> DecodeHostLoadBody(std::string_view body) {
  if (body.size() != kHostLoadBodySize) return std::nullopt;
  return HostLoad{LoadAt<std::uint32_t>(body, 0), LoadAt<std::uint32_t>(body, 4)};
}

std::string EncodeTimeStampBody(TableTimeStamp value) {
  std::string body;
  Append(&body, value.status);
  Append(&body, value.stamp);
  return body;
}

std::optional<TableTimeStamp> DecodeTimeStampBody(std::string_view body) {
  if (body.size() != kTimeStampBodySize) return std::nullopt;
  return TableTimeStamp{LoadAt<std::uint8_t>(body, 0), LoadAt<std::int64_t>(body, 1)};
}


std::string EncodeWriteResult(WriteResult value) {
  std::string body;
  Append(&body, value.status);
  Append(&body, value.count);
  return body;
}

std::optional<WriteResult> DecodeWriteResult(std::string_view body) {
  if (body.size() != kWriteResultSize) return std::nullopt;
  return WriteResult{LoadAt<std::uint8_t>(body, 0), LoadAt<std::uint32_t>(body, 1)};
}

std::string EncodeStatResult(std::uint8_t status, std::uint16_t value_type, std::string_view value) {
  std::string body;
  Append(&body, status);
  Append(&body, value_type);
  Append(&body, static_cast<std::uint32_t>(value.size()));
  body.append(value);
  return body;
}

std::optional<StatResult> DecodeStatResult(std::string_view body) {
  if (body.size() < kStatResultHeadSize) return std::nullopt;
  const auto length = LoadAt<std::uint32_t>(body, 3);
  if (length != body.size() - kStatResultHeadSize) return std::nullopt;
  return StatResult{LoadAt<std::uint8_t>(body, 0), LoadAt<std::uint16_t>(body, 1), body.substr(kStatResultHeadSize)};
}

std::string EncodeFlushResult(std::int8_t result) {
  std::string body;
  Append(&body, result);
  return body;
}

std::optional<std::int8_t> DecodeFlushResult(std::string_view body) {
  if (body.size() != 1) return std::nullopt;
  return LoadAt<std::int8_t>(body, 0);
}

std::string EncodeCallReply(CallStatus status, std::string_view result) {
  std::string body;
  Append(&body, static_cast<std::uint8_t>(status));
  body.append(result);
  return body;
}

std::optional<int> CallReplyStatus(std::string_view body) {
  if (body.empty()) return std::nullopt;
  return LoadAt<std::int8_t>(body, 0);
}

}  // namespace orbe::wire
