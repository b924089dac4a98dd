#include "cache/packet_blob.h"

#include <cstdint>
#include <limits>

namespace orbe::cache {
namespace {

constexpr std::size_t kWordSize = 4;

void AppendWord(std::string& out, std::uint32_t value) {
  const char bytes[kWordSize] = {static_cast<char>(value), static_cast<char>(value >> 8),
                                 static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
  out.append(bytes, kWordSize);
}

bool ReadWord(std::string_view& in, std::uint32_t& value) {
  if (in.size() < kWordSize) return false;
  value = 0;
  for (std::size_t i = 0; i < kWordSize; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[i])) << (8 * i);
  }
  in.remove_prefix(kWordSize);
  return true;
}

}  // namespace

std::optional<std::string> EncodePackets(const CwPacketList& packets) {
  constexpr std::size_t kMaxWord = std::numeric_limits<std::uint32_t>::max();
  if (packets.size() > kMaxWord) return std::nullopt;
  std::size_t total = kWordSize;
  for (const std::string& packet : packets) {
    if (packet.size() > kMaxWord) return std::nullopt;
    total += kWordSize + packet.size();
  }
  std::string blob;
  blob.reserve(total);
  AppendWord(blob, static_cast<std::uint32_t>(packets.size()));
  for (const std::string& packet : packets) {
    AppendWord(blob, static_cast<std::uint32_t>(packet.size()));
    blob += packet;
  }
  return blob;
}

bool DecodePackets(std::string_view blob, CwPacketList& packets) {
  std::uint32_t count = 0;
  if (!ReadWord(blob, count)) return false;
  // Every packet needs at least its length word: a count the blob cannot
  // hold is refused before anything is reserved for it.
  if (count > blob.size() / kWordSize) return false;
  CwPacketList decoded;
  decoded.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t length = 0;
    if (!ReadWord(blob, length) || length > blob.size()) return false;
    decoded.emplace_back(blob.substr(0, length));
    blob.remove_prefix(length);
  }
  if (!blob.empty()) return false;
  packets = std::move(decoded);
  return true;
}

}  // namespace orbe::cache
