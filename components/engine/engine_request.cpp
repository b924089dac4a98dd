#include "engine_request.h"

#include <algorithm>
#include <cstring>

#include "orbe/platform/text.h"
#include "protocol/byte_order.h"
#include "protocol/request_objects.h"
#include "protocol/requests.h"
#include "protocol/wire_format.h"

namespace orbe::engine {

void EngineRequest::Reset() {
  const std::uint32_t declared = wire::RequestLength(*this);
  const std::size_t used = declared > wire::kRequestHeaderSize
                               ? std::min<std::size_t>(declared - wire::kRequestHeaderSize, body_.size())
                               : 0;
  std::fill(std::begin(header_), std::end(header_), 0);
  std::fill_n(body_.begin(), used, 0);
}

std::optional<std::string> FrameOfRequest(ICwRequest& request, std::string* error) {
  const std::uint32_t total = wire::RequestLength(request);
  if (!wire::ValidRequestHeaderLength(total) || total - wire::kRequestHeaderSize > request.GetCapacity()) {
    *error = Format("request length %u outside %u..%zu", total, wire::kMinRequestLength,
                   request.GetCapacity() + wire::kRequestHeaderSize);
    return std::nullopt;
  }
  std::string frame(total, '\0');
  std::memcpy(frame.data(), request.GetHeader(), wire::kRequestHeaderSize);
  std::memcpy(frame.data() + wire::kRequestHeaderSize, request.GetBody(), total - wire::kRequestHeaderSize);
  return frame;
}

int EngineReply::GetProgress() {
  return wire::LoadAt<std::int32_t>(packet_, offsetof(wire::ReplyHeader, progress));
}

}  // namespace orbe::engine
