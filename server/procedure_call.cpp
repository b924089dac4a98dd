#include "procedure_call.h"

#include <algorithm>

#include "protocol/byte_order.h"

namespace orbe::server {
namespace {

std::string_view UpToNul(std::string_view bytes) { return bytes.substr(0, bytes.find('\0')); }

}  // namespace

std::optional<CallRequest> DecodeCallRequest(std::string_view body) {
  if (body.size() < kCallParameterOffset) return std::nullopt;
  const auto length = wire::LoadAt<std::uint32_t>(body, kCallParameterLengthOffset);
  if (length > body.size() - kCallParameterOffset) return std::nullopt;
  CallRequest request;
  request.name = UpToNul(body.substr(kCallNameOffset, kCallNameSize));
  request.parameters = UpToNul(body.substr(kCallParameterOffset, length));
  return request;
}

std::string EncodeCallBody(std::uint16_t code, std::string_view name, std::string_view parameters) {
  std::string body(kCallParameterOffset, '\0');
  wire::StoreAt(&body, 0, code);
  std::copy_n(name.begin(), std::min(name.size(), kCallNameSize), body.begin() + kCallNameOffset);
  wire::StoreAt(&body, kCallParameterLengthOffset, static_cast<std::uint32_t>(parameters.size()));
  body.append(parameters);
  return body;
}

}  // namespace orbe::server
