// The request handlers of 2023 (call) and 2024 (reload).
#ifndef ORBE_SERVER_PROCEDURE_HANDLERS_H_
#define ORBE_SERVER_PROCEDURE_HANDLERS_H_

#include <cstdint>
#include <string>

#include "protocol/replies.h"
#include "request_handlers.h"

namespace orbe::server {

// One data packet (status byte, then the procedure's result), end 100; a
// short body is 101, a storage failure 105 without a data packet.
std::int32_t HandleCall(const ServiceContext& context, const wire::RequestFrame& frame, wire::ReplyTo to,
                        std::string* out);
std::int32_t HandleReload(const ServiceContext& context, const wire::RequestFrame& frame, wire::ReplyTo to,
                          std::string* out);

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_HANDLERS_H_
