// Cutting a TCP byte stream into request frames (server side) or reply
// packets (client side). Every length is checked against the protocol's
// limits before any byte of the body is awaited, so a header announcing a
// huge frame is refused at once instead of being buffered for.
#ifndef ORBE_PROTOCOL_FRAME_SPLITTER_H_
#define ORBE_PROTOCOL_FRAME_SPLITTER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/wire_format.h"

namespace orbe::wire {

enum class SplitResult {
  kNeedMore,  // no complete frame yet
  kFrame,     // a frame was handed out
  kBad,       // framing error: the stream cannot be resynchronised
};

struct RequestFrame {
  RequestHeader header{};
  std::uint16_t code = 0;
  std::string_view body;  // from the request code on
};

struct ReplyPacket {
  ReplyHeader header{};
  std::string_view payload;
};

// Looks at the start of `bytes` only. On kFrame, `consumed` is the frame's
// length and the views point into `bytes`. A header announcing more than
// `max_length` (the port's limit) is a framing error at once.
SplitResult DecodeRequestFrame(std::string_view bytes, RequestFrame* frame, std::size_t* consumed,
                               std::uint32_t max_length = kMaxRequestLength);
SplitResult DecodeReplyPacket(std::string_view bytes, ReplyPacket* packet, std::size_t* consumed);

// Header checks alone (exactly one header's bytes), for readers that fetch the
// header first and the body afterwards.
bool ValidRequestHeader(const RequestHeader& header);
bool ValidReplyHeader(const ReplyHeader& header);

// Accumulates received bytes and hands out complete frames in order. The
// views of a handed-out frame stay valid until the next Append or Next.
// kBad is sticky. A buffer grown for a large frame is given back once it has
// been handed out, so a connection holds only what it is still receiving.
class RequestSplitter {
 public:
  // Frames longer than `max_length` are refused at their header.
  explicit RequestSplitter(std::uint32_t max_length = kMaxRequestLength) : max_length_(max_length) {}
  void Append(const void* data, std::size_t size);
  SplitResult Next(RequestFrame* frame);
  std::size_t Buffered() const { return buffer_.size() - start_; }
  // The memory the buffer takes, which growth may make up to twice Buffered().
  std::size_t Held() const { return buffer_.capacity(); }

 private:
  std::uint32_t max_length_;
  std::string buffer_;
  std::size_t start_ = 0;
  bool bad_ = false;
};

class ReplySplitter {
 public:
  void Append(const void* data, std::size_t size);
  SplitResult Next(ReplyPacket* packet);
  std::size_t Buffered() const { return buffer_.size() - start_; }

 private:
  std::string buffer_;
  std::size_t start_ = 0;
  bool bad_ = false;
};

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_FRAME_SPLITTER_H_
