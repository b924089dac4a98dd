#include "protocol/request_objects.h"

#include <cstring>

#include "protocol/byte_order.h"
#include "protocol/file_frames.h"
#include "protocol/replies.h"

namespace orbe::wire {
namespace {

bool CopyBody(ICwRequest& request, std::string_view body) {
  request.Reset();
  if (body.size() < sizeof(std::uint16_t) || body.size() > request.GetCapacity()) return false;
  if (!body.empty()) std::memcpy(request.GetBody(), body.data(), body.size());
  return true;
}

}  // namespace

bool FillRequest(ICwRequest& request, std::string_view body) {
  const std::size_t total = kRequestHeaderSize + body.size();
  if (total > kMaxRequestLength || !CopyBody(request, body)) return false;
  const auto length = static_cast<std::uint32_t>(total);
  std::memcpy(request.GetHeader() + offsetof(RequestHeader, total_length), &length, sizeof length);
  return true;
}

bool FillFileRequest(ICwRequest& request, std::string_view body) {
  const std::size_t total = kRequestHeaderSize + body.size();
  if (total > kMaxFileServerLength || !CopyBody(request, body)) return false;
  return StampFileFrameLength(request.GetHeader(), total);
}

std::uint32_t RequestLength(ICwRequest& request) {
  std::uint32_t length = 0;
  std::memcpy(&length, request.GetHeader() + offsetof(RequestHeader, total_length), sizeof length);
  return length;
}

ReplyHeader HeaderOf(ICwReply& reply) {
  ReplyHeader header{};
  if (reply.GetHeader() != nullptr) std::memcpy(&header, reply.GetHeader(), sizeof header);
  return header;
}

std::string_view PayloadBytes(ICwReply& reply) {
  if (reply.GetBody() == nullptr) return {};
  return {reinterpret_cast<const char*>(reply.GetBody()), reply.GetBodyLength()};
}

std::optional<std::string> RecordOfReply(ICwReply& reply) {
  const std::string_view payload = PayloadBytes(reply);
  if (payload.empty()) return std::nullopt;
  return PayloadOf(HeaderOf(reply), payload);
}

}  // namespace orbe::wire
