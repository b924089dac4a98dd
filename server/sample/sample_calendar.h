// Dates of the sample market. Dates are yyyymmdd integers, as the data
// tables store them; the market is frozen at a fixed date so that the same
// seed always gives the same database.
#pragma once

#include <vector>

namespace orbe::sample {

// The day the sample market describes: quotes end here, and every report
// period whose statements would have been published by then is present.
inline constexpr int kAsOfDate = 20261130;
inline constexpr int kFirstQuoteDate = 20241202;  // two years of trading days
inline constexpr int kFirstReportDate = 20161231;
inline constexpr int kLastReportDate = 20260930;  // 40 quarters

int DaysFromDate(int yyyymmdd);  // days since 1970-01-01
int DateFromDays(int days);
int AddDays(int yyyymmdd, int days);
bool IsValidDate(int yyyymmdd);
int WeekdayOf(int yyyymmdd);  // 0 = Sunday
bool IsWeekend(int yyyymmdd);
// Weekdays on which the exchanges close for public holidays (sample period only).
bool IsExchangeHoliday(int yyyymmdd);
bool IsTradingDay(int yyyymmdd);
// The first trading day on or after the date.
int NextTradingDay(int yyyymmdd);
std::vector<int> TradingDays(int first, int last);
// Quarter ends (0331, 0630, 0930, 1231) from first to last, both included.
std::vector<int> QuarterEnds(int first, int last);

}  // namespace orbe::sample
