#include "dataservice/reply_packets.h"

#include <cstring>

#include "orbe/platform/crypto.h"

namespace orbe {

std::uint16_t EncodeSqlOptions(const std::vector<SqlOption>& options, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  std::memset(buffer, 0, static_cast<std::size_t>(size));
  const std::string block = wire::EncodeOptionBlock(options, static_cast<std::size_t>(size));
  if (!block.empty()) std::memcpy(buffer, block.data(), block.size());
  return static_cast<std::uint16_t>(block.size());
}

std::string CacheKeyOf(std::string_view statement, std::string_view options) {
  if (statement.empty() && options.empty()) return {};
  Md5 md5;
  md5.Update(statement);
  md5.Update(options);
  return DigestHex(md5.Final());
}

}  // namespace orbe
