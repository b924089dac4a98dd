// SQL option blocks into callers' buffers, and the cache keys of statements.
#ifndef ORBE_DATASERVICE_REPLY_PACKETS_H_
#define ORBE_DATASERVICE_REPLY_PACKETS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/statements.h"

namespace orbe {

// (type, text) options appended to the next statement.
using SqlOption = wire::SqlOption;
// Zero-fills buffer[size], then writes the option block (EncodeOptionBlock)
// that fits the buffer; returns the bytes used.
std::uint16_t EncodeSqlOptions(const std::vector<SqlOption>& options, char* buffer, int size);

// MD5 of the statement then the option bytes, 32 upper-case hex digits; empty
// when both are empty.
std::string CacheKeyOf(std::string_view statement, std::string_view options);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_REPLY_PACKETS_H_
