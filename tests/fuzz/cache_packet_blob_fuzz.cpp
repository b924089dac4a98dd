// A cached entry read back from disk: the blob codec must refuse anything
// that is not exactly one encoding, leave the caller's list alone when it
// does, and give back packets that encode to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cache/packet_blob.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view blob(reinterpret_cast<const char*>(data), size);
  const CwPacketList untouched = {"untouched"};
  CwPacketList packets = untouched;
  if (!orbe::cache::DecodePackets(blob, packets)) {
    if (packets != untouched) __builtin_trap();
    return 0;
  }
  const auto encoded = orbe::cache::EncodePackets(packets);
  if (!encoded || *encoded != blob) __builtin_trap();
  return 0;
}
