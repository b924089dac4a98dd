// Request frames and the small request bodies: encoders for clients and
// bounded decoders for the server (docs/protocol.md, sections 2 and 5). The
// statement bodies are in protocol/statements.h, the file-server bodies in
// protocol/file_frames.h.
#ifndef ORBE_PROTOCOL_REQUESTS_H_
#define ORBE_PROTOCOL_REQUESTS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/wire_format.h"

namespace orbe::wire {

inline constexpr std::size_t kMaxFileNameSize = 255;
// Body offsets of the file fetch (2009).
inline constexpr std::size_t kFetchDigestOffset = 2;
inline constexpr std::size_t kFetchNameLengthOffset = 34;
inline constexpr std::size_t kFetchNameOffset = 38;
// Body offsets of a call (2023) or reload (2024).
inline constexpr std::size_t kCallNameOffset = 2;
inline constexpr std::size_t kCallNameSize = 64;
inline constexpr std::size_t kCallParameterLengthOffset = 66;
inline constexpr std::size_t kCallParameterOffset = 70;
// Body size of the requests whose body is a table number (2013, 2015, 2022).
inline constexpr std::size_t kTableBodySize = 6;

// A whole frame: header, then `body` (from the request code on). Empty when
// the body holds no code or the frame would exceed kMaxRequestLength.
std::string EncodeRequestFrame(std::uint32_t request_id, std::string_view body);
// The same with the code apart from the rest of the body.
std::string EncodeRequest(std::uint32_t request_id, std::uint16_t code, std::string_view rest);
std::string EncodeHostLoadRequest(std::uint32_t request_id);
std::string EncodeKeepAliveRequest(std::uint32_t request_id);
// 2015, and the other requests whose body is a table number (2013, 2022).
std::string EncodeTableRequest(std::uint32_t request_id, std::uint16_t code, std::int32_t table);
std::string EncodeFileFetchRequest(std::uint32_t request_id, std::string_view digest, std::string_view name);

// Bodies, from the request code on.
std::string EncodeCodeBody(std::uint16_t code);
std::string EncodeTableBody(std::uint16_t code, std::int32_t table);
// Empty when the name is empty or longer than 255 bytes. A digest that is not
// 32 bytes is sent as 32 zero bytes, which matches no file.
std::string EncodeFileFetchBody(std::string_view digest, std::string_view name);
// 2023, or 2024 with empty parameters. A name longer than the field is cut.
std::string EncodeCallBody(std::uint16_t code, std::string_view name, std::string_view parameters);

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

struct CallRequest {
  std::string name;        // up to the first NUL of the 64-byte field
  std::string parameters;  // up to the first NUL of the parameter bytes
};
// nullopt when the body is shorter than its fixed part or than the parameter
// length it announces.
std::optional<CallRequest> DecodeCallRequest(std::string_view body);

// A name inside one folder: no separator, no NUL, not "." or "..".
bool IsPlainFileName(std::string_view name);

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_REQUESTS_H_
