// Comparison code 6 ("~="): a GBK-aware pattern match that SQL statements
// reach through the SQL function orbe_match(value, pattern).
#ifndef ORBE_SERVER_STATEMENT_MATCH_H_
#define ORBE_SERVER_STATEMENT_MATCH_H_

#include <sqlite3.h>

#include <string_view>

namespace orbe::server {

// True when `value` contains a run matching `pattern`, where "%" stands for
// any run of characters and "_" for one character. Characters are GBK (one
// byte, or a lead byte and its trail bytes), so a match never starts or ends
// inside a character. Bytes compare exactly (case matters).
bool ContainsPattern(std::string_view value, std::string_view pattern);

// Registers orbe_match on the connection; false when SQLite refuses.
bool RegisterMatchFunction(sqlite3* db);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_MATCH_H_
