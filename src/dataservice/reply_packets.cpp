#include "dataservice/reply_packets.h"

#include <cstring>

#include "orbe/platform/crypto.h"

namespace orbe {
namespace {

constexpr std::size_t kRawLengthOffset = 20;

}  // namespace

std::optional<std::string> RecordOfPacket(ICwReply& reply) {
  const std::uint32_t length = reply.GetBodyLength();
  const unsigned char* body = reply.GetBody();
  if (length == 0 || body == nullptr) return std::nullopt;
  const std::string_view bytes(reinterpret_cast<const char*>(body), length);
  const unsigned char* header = reply.GetHeader();
  if (header == nullptr || (header[4] & kReplyZlibFlag) == 0) return std::string(bytes);
  std::uint32_t rawLength = 0;
  std::memcpy(&rawLength, header + kRawLengthOffset, sizeof rawLength);
  auto record = Uncompress(bytes, kMaxInflatedRecord);
  // The header names the inflated length; any other result is a damaged packet.
  if (!record || record->size() != rawLength) return std::nullopt;
  return record;
}

std::uint16_t EncodeSqlOptions(const std::vector<SqlOption>& options, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  std::memset(buffer, 0, static_cast<std::size_t>(size));
  std::size_t position = 0;
  const std::size_t limit = static_cast<std::size_t>(size);
  for (const auto& [type, text] : options) {
    if (type == 0 || text.empty() || text.size() > 0xFFFF) continue;
    if (position + 4 + text.size() >= limit) break;
    const auto length = static_cast<std::uint16_t>(text.size());
    buffer[position] = static_cast<char>(type);
    std::memcpy(buffer + position + 1, &length, sizeof length);
    std::memcpy(buffer + position + 3, text.data(), text.size());
    position += 4 + text.size();  // the NUL is already there
  }
  return static_cast<std::uint16_t>(position);
}

std::string CacheKeyOf(std::string_view statement, std::string_view options) {
  if (statement.empty() && options.empty()) return {};
  Md5 md5;
  md5.Update(statement);
  md5.Update(options);
  return DigestHex(md5.Final());
}

}  // namespace orbe
