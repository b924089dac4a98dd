// Date macros and the report-term macro. Quarters are always calendar
// quarters of the current month: 1-3, 4-6, 7-9, 10-12.
#include <string>
#include <string_view>

#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_clock.h"
#include "reports/decimal_text.h"
#include "reports/macro_text.h"
#include "reports/report_words.h"

namespace orbe {
namespace {

constexpr char kTermMacro[] = "$REPORTTIME$";
constexpr char kTermComparison[] = "=$REPORTTIME$";
constexpr std::size_t kFieldNameBytes = 4;
// "2011 中期": four digits, a blank and two GBK characters.
constexpr std::size_t kYearTermBytes = 9;

constexpr const char* kQuarterEnds[] = {"0331", "0630", "0930", "1231"};

// The date macros, each the end of a quarter some quarters before the
// current one; "$LASTY$" is the end of last year whatever the month.
struct DateMacro {
  const char* macro;
  int quarters_back;  // 0: end of last year
};
constexpr DateMacro kDateMacros[] = {
    {"$LASTQ$", 1}, {"$PREVQ1$", 1}, {"$PREVQ2$", 2}, {"$PREVQ3$", 3}, {"$LASTY$", 0}, {"$PREVY1$", 0},
};

std::string QuarterEndBefore(const ReportDate& today, int quarters_back) {
  if (quarters_back == 0) return Format("%d1231", today.year - 1);
  const int quarter = today.year * 4 + (today.month - 1) / 3 - quarters_back;
  const int year = quarter >= 0 ? quarter / 4 : (quarter - 3) / 4;
  return Format("%d%s", year, kQuarterEnds[quarter - year * 4]);
}

// One exclusive range ">start AND F<end" by quarter of the current month.
struct RangeRow {
  int start_years_back;
  const char* start_day;
  int end_years_back;
  const char* end_day;
};
// "最近两期": the last two quarter ends.
constexpr RangeRow kRecentTwoTerms[] = {
    {1, "0929", 1, "1232"}, {1, "1230", 0, "0332"}, {0, "0330", 0, "0631"}, {0, "0629", 0, "0931"}};
// "最近两年": from the quarter end two years before "$LASTQ$" to "$LASTQ$".
constexpr RangeRow kRecentTwoYears[] = {
    {3, "1230", 1, "1232"}, {2, "0330", 0, "0332"}, {2, "0629", 0, "0631"}, {2, "0929", 0, "0931"}};

std::string RangeText(const RangeRow& row, int year, const std::string& field) {
  return Format(">%d%s AND %s<%d%s", year - row.start_years_back, row.start_day, field.c_str(),
                year - row.end_years_back, row.end_day);
}

// The four characters before "=$REPORTTIME$": the date field compared.
std::string TermFieldName(const std::string& text) {
  const std::size_t at = text.find(kTermComparison);
  if (at == std::string::npos || at == 0) return {};
  const std::size_t start = at >= kFieldNameBytes ? at - kFieldNameBytes : 0;
  return text.substr(start, at - start);
}

// A term of one year: the period word decides the date; "全年" the range.
struct PeriodWord {
  const char* word;
  const char* day;
};
constexpr PeriodWord kPeriodWords[] = {
    {report_words::kFirstTerm, "0331"},
    {report_words::kMidTerm, "0630"},
    {report_words::kThirdTerm, "0930"},
    {report_words::kAnnual, "1231"},
};

void ExpandYearTerm(std::string& text, const std::string& term, const std::string& field) {
  const long year = LeadingDecimal(term);
  for (const PeriodWord& period : kPeriodWords) {
    if (!HasMacro(term, period.word)) continue;
    ReplaceEvery(text, kTermMacro, Format("%ld%s", year, period.day));
    return;
  }
  if (HasMacro(term, report_words::kWholeYear))
    ReplaceEvery(text, kTermComparison, Format(">%ld0100 AND %s<%ld1232", year, field.c_str(), year));
}

void ExpandRecentTerm(std::string& text, const std::string& term, const std::string& field,
                      const ReportDate& today) {
  const RangeRow* rows = nullptr;
  if (term == report_words::kRecentTwoTerms) rows = kRecentTwoTerms;
  if (term == report_words::kRecentTwoYears) rows = kRecentTwoYears;
  if (rows == nullptr) return;
  ReplaceEvery(text, kTermComparison, RangeText(rows[(today.month - 1) / 3], today.year, field));
}

// A clock outside 1..12 would index past the tables; it is read as December.
ReportDate SaneDate(ReportDate date) {
  if (date.month < 1 || date.month > 12) date.month = 12;
  return date;
}

}  // namespace
}  // namespace orbe

CString CIniReportUtil::ReplaceTimeInSql(const CString& sql, const CString& reportTerm) {
  const orbe::ReportDate today = orbe::SaneDate(orbe::ReportClock::Today());
  std::string text = sql;
  const std::string field = orbe::TermFieldName(text);
  for (const orbe::DateMacro& macro : orbe::kDateMacros) {
    if (orbe::HasMacro(text, macro.macro))
      orbe::ReplaceEvery(text, macro.macro, orbe::QuarterEndBefore(today, macro.quarters_back));
  }
  if (!orbe::HasMacro(text, orbe::kTermMacro)) return text;
  if (reportTerm.size() == orbe::kYearTermBytes) {
    orbe::ExpandYearTerm(text, reportTerm, field);
  } else {
    orbe::ExpandRecentTerm(text, reportTerm, field, today);
  }
  return text;
}
