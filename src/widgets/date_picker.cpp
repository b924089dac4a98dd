#include "orbe/widgets/date_controls.h"
#include "orbe/widgets/html_writer.h"

namespace {

constexpr long long kDaySpan = 100000;  // above the 86400 seconds of a day

long long MomentOf(int date, int seconds) { return date * kDaySpan + seconds; }
int DateOf(long long moment) { return static_cast<int>(moment / kDaySpan); }
int SecondsOf(long long moment) { return static_cast<int>(moment % kDaySpan); }

// nullopt: malformed. An empty date is an open bound (0 here, checked by the caller).
std::optional<long long> ParseMoment(const std::string& date, const std::string& time) {
  const auto day = orbe::ParseDateText(date);
  const auto seconds = time.empty() ? std::optional<int>(0) : orbe::ParseTimeText(time);
  if (!day || !seconds) return std::nullopt;
  return MomentOf(*day, *seconds);
}

}  // namespace

CKvxDateTimePicker::CKvxDateTimePicker()
    : EventWidget(orbe::WidgetKind::kDateTime), value_(MomentOf(orbe::TodayDate(), 0)) {}

bool CKvxDateTimePicker::InRange(Moment moment) const {
  return (!min_ || moment >= *min_) && (!max_ || moment <= *max_);
}

bool CKvxDateTimePicker::SetDateTime(const std::string& date, const std::string& time) {
  const auto moment = ParseMoment(date, time);
  if (!moment || !InRange(*moment)) return false;
  value_ = *moment;
  return true;
}

std::pair<std::string, std::string> CKvxDateTimePicker::GetDateTime() const {
  return {orbe::DateText(DateOf(value_)), orbe::TimeText(SecondsOf(value_))};
}

bool CKvxDateTimePicker::SetRange(const std::string& min_date, const std::string& min_time,
                                  const std::string& max_date, const std::string& max_time) {
  std::optional<Moment> low, high;
  if (!min_date.empty() && !(low = ParseMoment(min_date, min_time))) return false;
  if (!max_date.empty() && !(high = ParseMoment(max_date, max_time))) return false;
  if (low && high && *low > *high) return false;
  min_ = low;
  max_ = high;
  if (min_ && value_ < *min_) value_ = *min_;
  if (max_ && value_ > *max_) value_ = *max_;
  return true;
}

std::tuple<std::string, std::string, std::string, std::string> CKvxDateTimePicker::GetRange() const {
  const auto date = [](const std::optional<Moment>& m) { return m ? orbe::DateText(DateOf(*m)) : ""; };
  const auto time = [](const std::optional<Moment>& m) { return m ? orbe::TimeText(SecondsOf(*m)) : ""; };
  return {date(min_), time(min_), date(max_), time(max_)};
}

bool CKvxDateTimePicker::PickDateTime(const std::string& date, const std::string& time) {
  if (!IsWindowEnabled()) return false;
  const Moment before = value_;
  if (!SetDateTime(date, time)) return false;
  if (value_ != before) {
    const auto [day, clock] = GetDateTime();
    Raise("OnDateTimeChanged", {day, clock});
  }
  return true;
}

void CKvxDateTimePicker::RenderHtml(orbe::HtmlWriter& out) const {
  const auto [day, clock] = GetDateTime();
  out.Raw("<div class=\"datetime\">");
  if (format_ != 1) out.Raw("<span class=\"date\">").Raw(day).Raw("</span>");
  if (format_ == 1 || format_ == 2) out.Raw(" <span class=\"time\">").Raw(clock).Raw("</span>");
  out.Raw("</div>");
}
