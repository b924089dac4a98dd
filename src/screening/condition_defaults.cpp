// What a new condition row and the period selector start with.
#include <chrono>

#include "env/report_period.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/env.h"
#include "orbe/platform/text.h"
#include "orbe/screening/index_condition_wnd.h"
#include "screening/condition_texts.h"

namespace {

constexpr std::size_t kMarkerPrefixBytes = 4;  // "常量" before the constant class

std::string CurrentReportText() {
  std::string year;
  std::string period;
  GetCurReport(year, period, 0);
  return year + period;
}

// The last weekday before today: Friday on a Monday, Saturday and Sunday.
std::string PreviousWeekday() {
  using namespace std::chrono;
  const orbe::CivilDate today = orbe::Today();
  const sys_days day = year_month_day{year{today.year}, month{static_cast<unsigned>(today.month)},
                                      std::chrono::day{static_cast<unsigned>(today.day)}};
  const unsigned weekday = std::chrono::weekday{day}.c_encoding();  // 0 Sunday
  const int back = weekday == 1 ? 3 : weekday == 0 ? 2 : 1;
  const year_month_day previous{day - days{back}};
  return orbe::Format("%d-%02d-%02u", static_cast<int>(previous.year()),
                      static_cast<int>(static_cast<unsigned>(previous.month())), static_cast<unsigned>(previous.day()));
}

std::string FirstConstant(const std::string& marker) {
  if (marker.size() < kMarkerPrefixBytes) return std::string();
  std::vector<tagMemConstInfo> consts(orbe::kMaxConstsPerClass);
  const long count = CwFileUtil::GetConstList(GetGlobalMainOrbeClientSession(),
                                              marker.substr(kMarkerPrefixBytes).c_str(), consts.data());
  return count > 0 ? orbe::FieldText(consts[0].text) : std::string();
}

std::string MarkerDefault(const std::string& marker) {
  if (marker.find(orbe::kConstMarker) != std::string::npos) return FirstConstant(marker);
  if (marker.find(orbe::kDateMarker) != std::string::npos) return PreviousWeekday();
  if (marker.find(orbe::kReportMarker) != std::string::npos) return CurrentReportText();
  return std::string();
}

std::vector<std::string> MarkersOf(const IndexBase& index) {
  std::vector<std::string> markers;
  if (const auto* sys = dynamic_cast<const SysIndex*>(&index)) {
    for (const SysIndexParam& param : sys->params) markers.push_back(param.flag);
  } else if (const auto* tql = dynamic_cast<const SysIndexTQL*>(&index)) {
    markers = tql->flags;
  }
  return markers;
}

}  // namespace

std::string CIndexConditionWnd::DefaultParameter(const IndexBase& index) {
  std::string text;
  bool first = true;
  for (const std::string& marker : MarkersOf(index)) {
    if (!first) text += ",";
    text += MarkerDefault(marker);
    first = false;
  }
  return text;
}

std::vector<std::string> CIndexConditionWnd::ReportPeriodList(int year) {
  static constexpr const char* kPeriods[] = {"%d年度", "%d三季", "%d中期", "%d一季"};
  std::vector<std::string> list;
  for (int y = year; y > year - kPeriodYears; --y) {
    for (const char* period : kPeriods) list.push_back(orbe::Format(period, y));
  }
  return list;
}
