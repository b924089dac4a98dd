#include "engine_request.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "orbe/platform/text.h"
#include "protocol/byte_order.h"
#include "protocol/request_objects.h"
#include "protocol/requests.h"
#include "protocol/wire_format.h"

namespace orbe::engine {
namespace {

// Enough for a few windows' worth of fetch handles (two requests each).
constexpr std::size_t kSpareRequests = 32;

struct SpareRequests {
  std::mutex mutex;
  std::vector<std::unique_ptr<EngineRequest>> requests;
};

SpareRequests& Spares() {
  static SpareRequests spares;
  return spares;
}

}  // namespace

std::unique_ptr<EngineRequest> TakeSpareRequest() {
  SpareRequests& spares = Spares();
  {
    const std::lock_guard<std::mutex> hold(spares.mutex);
    if (!spares.requests.empty()) {
      std::unique_ptr<EngineRequest> request = std::move(spares.requests.back());
      spares.requests.pop_back();
      return request;
    }
  }
  return std::make_unique<EngineRequest>();
}

void KeepSpareRequest(std::unique_ptr<EngineRequest> request) {
  if (request == nullptr) return;
  request->Reset();
  SpareRequests& spares = Spares();
  const std::lock_guard<std::mutex> hold(spares.mutex);
  if (spares.requests.size() < kSpareRequests) spares.requests.push_back(std::move(request));
}

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
