// Date picker and month calendar. Dates travel as texts "YYYY-MM-DD" (also
// read: "YYYY/MM/DD", "YYYYMMDD") and times as "HH:MM:SS" (also "HH:MM",
// "HHMMSS"); inside they are yyyymmdd numbers and seconds of the day.
#ifndef ORBE_WIDGETS_DATE_CONTROLS_H_
#define ORBE_WIDGETS_DATE_CONTROLS_H_

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "orbe/widgets/widget_event.h"

namespace orbe {
// nullopt for a malformed text or an impossible date (30 February).
std::optional<int> ParseDateText(const std::string& text);
std::optional<int> ParseTimeText(const std::string& text);
std::string DateText(int yyyymmdd);
std::string TimeText(int seconds);
// Today in local time, yyyymmdd.
int TodayDate();
}  // namespace orbe

// Date picker. "OnDateTimeChanged"(id, date, time) for a user's pick that
// changes the value.
class CKvxDateTimePicker : public orbe::EventWidget {
 public:
  // Starts at today, 00:00:00, without a range.
  CKvxDateTimePicker();

  // The two ints of the add operation: what is shown (0 date, 1 time, 2 both)
  // and whether the value may be switched off (a check box).
  void SetShowFormat(int format) { format_ = format; }
  int GetShowFormat() const { return format_; }
  void SetShowNone(bool show_none) { show_none_ = show_none; }
  bool GetShowNone() const { return show_none_; }

  // An empty time keeps midnight. Refused when malformed or outside the range.
  bool SetDateTime(const std::string& date, const std::string& time);
  std::pair<std::string, std::string> GetDateTime() const;
  // Empty date texts leave that side open; refused when min > max. A value
  // outside the new range moves to the nearer bound.
  bool SetRange(const std::string& min_date, const std::string& min_time, const std::string& max_date,
                const std::string& max_time);
  // min date, min time, max date, max time; "" for an open side.
  std::tuple<std::string, std::string, std::string, std::string> GetRange() const;

  bool PickDateTime(const std::string& date, const std::string& time);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  // yyyymmdd * 100000 + seconds: one ordered number per moment.
  using Moment = long long;
  bool InRange(Moment moment) const;

  Moment value_;
  std::optional<Moment> min_;
  std::optional<Moment> max_;
  int format_ = 0;
  bool show_none_ = false;
};

// Month calendar indices of SetColor.
enum MonthCalColor : int {
  MCSC_BACKGROUND = 0,
  MCSC_TEXT = 1,
  MCSC_TITLEBK = 2,
  MCSC_TITLETEXT = 3,
  MCSC_MONTHBK = 4,
  MCSC_TRAILINGTEXT = 5,
};

// Month calendar. "OnMonthCalSelChanged"(id, date) for a user's click that
// changes the selection.
class CKvxMonthCalendar : public orbe::EventWidget {
 public:
  CKvxMonthCalendar();

  bool SetColor(int which, COLORREF color);
  COLORREF GetColor(int which) const;
  bool SetDayBold(int year, int month, int day, bool bold);
  bool IsDayBold(int yyyymmdd) const { return bold_days_.count(yyyymmdd) > 0; }
  bool SelectToday();
  bool SetCurSel(const std::string& date);
  std::string GetCurSel() const { return orbe::DateText(selected_); }
  bool SetRange(const std::string& min_date, const std::string& max_date);
  std::pair<std::string, std::string> GetRange() const;
  // The shown month: 0 its first and last day; 1 the whole six-week page,
  // with the trailing days of the months around it (weeks start on Sunday).
  std::pair<std::string, std::string> GetCurShowRange(int flag) const;

  bool ClickDay(const std::string& date);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  bool InRange(int date) const;

  int selected_;
  std::optional<int> min_;
  std::optional<int> max_;
  std::set<int> bold_days_;
  std::map<int, COLORREF> colors_;
};

#endif  // ORBE_WIDGETS_DATE_CONTROLS_H_
