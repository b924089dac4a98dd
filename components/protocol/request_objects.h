// Encoded bodies into the engine's request objects and reply objects back
// into payloads (protocol/reply_handle.h), so that the module builds and
// reads them through the same layouts as every other peer.
#ifndef ORBE_PROTOCOL_REQUEST_OBJECTS_H_
#define ORBE_PROTOCOL_REQUEST_OBJECTS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/reply_handle.h"
#include "protocol/wire_format.h"

namespace orbe::wire {

// Resets the request, copies `body` (from its request code on) into it and
// sets the header's total length; false, with the request left reset, when
// the body holds no request code or does not fit.
bool FillRequest(ICwRequest& request, std::string_view body);
// The same for a file-server frame, whose header holds the length as 16 bits
// twice; false also when the frame would exceed kMaxFileServerLength.
bool FillFileRequest(ICwRequest& request, std::string_view body);
// The total length the request's header announces.
std::uint32_t RequestLength(ICwRequest& request);

// The header of a reply object.
ReplyHeader HeaderOf(ICwReply& reply);
// The reply's payload as its bytes.
std::string_view PayloadBytes(ICwReply& reply);
// The payload as the requester reads it (PayloadOf); nullopt also for an
// empty payload, which carries no record.
std::optional<std::string> RecordOfReply(ICwReply& reply);

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_REQUEST_OBJECTS_H_
