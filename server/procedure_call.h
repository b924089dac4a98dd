// The body of a call (2023) or reload (2024) request and the outcome a
// procedure hands back (docs/protocol.md, "2023 call, 2024 reload").
#ifndef ORBE_SERVER_PROCEDURE_CALL_H_
#define ORBE_SERVER_PROCEDURE_CALL_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orbe::server {

inline constexpr std::size_t kCallNameOffset = 2;
inline constexpr std::size_t kCallNameSize = 64;
inline constexpr std::size_t kCallParameterLengthOffset = 66;
inline constexpr std::size_t kCallParameterOffset = 70;

struct CallRequest {
  std::string name;        // up to the first NUL of the 64-byte field
  std::string parameters;  // up to the first NUL of the parameter bytes
};

// nullopt when the body is shorter than its fixed part or than the
// parameter length it announces.
std::optional<CallRequest> DecodeCallRequest(std::string_view body);

// The request body of 2023 (or 2024 with empty parameters), for clients and tests.
std::string EncodeCallBody(std::uint16_t code, std::string_view name, std::string_view parameters);

// The first byte of every call and reload reply.
enum class CallStatus : std::uint8_t {
  kSuccess = 0,
  kUnknownProcedure = 1,
  kBadParameter = 2,
  kStorageFailed = 3,  // travels as end status 105, never in a reply body
  kTooLarge = 4,
};

struct CallOutcome {
  CallStatus status = CallStatus::kSuccess;
  std::string result;  // the bytes behind the status byte; empty unless kSuccess

  static CallOutcome Failure(CallStatus status) { return {status, {}}; }
};

// Results above this size are refused (kTooLarge) instead of being sent.
inline constexpr std::size_t kMaxCallResultSize = 8u << 20;

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_CALL_H_
