// KVX_DataBrowse: the query-language values a screening asks for, one value
// per security. The option text is "name|param...|string width|codes"
// (docs/protocol.md, "KVX_DataBrowse").
#ifndef ORBE_SERVER_PROCEDURE_DATA_BROWSE_H_
#define ORBE_SERVER_PROCEDURE_DATA_BROWSE_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "procedure_call.h"
#include "sql_connection.h"
#include "protocol/procedure_results.h"

namespace orbe::server {

using wire::BrowseKey;
using wire::BrowseValue;

inline constexpr std::int16_t kDefaultStringWidth = 20;
inline constexpr std::int16_t kMaxStringWidth = 4096;
inline constexpr std::size_t kMaxBrowseCodes = 20000;

struct BrowseFunction {
  const char* name;  // GBK, the indicator's name
  std::size_t date_parameters;  // yyyymmdd values, bound as ?2, ?3, ...
  BrowseValue value;
  BrowseKey key;
  // ?1 is the key; one row whose column 0 is the value, no row or NULL for none.
  // Written in the SQL both stores speak (the per-key query is joined to the
  // list of keys on PostgreSQL).
  const char* sql;
  // What its values are read from: the time stamp of "TS|name" is made of them.
  std::span<const std::int32_t> tables;
  std::span<const char* const> const_classes;
};

// Null when no function has this name.
const BrowseFunction* FindBrowseFunction(std::string_view name);

struct BrowseOption {
  std::string name;
  std::vector<std::string> parameters;
  std::string string_width;  // as written; empty unless the value is a string
  std::vector<std::string> codes;  // trimmed, empty ones and repeats dropped
};

// nullopt when the text has fewer than three "|"-separated pieces.
std::optional<BrowseOption> ParseBrowseOption(std::string_view text);

// The caller holds a snapshot of the data. "TS|name" asks for the time stamp of the
// function's values (an i64, as the reference procedures' "TS<s>"), so a
// client may cache its replies; `generation` is the reload count.
CallOutcome CallDataBrowse(SqlConnection& db, std::string_view option, std::uint64_t generation);

// Off: "TS|name" is read as an ordinary option (two pieces: status 2), as a
// service without time stamps answers it. For clients that must cope with one.
void SetBrowseStampsAnswered(bool answered);

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_DATA_BROWSE_H_
