// The fixed word lists of a condition row: operators and the units by the
// indicator's unit type.
#ifndef ORBE_SRC_SCREENING_CONDITION_TEXTS_H_
#define ORBE_SRC_SCREENING_CONDITION_TEXTS_H_

#include <string>
#include <vector>

namespace orbe {

// The operator list of column 3: empty (a display-only row) first.
const std::vector<std::string>& ConditionOperators();
// The unit list of column 5 for a unit type, the preset first; empty for
// unit type 0 and unknown types.
const std::vector<std::string>& ConditionUnits(int unittype);

// Parameter markers of system and TQL indicators.
inline constexpr const char* kConstMarker = "常量";
inline constexpr const char* kDateMarker = "日期";
inline constexpr const char* kReportMarker = "报告期";

}  // namespace orbe

#endif  // ORBE_SRC_SCREENING_CONDITION_TEXTS_H_
