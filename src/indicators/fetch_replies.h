// The readers of a screening's replies: SQL records of one group, the records
// of a KVX_DataBrowse call, and the time stamp of a function's values. They
// only read; which reply comes next is the progress window's business.
#ifndef ORBE_INDICATORS_FETCH_REPLIES_H_
#define ORBE_INDICATORS_FETCH_REPLIES_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "indicators/fetch_plan.h"

class IFetchData;

namespace orbe {

// The records of group `group` into the result lists of its indicators, by
// sequence number; a later chunk adds to and overwrites what earlier ones stored.
void ReadSqlReply(IFetchData& reply, const FetchPlan& plan, int group, const ScreeningCodes& book,
                  std::vector<CodeValues>& results);
// The records of a KVX_DataBrowse reply for `tql` into `values`. The count is
// a promise only: a short or lying reply ends at its last whole record.
void ReadTqlReply(IFetchData& reply, const SysIndexTQL& tql, const ScreeningCodes& book, CodeValues& values);
// The stamp a "TS|function" call answered (`status` is its completion code);
// nothing when the service refused or did not understand the request.
std::optional<std::int64_t> ReadStampReply(IFetchData& reply, int status);

}  // namespace orbe

#endif  // ORBE_INDICATORS_FETCH_REPLIES_H_
