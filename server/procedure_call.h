// The outcome a procedure hands back to a call (2023) or reload (2024); the
// request body and the reply's status byte are the wire library's
// (protocol/requests.h, protocol/replies.h).
#ifndef ORBE_SERVER_PROCEDURE_CALL_H_
#define ORBE_SERVER_PROCEDURE_CALL_H_

#include <cstddef>
#include <string>

#include "protocol/replies.h"
#include "protocol/requests.h"

namespace orbe::server {

using wire::CallRequest;
using wire::CallStatus;

struct CallOutcome {
  CallStatus status = CallStatus::kSuccess;
  std::string result;  // the bytes behind the status byte; empty unless kSuccess

  static CallOutcome Failure(CallStatus status) { return {status, {}}; }
};

// Results above this size are refused (kTooLarge) instead of being sent.
inline constexpr std::size_t kMaxCallResultSize = 8u << 20;

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_CALL_H_
