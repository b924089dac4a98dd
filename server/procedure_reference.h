// The reference procedures the session loaders page through: each is a list of
// result sets, each set one query whose text columns become fixed-width
// fields. Parameter "TS<s>" asks for set s's time stamp, "<s><page>" for a
// page of set s ("110" is set 1, page 10).
#ifndef ORBE_SERVER_PROCEDURE_REFERENCE_H_
#define ORBE_SERVER_PROCEDURE_REFERENCE_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "procedure_call.h"
#include "sql_connection.h"
#include "protocol/procedure_results.h"

namespace orbe::server {

// Records per page of a paged set.
using wire::kReferencePageRows;

struct ResultSetSpec {
  // Columns in reply order, read as text. A paged set's query ends with
  // "LIMIT ?1 OFFSET ?2"; a single-page set answers everything on page 0.
  const char* sql;
  std::span<const std::uint8_t> widths;
  bool paged;
  // What the set's time stamp is made of.
  std::span<const std::int32_t> tables;
  std::span<const char* const> const_classes;
};

struct ReferenceProcedure {
  std::span<const ResultSetSpec> sets;
};

extern const ReferenceProcedure kMainTableProcedure;  // sys_get_main_table_v2
extern const ReferenceProcedure kGgInfoProcedure;     // sys_get_gg_info_v2
extern const ReferenceProcedure kJjInfoProcedure;     // sys_get_jj_info
extern const ReferenceProcedure kQhInfoProcedure;     // sys_get_qh_info
extern const ReferenceProcedure kZqInfoProcedure;     // sys_get_zq_info_v3

// The time stamp of data read from these tables and constant classes, made as
// a set's "TS<s>" is: 0 (never a cache match) when a table has no stamp;
// nullopt on a storage failure.
std::optional<std::int64_t> DataStamp(SqlConnection& db, std::span<const std::int32_t> tables,
                                      std::span<const char* const> const_classes, std::uint64_t generation);

// The caller holds a snapshot of the data. `generation` is the procedure's reload
// count, mixed into its time stamps so a reload makes every cached page stale.
CallOutcome CallReference(const ReferenceProcedure& procedure, SqlConnection& db, std::uint64_t generation,
                          std::string_view parameters);

}  // namespace orbe::server

#endif  // ORBE_SERVER_PROCEDURE_REFERENCE_H_
