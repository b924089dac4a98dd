#include "env/report_period.h"

#include <cstdint>

#include "env/module_state.h"
#include "orbe/env.h"
#include "orbe/platform/text.h"
#include "orbe/reports/report_clock.h"

namespace orbe {
namespace {

constexpr const char* kPeriodNames[] = {"一季", "中期", "三季", "年度"};
constexpr int kAnnual = 3;

// Day of the year written mmdd, so that ranges compare as numbers.
int MonthDay(const CivilDate& date) { return date.month * 100 + date.day; }

}  // namespace

int ReportIndexForDate(const CivilDate& date) {
  const int base = (date.year - 1980) * 4;
  const int month_day = MonthDay(date);
  if (month_day <= 110) return base - 1;
  if (month_day <= 410) return base;
  if (month_day <= 710) return base + 1;
  if (month_day <= 1010) return base + 2;
  return base + 3;
}

// Computed wide and narrowed, so absurd years wrap instead of overflowing.
int ReportIndexOf(int year, int period) {
  return static_cast<int>(static_cast<std::int64_t>(year) * 4 - 7920 + period % 4);
}

ReportTerm ReportTermOf(int index) {
  const int remainder = index % 4;
  ReportTerm term;
  term.year = Format("%d", index / 4 + 1980);
  term.period = kPeriodNames[remainder < 0 ? kAnnual : remainder];
  return term;
}

int PeriodNumberOf(const std::string& period_name) {
  for (int i = 0; i < kAnnual; ++i) {
    if (period_name == kPeriodNames[i]) return i;
  }
  return kAnnual;
}

CivilDate Today() {
  // The report clock: fixed by a test (or a host replaying a day), else the local date.
  const ReportDate today = ReportClock::Today();
  return CivilDate{today.year, today.month, today.day};
}

}  // namespace orbe

void SetCurReport(int year, int period) { orbe::State().cur_report_index = orbe::ReportIndexOf(year, period); }

void GetCurReport(std::string& year, std::string& period, int back) {
  std::atomic<int>& index = orbe::State().cur_report_index;
  if (index <= 0) index = orbe::ReportIndexForDate(orbe::Today());
  const orbe::ReportTerm term = orbe::ReportTermOf(static_cast<int>(static_cast<std::int64_t>(index) - back));
  year = term.year;
  period = term.period;
}
