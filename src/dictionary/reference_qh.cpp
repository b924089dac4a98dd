// Futures lookups. A contract of the exchanges that name contracts by month
// is a variety code and month suffix; elsewhere, once an exchange is given,
// it is the variety code alone.
#include "dictionary/reference_lookup.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

// The first row matching code as the rules above say; null when none.
const tagQHINFO* MatchContract(OrbeClientSession* session, const char* code, const char* exchange) {
  const orbe::ReferenceTables* tables = orbe::TablesOf(session);
  if (tables == nullptr || orbe::IsEmptyKey(code)) return nullptr;
  const orbe::QHInfoIndex& index = tables->Index().qh_info;
  const std::int32_t* row = nullptr;
  if (orbe::IsEmptyKey(exchange)) {
    row = orbe::FindRow(index.by_month_contract, code);
  } else {
    // Each map holds its first row; the earlier of the two is the scan's.
    const std::int32_t* named = orbe::FindRow(index.by_month_contract_named_exchange, code);
    const std::int32_t* other = orbe::FindRow(index.by_variety_other_exchange, code);
    row = named == nullptr ? other : (other == nullptr || *named < *other ? named : other);
  }
  return row == nullptr ? nullptr : &tables->QHInfo()[*row];
}

// Month-named rows carry their suffix into the names they give.
bool NamedByMonth(const tagQHINFO& row, const char* exchange) {
  return orbe::IsEmptyKey(exchange) || orbe::IsMonthNamedExchange(row);
}

}  // namespace

void CwFileUtil::QH_GetQHNameByCode(OrbeClientSession* session, char* out, int outLength, const char* code,
                                    const char* exchange) {
  if (!orbe::ClearOut(out, outLength)) return;
  const tagQHINFO* row = MatchContract(session, code, exchange);
  if (row == nullptr) return;
  std::string name(orbe::TextOf(row->VarietyName));
  if (NamedByMonth(*row, exchange)) name += orbe::TextOf(row->MonthSuffix);
  orbe::CopyOut(out, outLength, name);
}

void CwFileUtil::QH_GetPZCodeByQHCode(OrbeClientSession* session, char* out, int outLength, const char* code,
                                      const char* exchange) {
  if (!orbe::ClearOut(out, outLength)) return;
  const tagQHINFO* row = MatchContract(session, code, exchange);
  if (row != nullptr) orbe::CopyOut(out, outLength, orbe::TextOf(row->VarietyCode));
}

void CwFileUtil::QH_GetPZNameByQHCode(OrbeClientSession* session, char* out, int outLength, const char* code,
                                      const char* exchange) {
  if (!orbe::ClearOut(out, outLength)) return;
  const tagQHINFO* row = MatchContract(session, code, exchange);
  if (row != nullptr) orbe::CopyOut(out, outLength, orbe::TextOf(row->VarietyName));
}
