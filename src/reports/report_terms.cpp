// Texts are GBK byte escapes (see report_words.h); the comments show them.
#include "orbe/reports/report_terms.h"

#include <array>
#include <mutex>

#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_clock.h"
#include "platform/no_destructor.h"
#include "reports/report_words.h"

namespace orbe {
namespace {

// How many past years the term list offers.
constexpr int kPastYears = 20;

// Terms of the current year by month: those whose reports can be out.
struct CurrentYearRow {
  int first_month;
  std::initializer_list<const char*> periods;
};
const CurrentYearRow kCurrentYearTerms[] = {
    {10, {report_words::kThirdTerm, report_words::kMidTerm, report_words::kFirstTerm}},
    {6, {report_words::kMidTerm, report_words::kFirstTerm}},
    {3, {report_words::kFirstTerm}},
};

constexpr const char* kPastYearPeriods[] = {report_words::kWholeYear, report_words::kAnnual,
                                            report_words::kThirdTerm, report_words::kMidTerm,
                                            report_words::kFirstTerm};

constexpr const char* kClickActions[] = {"click: mailto", "click: open link", "click: nothing",
                                         "click: notify host"};
static_assert(std::size(kClickActions) == kClickNotifyHost - kLastRenderingFormat);

// The unit names as one list, made from the table of the units.
const std::array<const char*, kMoneyUnitCount> kMoneyUnitNames = [] {
  std::array<const char*, kMoneyUnitCount> names{};
  for (int i = 0; i < kMoneyUnitCount; ++i) names[static_cast<std::size_t>(i)] = kMoneyUnits[i].name;
  return names;
}();

std::string YearTerm(int year, const char* period) { return std::to_string(year) + " " + period; }

}  // namespace

std::vector<std::string> ReportTermsOn(const ReportDate& date) {
  std::vector<std::string> terms = {report_words::kRecentTwoTerms, report_words::kRecentTwoYears};
  for (const CurrentYearRow& row : kCurrentYearTerms) {
    if (date.month < row.first_month) continue;
    for (const char* period : row.periods) terms.push_back(YearTerm(date.year, period));
    break;
  }
  for (int year = date.year - 1; year >= date.year - kPastYears; --year) {
    for (const char* period : kPastYearPeriods) terms.push_back(YearTerm(year, period));
  }
  return terms;
}

std::span<const char* const> MoneyUnitNames() { return kMoneyUnitNames; }

std::span<const char* const> ValueFormatNames() { return kValueFormatNames; }

std::string ValueFormatName(int index) {
  if (index >= kFormatDefault && index <= kLastRenderingFormat) return kValueFormatNames[index];
  if (index > kLastRenderingFormat && index <= kClickNotifyHost) return kClickActions[index - kClickMailTo];
  return {};
}

}  // namespace orbe

std::vector<CString> CIniReportUtil::GetReportTermList() {
  // Every report window asks; the list changes only with the month.
  struct Kept {
    std::mutex lock;
    orbe::ReportDate date;
    std::vector<CString> terms;
  };
  static orbe::NoDestructor<Kept> kept_store;
  Kept* const kept = kept_store.get();
  const orbe::ReportDate today = orbe::ReportClock::Today();
  const std::lock_guard hold(kept->lock);
  if (kept->terms.empty() || kept->date.year != today.year || kept->date.month != today.month) {
    kept->terms = orbe::ReportTermsOn(today);
    kept->date = today;
  }
  return kept->terms;
}

std::vector<CString> CIniReportUtil::GetMoneyUnitList() {
  const auto names = orbe::MoneyUnitNames();
  return std::vector<CString>(names.begin(), names.end());
}
