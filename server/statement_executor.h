// Runs the statement requests against the storage and writes their replies.
// Each function appends the whole reply (data packets, then the end packet)
// to `out` and returns the final status. `body` starts with the request code.
// Reads run on the caller's own connection `reader`; writes take their turn
// on the storage's writer, each in one transaction with its stamp change.
#ifndef ORBE_SERVER_STATEMENT_EXECUTOR_H_
#define ORBE_SERVER_STATEMENT_EXECUTOR_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "protocol/replies.h"
#include "storage.h"

namespace orbe::server {

// A SELECT reply above this many bytes is refused (status 101): the server
// builds a reply whole, so the client must page through larger results.
inline constexpr std::size_t kMaxSelectReplyBytes = 64u << 20;

std::int32_t RunSelect(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to, std::string* out);
std::int32_t RunStatistics(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to, std::string* out);
std::int32_t RunDelete(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to, std::string* out);
std::int32_t RunUpdate(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to, std::string* out);
std::int32_t RunInsert(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to, std::string* out);
std::int32_t RunFlush(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to, std::string* out);
std::int32_t RunStampIncrease(Storage& storage, SqlConnection& reader, std::string_view body, wire::ReplyTo to, std::string* out);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_EXECUTOR_H_
