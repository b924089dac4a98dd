// SELECT statements prepared once for the dictionary state they were parsed
// against. A report page rebuilt, a script's refresh or a screening's next
// security sends the same texts again, and parsing them, finding the reply's
// fields and hashing the cache key is most of what sending one costs.
#ifndef ORBE_DATASERVICE_PREPARED_SELECTS_H_
#define ORBE_DATASERVICE_PREPARED_SELECTS_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orbe/dictionary/dictionary_records.h"
#include "protocol/sql_records.h"

class OrbeClientSession;

namespace orbe {

struct PreparedSelect {
  cw_command_req record{};              // as parsed; the sender is filled per request
  std::vector<tagMemFieldInfo> fields;  // the reply's fields, offsets in record order
  std::string cache_key;                // of the statement and its option bytes
};

// The statement with these option bytes prepared against the session's
// dictionary as it is now; null when it does not parse. Any thread.
std::shared_ptr<const PreparedSelect> PrepareSelect(OrbeClientSession* session, const char* sql,
                                                    std::string_view options);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_PREPARED_SELECTS_H_
