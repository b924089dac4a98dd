// Request frames: encoders for the client side and bounded body decoders for
// the server side (docs/protocol.md, sections 2 and 5).
#ifndef ORBE_PROTOCOL_REQUESTS_H_
#define ORBE_PROTOCOL_REQUESTS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/wire_format.h"

namespace orbe::wire {

inline constexpr std::size_t kDigestTextSize = 32;
inline constexpr std::size_t kMaxFileNameSize = 255;
// Body offsets of the file fetch.
inline constexpr std::size_t kFetchDigestOffset = 2;
inline constexpr std::size_t kFetchNameLengthOffset = 34;
inline constexpr std::size_t kFetchNameOffset = 38;

// A whole frame: header, the code, then `rest` (the body after the code).
// Empty when the frame would exceed kMaxRequestLength.
std::string EncodeRequest(std::uint32_t request_id, std::uint16_t code, std::string_view rest);
std::string EncodeHostLoadRequest(std::uint32_t request_id);
std::string EncodeKeepAliveRequest(std::uint32_t request_id);
// 2015, and the other requests whose body is a table number (2013, 2022).
std::string EncodeTableRequest(std::uint32_t request_id, std::uint16_t code, std::int32_t table);
// Empty when the name is empty or longer than 255 bytes. A digest that is not
// 32 bytes is sent as 32 zero bytes, which matches no file.
std::string EncodeFileFetchRequest(std::uint32_t request_id, std::string_view digest, std::string_view name);

// Completes a header the module built (only the length field set): request
// id, marker and version. False when the length field is outside the limits.
bool StampRequestHeader(unsigned char* header, std::uint32_t request_id);
bool ValidRequestHeaderLength(std::uint32_t length);

// The table number of 2013, 2015 and 2022; nullopt when the body is short.
std::optional<std::int32_t> DecodeTableRequest(std::string_view body);

struct FileFetchRequest {
  std::string digest;  // 32 bytes as sent
  std::string name;
};
// nullopt when the body is short, the name length is 0 or above 255, or the
// name does not fit the body.
std::optional<FileFetchRequest> DecodeFileFetchRequest(std::string_view body);

// A name inside one folder: no separator, no NUL, not "." or "..".
bool IsPlainFileName(std::string_view name);

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_REQUESTS_H_
