// A request a session has accepted and not yet ended.
#ifndef ORBE_COMPONENTS_ENGINE_PENDING_REQUEST_H_
#define ORBE_COMPONENTS_ENGINE_PENDING_REQUEST_H_

#include <cstdint>
#include <memory>
#include <string>

#include "engine_core.h"
#include "protocol/reply_handle.h"

namespace orbe::engine {

// What a waiting send waits for; shared by the waiter and the request.
struct Completion {
  bool done = false;
  bool delivered = false;  // the handle heard the final status
};

struct PendingRequest {
  std::uint32_t id = 0;
  std::uint16_t code = 0;
  // Null once a queue reset dropped it; the request still runs its course on
  // the wire and its packets are discarded.
  IReplyHandle* handle = nullptr;
  std::string frame;  // emptied once written to the outbox
  bool transmitted = false;
  bool internal = false;  // the engine's own keep-alive
  Clock::time_point queued_at;
  std::shared_ptr<Completion> completion;  // set for waiting sends (the second queue)
};

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_PENDING_REQUEST_H_
