// The engine's request and reply objects as a test hands them to the module:
// a reply is a whole packet made by the wire library's encoders, a request a
// header and a body that a test reads back through the wire library.
#ifndef ORBE_TESTS_SUPPORT_FAKE_REPLY_H_
#define ORBE_TESTS_SUPPORT_FAKE_REPLY_H_

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orbe/platform/crypto.h"
#include "protocol/byte_order.h"
#include "protocol/replies.h"
#include "protocol/reply_handle.h"
#include "protocol/request_objects.h"
#include "protocol/wire_format.h"

namespace orbe_test {

class FakeReply final : public ICwReply {
 public:
  // One data packet carrying `payload` as it is.
  static FakeReply Plain(std::string_view payload, std::int32_t progress = 100) {
    std::string packet;
    orbe::wire::AppendDataPacket(&packet, {}, progress, payload);
    return FakeReply(std::move(packet));
  }
  // One data packet flagged as a zlib stream of `raw_length` inflated bytes;
  // `stream` is sent as given, so a test can damage it.
  static FakeReply Zlib(std::string_view stream, std::uint32_t raw_length, std::int32_t progress = 100) {
    std::string packet;
    orbe::wire::AppendDataPacket(&packet, {}, progress, stream);
    auto header = orbe::wire::LoadAt<orbe::wire::ReplyHeader>(packet, 0);
    header.flags = orbe::wire::kFlagZlib;
    header.raw_length = raw_length;
    orbe::wire::StoreAt(&packet, 0, header);
    return FakeReply(std::move(packet));
  }
  // The record compressed whatever its size, as a cached or scripted reply.
  static FakeReply Compressed(std::string_view record, std::int32_t progress = 100) {
    return Zlib(orbe::Compress(record), static_cast<std::uint32_t>(record.size()), progress);
  }

  explicit FakeReply(std::string packet) : packet_(std::move(packet)) {}
  ~FakeReply() override = default;
  FakeReply(FakeReply&&) = default;

  unsigned char* GetHeader() override { return Bytes(); }
  unsigned char* GetBody() override { return Bytes() + orbe::wire::kReplyHeaderSize; }
  std::uint32_t GetBodyLength() override {
    return static_cast<std::uint32_t>(packet_.size() - orbe::wire::kReplyHeaderSize);
  }
  int GetProgress() override { return orbe::wire::LoadAt<orbe::wire::ReplyHeader>(packet_, 0).progress; }
  std::uint32_t GetTotalLength() override { return static_cast<std::uint32_t>(packet_.size()); }

 private:
  unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(packet_.data()); }
  std::string packet_;  // a whole packet, header first
};

class FakeRequest final : public ICwRequest {
 public:
  explicit FakeRequest(std::size_t capacity = 65536) : body_(capacity) {}
  ~FakeRequest() override = default;

  unsigned char* GetHeader() override { return header_; }
  unsigned char* GetBody() override { return body_.data(); }
  void Reset() override {
    std::memset(header_, 0, sizeof header_);
    std::fill(body_.begin(), body_.end(), 0);
  }
  std::uint32_t GetCapacity() override { return static_cast<std::uint32_t>(body_.size()); }

 private:
  unsigned char header_[orbe::wire::kRequestHeaderSize] = {};
  std::vector<unsigned char> body_;
};

// The frame a request would be sent as: its header and as much body as the
// header's total length announces (none when that is shorter than a header).
inline std::string FrameOf(ICwRequest& request) {
  const std::uint32_t total = orbe::wire::RequestLength(request);
  std::string frame(reinterpret_cast<const char*>(request.GetHeader()), orbe::wire::kRequestHeaderSize);
  if (total > orbe::wire::kRequestHeaderSize) {
    frame.append(reinterpret_cast<const char*>(request.GetBody()), total - orbe::wire::kRequestHeaderSize);
  }
  return frame;
}

}  // namespace orbe_test

#endif  // ORBE_TESTS_SUPPORT_FAKE_REPLY_H_
