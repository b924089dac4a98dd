// Answers to request frames, one handler per request code.
#ifndef ORBE_SERVER_REQUEST_HANDLERS_H_
#define ORBE_SERVER_REQUEST_HANDLERS_H_

#include <cstdint>
#include <string>

#include "file_store.h"
#include "protocol/frame_splitter.h"
#include "storage.h"

namespace orbe::server {

// What handlers may read; owned by the server.
struct ServiceContext {
  Storage* storage = nullptr;
  FileStore* files = nullptr;
  std::uint32_t capacity = 0;
  std::uint32_t live_connections = 0;  // updated by the server before each request
};

// Appends the complete reply (data packets, then the end packet) to `out`
// and returns its final status.
std::int32_t HandleRequest(const ServiceContext& context, const wire::RequestFrame& frame, std::string* out);

// A short name for log lines ("host-load", "time-stamp", ...); "unknown" otherwise.
const char* RequestName(std::uint16_t code);

}  // namespace orbe::server

#endif  // ORBE_SERVER_REQUEST_HANDLERS_H_
