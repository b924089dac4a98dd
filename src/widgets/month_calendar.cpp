#include <chrono>

#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/kvx_functions.h"

namespace {

namespace chr = std::chrono;

chr::sys_days DaysOf(int yyyymmdd) {
  return chr::sys_days{chr::year{yyyymmdd / 10000} / chr::month{static_cast<unsigned>(yyyymmdd / 100 % 100)} /
                       chr::day{static_cast<unsigned>(yyyymmdd % 100)}};
}

int DateOf(chr::sys_days days) {
  const chr::year_month_day ymd{days};
  return static_cast<int>(ymd.year()) * 10000 + static_cast<int>(static_cast<unsigned>(ymd.month())) * 100 +
         static_cast<int>(static_cast<unsigned>(ymd.day()));
}

// The Sunday that starts the six-week page of the month holding `date`.
chr::sys_days PageStart(int date) {
  const chr::sys_days first = DaysOf(date / 100 * 100 + 1);
  return first - (chr::weekday{first} - chr::Sunday);
}

}  // namespace

CKvxMonthCalendar::CKvxMonthCalendar()
    : EventWidget(orbe::WidgetKind::kMonthCal), selected_(orbe::TodayDate()) {}

bool CKvxMonthCalendar::SetColor(int which, COLORREF color) {
  if (which < MCSC_BACKGROUND || which > MCSC_TRAILINGTEXT) return false;
  colors_[which] = color;
  return true;
}

COLORREF CKvxMonthCalendar::GetColor(int which) const {
  const auto at = colors_.find(which);
  return at != colors_.end() ? at->second : CLR_DEFAULT;
}

bool CKvxMonthCalendar::SetDayBold(int year, int month, int day, bool bold) {
  if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  const auto date = orbe::ParseDateText(orbe::DateText(year * 10000 + month * 100 + day));
  if (!date) return false;
  if (bold) {
    bold_days_.insert(*date);
  } else {
    bold_days_.erase(*date);
  }
  return true;
}

bool CKvxMonthCalendar::InRange(int date) const {
  return (!min_ || date >= *min_) && (!max_ || date <= *max_);
}

bool CKvxMonthCalendar::SelectToday() {
  const int today = orbe::TodayDate();
  if (!InRange(today)) return false;
  selected_ = today;
  return true;
}

bool CKvxMonthCalendar::SetCurSel(const std::string& date) {
  const auto day = orbe::ParseDateText(date);
  if (!day || !InRange(*day)) return false;
  selected_ = *day;
  return true;
}

bool CKvxMonthCalendar::SetRange(const std::string& min_date, const std::string& max_date) {
  std::optional<int> low, high;
  if (!min_date.empty() && !(low = orbe::ParseDateText(min_date))) return false;
  if (!max_date.empty() && !(high = orbe::ParseDateText(max_date))) return false;
  if (low && high && *low > *high) return false;
  min_ = low;
  max_ = high;
  if (min_ && selected_ < *min_) selected_ = *min_;
  if (max_ && selected_ > *max_) selected_ = *max_;
  return true;
}

std::pair<std::string, std::string> CKvxMonthCalendar::GetRange() const {
  return {min_ ? orbe::DateText(*min_) : "", max_ ? orbe::DateText(*max_) : ""};
}

std::pair<std::string, std::string> CKvxMonthCalendar::GetCurShowRange(int flag) const {
  if (flag == 1) {
    const chr::sys_days start = PageStart(selected_);
    return {orbe::DateText(DateOf(start)), orbe::DateText(DateOf(start + chr::days{41}))};
  }
  const int first = selected_ / 100 * 100 + 1;
  return {orbe::DateText(first), orbe::DateText(first - 1 + GetLastDay(first / 10000, first / 100 % 100))};
}

bool CKvxMonthCalendar::ClickDay(const std::string& date) {
  const auto day = orbe::ParseDateText(date);
  if (!IsWindowEnabled() || !day || !InRange(*day)) return false;
  if (*day != selected_) {
    selected_ = *day;
    Raise("OnMonthCalSelChanged", {orbe::DateText(selected_)});
  }
  return true;
}

void CKvxMonthCalendar::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<table class=\"monthcal\"><caption>")
      .Raw(orbe::DateText(selected_).substr(0, 7))
      .Raw("</caption>");
  const chr::sys_days start = PageStart(selected_);
  const int month = selected_ / 100;
  for (int week = 0; week < 6; ++week) {
    out.Raw("<tr>");
    for (int weekday = 0; weekday < 7; ++weekday) {
      const int date = DateOf(start + chr::days{week * 7 + weekday});
      std::string cls = date / 100 != month ? "trail" : "";
      if (date == selected_) cls += " sel";
      if (IsDayBold(date)) cls += " bold";
      out.Raw("<td class=\"").Raw(cls).Raw("\">").Raw(std::to_string(date % 100)).Raw("</td>");
    }
    out.Raw("</tr>");
  }
  out.Raw("</table>");
}
