#include "protocol/frame_splitter.h"

#include <cstring>

#include "protocol/byte_order.h"

namespace orbe::wire {
namespace {

// Consumed bytes are dropped from the front only once they dominate the
// buffer, so a burst of small frames costs no per-frame memmove.
void Compact(std::string* buffer, std::size_t* start) {
  // What a few ordinary frames need stays allocated; more is given back.
  constexpr std::size_t kKeptCapacity = 256 * 1024;
  if (*start == buffer->size()) {
    if (buffer->capacity() > kKeptCapacity) {
      std::string().swap(*buffer);
    } else {
      buffer->clear();
    }
    *start = 0;
  } else if (*start >= 4096 && *start * 2 >= buffer->size()) {
    buffer->erase(0, *start);
    *start = 0;
  }
}

}  // namespace

bool ValidRequestHeader(const RequestHeader& header) {
  const std::uint32_t length = header.total_length;
  return header.marker == kRequestMarker && header.version == kProtocolVersion &&
         length >= kMinRequestLength && length <= kMaxRequestLength;
}

bool ValidReplyHeader(const ReplyHeader& header) {
  const std::uint32_t length = header.total_length;
  if (length < kReplyHeaderSize || length > kMaxReplyLength) return false;
  if (header.kind != kPacketData && header.kind != kPacketEnd) return false;
  if ((header.flags & ~kFlagZlib) != 0) return false;
  // Only data packets carry a payload, and only a payload can be compressed.
  if (header.kind == kPacketEnd && (length != kReplyHeaderSize || header.flags != 0)) return false;
  return true;
}

SplitResult DecodeRequestFrame(std::string_view bytes, RequestFrame* frame, std::size_t* consumed,
                               std::uint32_t max_length) {
  if (bytes.size() < kRequestHeaderSize) return SplitResult::kNeedMore;
  const auto header = LoadAt<RequestHeader>(bytes, 0);
  if (!ValidRequestHeader(header) || header.total_length > max_length) return SplitResult::kBad;
  if (bytes.size() < header.total_length) return SplitResult::kNeedMore;
  frame->header = header;
  frame->body = bytes.substr(kRequestHeaderSize, header.total_length - kRequestHeaderSize);
  frame->code = LoadAt<std::uint16_t>(frame->body, 0);
  *consumed = header.total_length;
  return SplitResult::kFrame;
}

SplitResult DecodeReplyPacket(std::string_view bytes, ReplyPacket* packet, std::size_t* consumed) {
  if (bytes.size() < kReplyHeaderSize) return SplitResult::kNeedMore;
  const auto header = LoadAt<ReplyHeader>(bytes, 0);
  if (!ValidReplyHeader(header)) return SplitResult::kBad;
  if (bytes.size() < header.total_length) return SplitResult::kNeedMore;
  packet->header = header;
  packet->payload = bytes.substr(kReplyHeaderSize, header.total_length - kReplyHeaderSize);
  *consumed = header.total_length;
  return SplitResult::kFrame;
}

void RequestSplitter::Append(const void* data, std::size_t size) {
  Compact(&buffer_, &start_);
  buffer_.append(static_cast<const char*>(data), size);
}

SplitResult RequestSplitter::Next(RequestFrame* frame) {
  if (bad_) return SplitResult::kBad;
  // The frame handed out last is done with: its bytes may go.
  Compact(&buffer_, &start_);
  std::size_t consumed = 0;
  const SplitResult result =
      DecodeRequestFrame(std::string_view(buffer_).substr(start_), frame, &consumed, max_length_);
  if (result == SplitResult::kBad) bad_ = true;
  if (result == SplitResult::kFrame) start_ += consumed;
  return result;
}

void ReplySplitter::Append(const void* data, std::size_t size) {
  Compact(&buffer_, &start_);
  buffer_.append(static_cast<const char*>(data), size);
}

SplitResult ReplySplitter::Next(ReplyPacket* packet) {
  if (bad_) return SplitResult::kBad;
  std::size_t consumed = 0;
  const SplitResult result = DecodeReplyPacket(std::string_view(buffer_).substr(start_), packet, &consumed);
  if (result == SplitResult::kBad) bad_ = true;
  if (result == SplitResult::kFrame) start_ += consumed;
  return result;
}

}  // namespace orbe::wire
