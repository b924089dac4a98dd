// Report periods as one number: (year - 1980) * 4 + period, with period 0
// "一季" (first quarter), 1 "中期" (half year), 2 "三季" (third quarter),
// 3 "年度" (annual).
#ifndef ORBE_ENV_REPORT_PERIOD_H_
#define ORBE_ENV_REPORT_PERIOD_H_

#include <string>

namespace orbe {

struct CivilDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

struct ReportTerm {
  std::string year;    // "%d"
  std::string period;  // one of the four period names, GBK
};

// The period in progress on a date: a period counts from the 11th of the
// month after it ends, when its reports start to appear.
int ReportIndexForDate(const CivilDate& date);
// year * 4 - 7920 + the truncated remainder of period / 4 (its sign follows
// the period).
int ReportIndexOf(int year, int period);
// Year and period name of an index; a negative remainder reads "年度".
ReportTerm ReportTermOf(int index);
// 0, 1, 2 for "一季", "中期", "三季"; 3 for anything else.
int PeriodNumberOf(const std::string& period_name);
// The date of the report clock (orbe/reports/report_clock.h).
CivilDate Today();

}  // namespace orbe

#endif  // ORBE_ENV_REPORT_PERIOD_H_
