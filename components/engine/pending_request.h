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
  // Emptied once written to the outbox, unless the request may be sent again.
  std::string frame;
  bool transmitted = false;
  bool internal = false;  // the engine's own keep-alive
  // A read: when its host goes away it is sent to the next one (engine.md).
  bool resendable = false;
  int resends = 0;
  // What the handle has heard of the reply, so that the same reply from
  // another host can be told apart from a different one.
  std::uint32_t packets_delivered = 0;
  std::uint64_t delivered_digest = 0;
  // Of a reply sent again: the packets still to pass over (already heard),
  // the digest of those passed over, and whether the reply differed.
  std::uint32_t packets_to_skip = 0;
  std::uint64_t skipped_digest = 0;
  bool diverged = false;
  Clock::time_point queued_at;
  std::shared_ptr<Completion> completion;  // set for waiting sends (the second queue)
};

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_PENDING_REQUEST_H_
