// Daily quotes: a random walk per stock that follows the market with its own
// beta, bounded by the exchange's daily price limit.
#include <algorithm>
#include <cmath>

#include "sample/sample_calendar.h"
#include "sample/sample_constants.h"
#include "sample/sample_generators.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

struct Walk {
  double beta;
  double sigma;     // own daily volatility
  double turnover;  // typical share of the float traded per day
};

double LimitOf(const Stock& stock) {
  if (stock.special_treatment) return 0.05;
  const bool wide = stock.board == kBoardStar || stock.board == kBoardGrowth;
  return wide ? 0.20 : 0.10;
}

struct Bar {
  double open, high, low, close;
};

Bar MakeBar(Random& random, const Walk& walk, double previous, double market_return, double limit) {
  const double upper = Round2(previous * (1 + limit));
  const double lower = std::max(0.01, Round2(previous * (1 - limit)));
  const auto bound = [&](double price) { return std::clamp(Round2(price), lower, upper); };
  double change = walk.beta * market_return + random.Normal(0, walk.sigma);
  if (random.Chance(0.01))
    change += (random.Chance(0.5) ? 1 : -1) * random.Uniform(0.5, 1.0) * limit;  // news
  if (previous < 1.5 && change < 0) change = -change;                            // keeps prices off the floor
  Bar bar{};
  bar.close = bound(previous * (1 + change));
  bar.open = bound(previous * (1 + random.Normal(0, walk.sigma / 3)));
  bar.high = bound(std::max(bar.open, bar.close) * (1 + std::fabs(random.Normal(0, walk.sigma / 3))));
  bar.low = bound(std::min(bar.open, bar.close) * (1 - std::fabs(random.Normal(0, walk.sigma / 3))));
  return bar;
}

void WriteStockQuotes(const GeneratorContext& context, Random& random, const Stock& stock,
                      const std::vector<int>& days, const std::vector<double>& market) {
  const Walk walk{random.Uniform(0.6, 1.4), random.Uniform(0.008, 0.025), random.Uniform(0.003, 0.03)};
  const double limit = LimitOf(stock);
  const double float_shares = static_cast<double>(stock.total_shares) * stock.float_ratio;
  double previous = Round2(stock.first_price);
  TableWriter& quotes = context.store.Table(kDailyQuoteTable);
  for (std::size_t i = 0; i < days.size(); ++i) {
    if (days[i] < stock.listing_date) continue;
    if (random.Chance(0.002)) continue;  // suspended for the day
    const Bar bar = MakeBar(random, walk, previous, market[i], limit);
    const double activity = 1 + std::fabs(bar.close / previous - 1) / walk.sigma;
    const std::int64_t volume = std::max<std::int64_t>(
        100, std::llround(float_shares * walk.turnover * activity * random.Uniform(0.5, 1.5) / 100) * 100);
    const double average = (bar.open + bar.high + bar.low + bar.close) / 4;
    quotes.Write({stock.inner_code, stock.code, std::int64_t{days[i]}, previous, bar.open, bar.high, bar.low,
                  bar.close, volume, Round2(static_cast<double>(volume) * average),
                  Round2((bar.close / previous - 1) * 100),
                  Round4(static_cast<double>(volume) / float_shares * 100),
                  Round2(bar.close * static_cast<double>(stock.total_shares))});
    previous = bar.close;
  }
}

}  // namespace

void GenerateQuotes(const GeneratorContext& context, const std::vector<Stock>& stocks) {
  Random random = context.Stream("quotes");
  const std::vector<int> days = TradingDays(kFirstQuoteDate, kAsOfDate);
  const std::vector<double> market = MarketReturns(context, days);
  for (const Stock& stock : stocks) {
    if (!context.store.status().ok()) return;
    WriteStockQuotes(context, random, stock, days, market);
  }
}

void GenerateCalendar(const GeneratorContext& context) {
  constexpr int kFirstCalendarDate = 20241201;
  for (const char* market : {kMarketShanghai, kMarketShenzhen}) {
    for (int day = kFirstCalendarDate; day <= kAsOfDate; day = AddDays(day, 1)) {
      context.store.Table(kTradingCalendarTable)
          .Write({std::int64_t{day}, std::string(market), std::int64_t{IsTradingDay(day) ? 1 : 0},
                  std::int64_t{WeekdayOf(day)}});
    }
  }
}

}  // namespace orbe::sample
