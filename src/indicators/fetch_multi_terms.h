// The pieces of a screening's requests that do not need a window: parameter
// terms of SQL statements and TQL options, code lists, unit scaling and
// condition tests. Declared here so tests reach them directly.
#ifndef ORBE_INDICATORS_FETCH_MULTI_TERMS_H_
#define ORBE_INDICATORS_FETCH_MULTI_TERMS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "orbe/indicators/fetch_multi_progress.h"

class OrbeClientSession;

namespace orbe {

// A report period as year text and period name (the default-quarter rule
// applied); nothing when the value is shorter than five bytes.
struct ReportValue {
  bool present = false;
  std::string year;
  std::string period;
};
ReportValue ResolveReportValue(const std::string& value);

// Values of a parameter string: pieces between ","; an empty text is no value
// for an indicator without formal parameters and one empty value otherwise.
std::vector<std::string> SplitParameterValues(const std::string& text, std::size_t formals);
std::vector<std::string> SplitList(const std::string& text, char separator);
std::string JoinList(const std::vector<std::string>& items, char separator);

// The code of the constant named `name` in class `flag` less its marker.
std::string ConstantCodeOf(OrbeClientSession* session, const std::string& flag, const std::string& name);
// "2024-03-05" -> "20240305".
std::string DateDigits(const std::string& value);

// One where-clause term of a system indicator's formal parameter; "" for none.
std::string SqlParameterTerm(OrbeClientSession* session, const SysIndexParam& formal, const std::string& value);
// One "|"-piece of a TQL option; "" for none.
std::string TqlParameterPiece(OrbeClientSession* session, const std::string& flag, const std::string& value);

// The statement of one SQL group: `indexes` ordered by base sequence number,
// all sharing table, key, condition and `parameters`. Empty when the values
// do not fit the first indicator's formal parameters.
std::string BuildGroupSql(OrbeClientSession* session, const std::vector<const SysIndex*>& indexes,
                          const std::string& parameters, BYTE& tag);
// The KVX_DataBrowse option of a TQL indicator without its code list
// (the caller appends the codes of the current chunk).
std::string BuildTqlOptionHead(OrbeClientSession* session, const SysIndexTQL& tql,
                               const std::string& parameters);

// The value scaled to the unit text (unit types 1 and 2 only).
vtParam ScaleToUnit(const vtParam& value, std::int32_t unittype, const std::string& unit);
// The condition result of one cell (op empty or unknown: true).
bool TestCondition(const vtParam& cell, std::int32_t datatype, const std::string& op, const std::string& value);

// Quote fields marked invalid carry the digit eight in every value byte.
void MarkInvalid(vtParam& value);
bool IsMarkedInvalid(const vtParam& value);
// A value's display text; `decimals` for doubles.
std::string DisplayText(const vtParam& value, int decimals);

}  // namespace orbe

#endif  // ORBE_INDICATORS_FETCH_MULTI_TERMS_H_
