// The body of a call or reload request as the server receives it: whatever decodes
// must fit the body and encode back to a body that decodes the same.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/requests.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orbe::wire;
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  const auto request = DecodeCallRequest(body);
  if (!request) return 0;
  Check(size >= kCallParameterOffset);
  Check(request->name.size() <= kCallNameSize);
  Check(request->name.find('\0') == std::string::npos);
  Check(request->parameters.size() <= size - kCallParameterOffset);
  Check(request->parameters.find('\0') == std::string::npos);
  const std::string again = EncodeCallBody(2023, request->name, request->parameters);
  const auto decoded = DecodeCallRequest(again);
  Check(decoded && decoded->name == request->name && decoded->parameters == request->parameters);
  return 0;
}
