// The selections of a report window (report terms, money units) and the names
// of the value-format indices of list columns, whose table is
// orbe/widgets/value_format.h. Texts are GBK.
#ifndef ORBE_REPORTS_REPORT_TERMS_H_
#define ORBE_REPORTS_REPORT_TERMS_H_

#include <span>
#include <string>
#include <vector>

#include "orbe/reports/report_clock.h"
#include "orbe/widgets/value_format.h"

namespace orbe {

// "最近两期", "最近两年", the terms of the current year already reported
// by that month, then five terms for each of the 20 years before.
std::vector<std::string> ReportTermsOn(const ReportDate& date);
// The names of kMoneyUnits; index 0 ("元") is the initial unit.
std::span<const char* const> MoneyUnitNames();

// Names of the renderings 0..20, in index order.
std::span<const char* const> ValueFormatNames();
// The rendering's name, or a short description of a click action; empty for
// an index outside 0..24.
std::string ValueFormatName(int index);

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_TERMS_H_
