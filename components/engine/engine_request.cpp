#include "engine_request.h"

#include <algorithm>
#include <cstring>

#include "orbe/platform/text.h"
#include "protocol/byte_order.h"
#include "protocol/requests.h"
#include "protocol/wire_format.h"

namespace orbe::engine {

static_assert(kCwRequestHeaderSize == wire::kRequestHeaderSize);
static_assert(kCwReplyHeaderSize == wire::kReplyHeaderSize);
static_assert(kCwRequestLengthOffset == offsetof(wire::RequestHeader, total_length));

void EngineRequest::Reset() {
  std::fill(std::begin(header_), std::end(header_), 0);
  std::fill(body_.begin(), body_.end(), 0);
}

std::optional<std::string> FrameOfRequest(ICwRequest& request, std::string& error) {
  std::uint32_t total = 0;
  std::memcpy(&total, request.GetHeader() + kCwRequestLengthOffset, sizeof total);
  if (!wire::ValidRequestHeaderLength(total) || total - kCwRequestHeaderSize > request.GetCapacity()) {
    error = Format("request length %u outside 16..%u", total, request.GetCapacity() + kCwRequestHeaderSize);
    return std::nullopt;
  }
  std::string frame(total, '\0');
  std::memcpy(frame.data(), request.GetHeader(), kCwRequestHeaderSize);
  std::memcpy(frame.data() + kCwRequestHeaderSize, request.GetBody(), total - kCwRequestHeaderSize);
  return frame;
}

int EngineReply::GetProgress() {
  return wire::LoadAt<std::int32_t>(packet_, offsetof(wire::ReplyHeader, progress));
}

}  // namespace orbe::engine
