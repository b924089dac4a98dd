// Request frames of the reply handles: statements parsed into their records,
// encoded by the wire library and written into the engine's request objects.
// Each builder resets the request first; false means nothing may be sent.
#ifndef ORBE_DATASERVICE_REPLY_REQUESTS_H_
#define ORBE_DATASERVICE_REPLY_REQUESTS_H_

#include <cstdint>
#include <string_view>

#include "protocol/reply_handle.h"
#include "protocol/sql_records.h"

class OrbeClientSession;

namespace orbe {

// The option bytes a caller passed, cut to the longest option block.
std::string_view OptionBytes(const char* options, int optionLength);

// SELECT (2008) of a parsed statement (prepared_selects.h), with the sender
// filled and the option bytes behind it.
bool BuildSelectRequest(ICwRequest& request, const cw_command_req& parsed, std::string_view options);
// 2015, 2013 and 2022: the code and a 32-bit table number.
void BuildTableRequest(ICwRequest& request, std::uint16_t code, std::int32_t table);
bool BuildStatRequest(OrbeClientSession* session, ICwRequest& request, const char* sql, const char* options,
                      int optionLength);
bool BuildDeleteRequest(OrbeClientSession* session, ICwRequest& request, const char* sql);
bool BuildUpdateRequest(OrbeClientSession* session, ICwRequest& request, const char* sql);
bool BuildInsertRequest(OrbeClientSession* session, ICwRequest& request, const char* sql);
// 2023 and 2024: a name of at most 63 bytes and the parameter bytes.
bool BuildCallRequest(ICwRequest& request, std::uint16_t code, const char* name, std::string_view parameters);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_REPLY_REQUESTS_H_
