// Texts are GBK byte escapes (see report_words.h); the comments show them.
#include "orbe/reports/report_terms.h"

#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
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

constexpr const char* kMoneyUnits[] = {
    "\xd4\xaa",                  // 元
    "\xc7\xa7\xd4\xaa",          // 千元
    "\xcd\xf2\xd4\xaa",          // 万元
    "\xca\xae\xcd\xf2\xd4\xaa",  // 十万元
    "\xb0\xd9\xcd\xf2\xd4\xaa",  // 百万元
    "\xc7\xa7\xcd\xf2\xd4\xaa",  // 千万元
    "\xd2\xda\xd4\xaa",          // 亿元
};

constexpr const char* kValueFormats[] = {
    "\xc4\xac\xc8\xcf",                                          // 默认
    "\xc7\xa7\xb7\xd6\xce\xbb\xb6\xba\xba\xc5\xb7\xd6\xb8\xf4",  // 千分位逗号分隔
    "\xb0\xeb\xbd\xc7\xb0\xd9\xb7\xd6\xba\xc5",                  // 半角百分号
    "\xc8\xab\xbd\xc7\xb0\xd9\xb7\xd6\xba\xc5",                  // 全角百分号
    "\xc7\xa7\xb7\xd6\xba\xc5",                                  // 千分号
    "XXX.XX"
    "\xcd\xf2",  // XXX.XX万
    "XXX.XX"
    "\xd2\xda",  // XXX.XX亿
    "XXX,XXX.XX"
    "\xcd\xf2",  // XXX,XXX.XX万
    "XXX,XXX.XX"
    "\xd2\xda",                                                          // XXX,XXX.XX亿
    "\xd7\xd4\xb6\xaf\xcd\xf2\xd2\xda\xb7\xa8",                          // 自动万亿法
    "\xc7\xa7\xb7\xd6\xce\xbb\xd7\xd4\xb6\xaf\xcd\xf2\xd2\xda\xb7\xa8",  // 千分位自动万亿法
    "yyyy/mm/dd",
    "mm/dd/yyyy",
    "yyyy-mm-dd",
    "YYYYMMDD",
    "YY/MM/DD",
    "MM/DD/YY",
    "YY-MM-DD",
    "YYMMDD",
    "\xc4\xea\xb1\xa8\xd0\xce\xca\xbd",          // 年报形式
    "\xb6\xcc\xc4\xea\xb1\xa8\xb8\xf1\xca\xbd",  // 短年报格式
};
static_assert(std::size(kValueFormats) == kFormatLastRendering + 1);

constexpr const char* kClickActions[] = {"click: mailto", "click: open link", "click: nothing",
                                         "click: notify host"};
static_assert(std::size(kClickActions) == kClickNotifyHost - kFormatLastRendering);

std::string YearTerm(int year, const char* period) { return Format("%d %s", year, period); }

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

std::span<const char* const> MoneyUnitNames() { return kMoneyUnits; }

std::span<const char* const> ValueFormatNames() { return kValueFormats; }

std::string ValueFormatName(int index) {
  if (index >= kFormatDefault && index <= kFormatLastRendering) return kValueFormats[index];
  if (index > kFormatLastRendering && index <= kClickNotifyHost) return kClickActions[index - kClickMailTo];
  return {};
}

}  // namespace orbe

std::vector<CString> CIniReportUtil::GetReportTermList() {
  return orbe::ReportTermsOn(orbe::ReportClock::Today());
}

std::vector<CString> CIniReportUtil::GetMoneyUnitList() {
  const auto names = orbe::MoneyUnitNames();
  return std::vector<CString>(names.begin(), names.end());
}
