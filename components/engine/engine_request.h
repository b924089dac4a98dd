// The request and reply objects the engine hands to the module.
#ifndef ORBE_COMPONENTS_ENGINE_ENGINE_REQUEST_H_
#define ORBE_COMPONENTS_ENGINE_ENGINE_REQUEST_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "protocol/reply_handle.h"
#include "protocol/wire_format.h"

namespace orbe::engine {

// Room for the largest body the module builds (a SELECT with 7 999 option
// bytes is 8 576) and for insert and call bodies with large value areas.
inline constexpr std::uint32_t kRequestBodyCapacity = 65536;

// A request object: a header and a zeroed body of kRequestBodyCapacity bytes.
// Reset clears the header and the body as far as the request in it declared
// (its header's length). Every builder writes its whole body and declares it,
// and only the declared bytes are sent, so nothing past them was ever part of
// a request; clearing all 64 KiB each time cost more than building the rest.
class EngineRequest final : public ICwRequest {
 public:
  EngineRequest() : body_(kRequestBodyCapacity, 0) {}
  ~EngineRequest() override = default;

  unsigned char* GetHeader() override { return header_; }
  unsigned char* GetBody() override { return body_.data(); }
  void Reset() override;
  std::uint32_t GetCapacity() override { return kRequestBodyCapacity; }

 private:
  unsigned char header_[wire::kRequestHeaderSize] = {};
  std::vector<unsigned char> body_;
};

// Request objects of the process, made new or taken from those released
// before (reset): windows make and release their fetch handles' requests by
// the page, and sessions come and go with their engines.
std::unique_ptr<EngineRequest> TakeSpareRequest();
void KeepSpareRequest(std::unique_ptr<EngineRequest> request);

// The frame to send for a request the module built: its header's length
// field decides how much of the body goes. nullopt (and `error`) when that
// length is below a code's worth, above the limits or beyond the body.
std::optional<std::string> FrameOfRequest(ICwRequest& request, std::string* error);

// One received reply packet, header included, as the module reads it.
class EngineReply final : public ICwReply {
 public:
  explicit EngineReply(std::string packet) : packet_(std::move(packet)) {}
  ~EngineReply() override = default;

  unsigned char* GetHeader() override { return Bytes(); }
  unsigned char* GetBody() override { return Bytes() + wire::kReplyHeaderSize; }
  std::uint32_t GetBodyLength() override {
    return static_cast<std::uint32_t>(packet_.size() - wire::kReplyHeaderSize);
  }
  int GetProgress() override;
  std::uint32_t GetTotalLength() override { return static_cast<std::uint32_t>(packet_.size()); }

 private:
  unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(packet_.data()); }
  std::string packet_;  // at least a header long
};

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_ENGINE_REQUEST_H_
