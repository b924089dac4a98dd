#include "sample/sample_calendar.h"

namespace orbe::sample {
namespace {

struct Closure {
  int first;
  int last;
};

// Holiday closures falling on weekdays, from the exchanges' published schedules.
constexpr Closure kClosures[] = {
    {20250101, 20250101}, {20250128, 20250204}, {20250404, 20250404}, {20250501, 20250505},
    {20250602, 20250602}, {20251001, 20251008}, {20260101, 20260102}, {20260216, 20260223},
    {20260406, 20260406}, {20260501, 20260505}, {20260619, 20260619}, {20260925, 20260925},
    {20261001, 20261008},
};

constexpr int kQuarterEndDays[] = {331, 630, 930, 1231};

}  // namespace

// Howard Hinnant's days_from_civil: exact for the proleptic Gregorian calendar.
int DaysFromDate(int yyyymmdd) {
  int year = yyyymmdd / 10000;
  const int month = yyyymmdd / 100 % 100;
  const int day = yyyymmdd % 100;
  year -= month <= 2;
  const int era = (year >= 0 ? year : year - 399) / 400;
  const int year_of_era = year - era * 400;
  const int day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

int DateFromDays(int days) {
  days += 719468;
  const int era = (days >= 0 ? days : days - 146096) / 146097;
  const int day_of_era = days - era * 146097;
  const int year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int mp = (5 * day_of_year + 2) / 153;
  const int day = day_of_year - (153 * mp + 2) / 5 + 1;
  const int month = mp < 10 ? mp + 3 : mp - 9;
  const int year = year_of_era + era * 400 + (month <= 2);
  return year * 10000 + month * 100 + day;
}

int AddDays(int yyyymmdd, int days) {
  return DateFromDays(DaysFromDate(yyyymmdd) + days);
}

bool IsValidDate(int yyyymmdd) {
  const int month = yyyymmdd / 100 % 100;
  const int day = yyyymmdd % 100;
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  return DateFromDays(DaysFromDate(yyyymmdd)) == yyyymmdd;
}

int WeekdayOf(int yyyymmdd) {
  return ((DaysFromDate(yyyymmdd) % 7) + 11) % 7;  // 1970-01-01 was a Thursday
}

bool IsWeekend(int yyyymmdd) {
  const int weekday = WeekdayOf(yyyymmdd);
  return weekday == 0 || weekday == 6;
}

bool IsExchangeHoliday(int yyyymmdd) {
  for (const Closure& closure : kClosures) {
    if (yyyymmdd >= closure.first && yyyymmdd <= closure.last) return true;
  }
  return false;
}

bool IsTradingDay(int yyyymmdd) {
  return !IsWeekend(yyyymmdd) && !IsExchangeHoliday(yyyymmdd);
}

int NextTradingDay(int yyyymmdd) {
  while (!IsTradingDay(yyyymmdd)) yyyymmdd = AddDays(yyyymmdd, 1);
  return yyyymmdd;
}

std::vector<int> TradingDays(int first, int last) {
  std::vector<int> days;
  for (int day = first; day <= last; day = AddDays(day, 1)) {
    if (IsTradingDay(day)) days.push_back(day);
  }
  return days;
}

std::vector<int> QuarterEnds(int first, int last) {
  std::vector<int> ends;
  for (int year = first / 10000; year <= last / 10000; ++year) {
    for (const int month_day : kQuarterEndDays) {
      const int date = year * 10000 + month_day;
      if (date >= first && date <= last) ends.push_back(date);
    }
  }
  return ends;
}

}  // namespace orbe::sample
