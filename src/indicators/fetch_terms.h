// Parameter values of scheme rows and what they become in a request: the
// where-clause terms and statement of an SQL group, the "|"-pieces of a TQL
// option. No window and no service: tests reach them directly.
#ifndef ORBE_INDICATORS_FETCH_TERMS_H_
#define ORBE_INDICATORS_FETCH_TERMS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "orbe/indicators/index_base.h"
#include "orbe/platform/types.h"

class OrbeClientSession;

namespace orbe {

// A report period of a parameter: its name, the open range around its end
// that SQL terms use (field > year + after and field < year + before) and the
// end date TQL options carry. The last row (an empty name) is the whole year.
struct ReportPeriod {
  const char* name;
  const char* after;
  const char* before;
  const char* end;
};
// The period whose name the text contains; the whole year when none.
const ReportPeriod& ReportPeriodOf(const std::string& period);

// A report period as year text and period name (the default-quarter rule
// applied); nothing when the value is shorter than five bytes.
struct ReportValue {
  bool present = false;
  std::string year;
  std::string period;
};
ReportValue ResolveReportValue(const std::string& value);

// True when a parameter marker (a formal parameter's flag) names `kind`.
bool HasMarker(const std::string& flag, const char* kind);

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

}  // namespace orbe

#endif  // ORBE_INDICATORS_FETCH_TERMS_H_
