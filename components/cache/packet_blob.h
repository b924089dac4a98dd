// The stored form of a reply: all its packets in one blob, so that a load is
// one row read. Layout, little-endian: u32 packet count, then per packet a
// u32 length and its bytes. Nothing may follow the last packet.
#ifndef ORBE_COMPONENTS_CACHE_PACKET_BLOB_H_
#define ORBE_COMPONENTS_CACHE_PACKET_BLOB_H_

#include <optional>
#include <string>
#include <string_view>

#include "protocol/cw_cache.h"

namespace orbe::cache {

// Empty when the reply cannot be described (a packet or count beyond 32 bits).
std::optional<std::string> EncodePackets(const CwPacketList& packets);
// False, with `packets` untouched, when the blob is not exactly one encoding.
bool DecodePackets(std::string_view blob, CwPacketList& packets);

}  // namespace orbe::cache

#endif  // ORBE_COMPONENTS_CACHE_PACKET_BLOB_H_
