// Parameter values of scheme rows: report periods, dates, constants and lists.
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

#include "indicators/fetch_terms.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/platform/text.h"

namespace orbe {

namespace {

constexpr std::size_t kMinReportValueLength = 5;
constexpr std::size_t kYearLength = 4;
constexpr std::size_t kConstMarkerLength = 4;  // "常量" in GBK
constexpr std::size_t kDateDigits = 8;

// Report dates are yyyymmdd.
constexpr ReportPeriod kReportPeriods[] = {
    {"一季", "0100", "0332", "0331"},
    {"中期", "0400", "0631", "0630"},
    {"三季", "0700", "0931", "0930"},
    {"", "1000", "1232", "1231"},  // the year, "年度" or anything else
};

}  // namespace

const ReportPeriod& ReportPeriodOf(const std::string& period) {
  for (const ReportPeriod& known : kReportPeriods) {
    if (period.find(known.name) != std::string::npos) return known;  // the empty name matches last
  }
  return kReportPeriods[std::size(kReportPeriods) - 1];
}

bool HasMarker(const std::string& flag, const char* kind) { return flag.find(kind) != std::string::npos; }

ReportValue ResolveReportValue(const std::string& value) {
  ReportValue out;
  if (value.size() < kMinReportValueLength) return out;
  out.present = true;
  if (value.find("默认季度") != std::string::npos) {
    const std::size_t dash = value.find('-');
    const int back = dash == std::string::npos ? 0 : std::atoi(value.c_str() + dash + 1);
    GetCurReport(out.year, out.period, back);
  } else {
    out.year = value.substr(0, kYearLength);
    out.period = value.substr(kYearLength);
  }
  return out;
}

std::vector<std::string> SplitList(const std::string& text, char separator) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(separator, start);
    items.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) return items;
    start = end + 1;
  }
}

std::string JoinList(const std::vector<std::string>& items, char separator) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += separator;
    text += item;
  }
  return text;
}

std::vector<std::string> SplitParameterValues(const std::string& text, std::size_t formals) {
  // An indicator without formal parameters has an empty parameter text.
  if (text.empty() && formals == 0) return {};
  return SplitList(text, ',');
}

std::string ConstantCodeOf(OrbeClientSession* session, const std::string& flag, const std::string& name) {
  if (session == nullptr || flag.size() < kConstMarkerLength) return std::string();
  const std::string constClass = flag.substr(kConstMarkerLength);
  std::vector<tagMemConstInfo> consts(kMaxConstsPerClass);
  const long count = CwFileUtil::GetConstList(session, constClass.c_str(), consts.data());
  for (long i = 0; i < count && i < kMaxConstsPerClass; ++i) {
    const tagMemConstInfo& entry = consts[static_cast<std::size_t>(i)];
    if (std::string(entry.text, strnlen(entry.text, sizeof entry.text)) == name) {
      return std::string(entry.code, strnlen(entry.code, sizeof entry.code));
    }
  }
  return std::string();
}

std::string DateDigits(const std::string& value) {
  std::string digits;
  for (const char c : value) {
    if (c != '-') digits += c;
  }
  return digits.substr(0, kDateDigits);
}

}  // namespace orbe
