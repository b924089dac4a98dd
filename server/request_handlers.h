// Answers to request frames, one handler per request code.
#ifndef ORBE_SERVER_REQUEST_HANDLERS_H_
#define ORBE_SERVER_REQUEST_HANDLERS_H_

#include <atomic>
#include <cstdint>
#include <string>

#include "file_store.h"
#include "protocol/frame_splitter.h"
#include "storage.h"

namespace orbe::server {

// What handlers may use; owned by the server, one per worker.
struct ServiceContext {
  Storage* storage = nullptr;
  SqlConnection* reader = nullptr;  // the worker's own connection
  FileStore* files = nullptr;
  std::uint32_t capacity = 0;
  const std::atomic<std::uint32_t>* live_connections = nullptr;  // open client connections
  bool writable = true;  // false: writes are refused (status 106)
};

// Appends the complete reply (data packets, then the end packet) to `out`
// and returns its final status. `peer` names the client in log lines.
std::int32_t HandleRequest(const ServiceContext& context, const wire::RequestFrame& frame, std::string_view peer,
                           std::string* out);

// A short name for log lines ("host-load", "time-stamp", ...); "unknown" otherwise.
const char* RequestName(std::uint16_t code);

}  // namespace orbe::server

#endif  // ORBE_SERVER_REQUEST_HANDLERS_H_
