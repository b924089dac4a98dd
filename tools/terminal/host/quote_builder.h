// Turns a security's last daily bars into the quote record HQ104.
#ifndef ORBE_TOOLS_TERMINAL_HOST_QUOTE_BUILDER_H_
#define ORBE_TOOLS_TERMINAL_HOST_QUOTE_BUILDER_H_

#include <cstdint>
#include <vector>

#include "orbe/host/host_records.h"

namespace orbe {

// One row of the daily quote table 100000020.
struct DailyBar {
  int date = 0;
  double previous_close = 0;  // T004, the close of the bar before
  double open = 0, high = 0, low = 0, close = 0;
  std::int64_t volume = 0;  // shares
  double amount = 0;
  double turnover_percent = 0;  // of the float
  double market_value = 0;      // close x total shares
};

// `bars` are the security's latest bars in date order (the last one being
// its latest); `last_trading_day` is the market's. `annual_eps` is the
// earnings per share of the latest report scaled to a year (0 when unknown).
Hq104 BuildQuoteRecord(const std::vector<DailyBar>& bars, int last_trading_day, double annual_eps);

// Scales year-to-date earnings per share of a report period (yyyymmdd at a
// quarter end) to a whole year; 0 for a date that is no quarter end.
double AnnualisedEps(double eps, int report_period);

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_QUOTE_BUILDER_H_
