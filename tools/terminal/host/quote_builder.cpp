#include "host/quote_builder.h"

#include <cstring>

namespace orbe {
namespace {

// The float follows from the turnover the market reports: volume / float.
double FloatMarketValue(const DailyBar& bar, double price) {
  if (bar.turnover_percent <= 0) return 0;
  return price * static_cast<double>(bar.volume) * 100 / bar.turnover_percent;
}

// Against the mean volume of the bars before the latest one.
double VolumeRatio(const std::vector<DailyBar>& bars) {
  double sum = 0;
  for (std::size_t i = 0; i + 1 < bars.size(); ++i) sum += static_cast<double>(bars[i].volume);
  if (bars.size() < 2 || sum <= 0) return 0;
  return static_cast<double>(bars.back().volume) / (sum / static_cast<double>(bars.size() - 1));
}

void FillTrading(const std::vector<DailyBar>& bars, Hq104& record) {
  const DailyBar& bar = bars.back();
  const double previous = bars.size() >= 2 ? bars[bars.size() - 2].close : bar.previous_close;
  record.previous_close = static_cast<float>(previous);
  record.open = static_cast<float>(bar.open);
  record.high = static_cast<float>(bar.high);
  record.low = static_cast<float>(bar.low);
  record.latest = static_cast<float>(bar.close);
  record.volume = static_cast<double>(bar.volume);
  record.amount = bar.amount;
  if (bar.volume > 0) record.average = static_cast<float>(bar.amount / static_cast<double>(bar.volume));
  record.change = static_cast<float>(bar.close - previous);
  if (previous > 0) {
    record.change_percent = static_cast<float>((bar.close - previous) / previous * 100);
    record.range_percent = static_cast<float>((bar.high - bar.low) / previous * 100);
  }
  record.turnover_percent = static_cast<float>(bar.turnover_percent);
  record.volume_ratio = static_cast<float>(VolumeRatio(bars));
  record.market_value = bar.market_value;
  record.float_market_value = FloatMarketValue(bar, bar.close);
}

// A suspended security stands at its last close with nothing traded, so
// every price equals the previous close and no up/down mark appears.
void FillSuspended(const DailyBar& bar, Hq104& record) {
  record.state = 1;
  const auto price = static_cast<float>(bar.close);
  record.previous_close = record.open = record.high = record.low = record.latest = price;
  record.market_value = bar.market_value;
  record.float_market_value = FloatMarketValue(bar, bar.close);
}

}  // namespace

double AnnualisedEps(double eps, int report_period) {
  const int month_day = report_period % 10000;
  const int quarter = month_day == 331    ? 1
                      : month_day == 630  ? 2
                      : month_day == 930  ? 3
                      : month_day == 1231 ? 4
                                          : 0;
  return quarter == 0 ? 0 : eps * 4 / quarter;
}

Hq104 BuildQuoteRecord(const std::vector<DailyBar>& bars, int last_trading_day, double annual_eps) {
  Hq104 record;
  std::memset(&record, 0, sizeof record);
  if (bars.empty()) return record;
  if (bars.back().date == last_trading_day) {
    FillTrading(bars, record);
  } else {
    FillSuspended(bars.back(), record);
  }
  if (annual_eps > 0) record.dynamic_pe = static_cast<float>(record.latest / annual_eps);
  return record;
}

}  // namespace orbe
