// Futures (exchanges in class 207): the varieties and their listed contracts.
// A contract code is the variety code followed by the month suffix, which is
// what the contract-name lookups rebuild. Every variety of the four domestic
// exchanges also has a continuous main contract on the pseudo-exchange "1":
// its code is the bare variety code (an empty month suffix).
#include <algorithm>

#include "orbe/platform/text.h"
#include "sample/sample_calendar.h"
#include "sample/sample_generators.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

struct Variety {
  const char* exchange;
  const char* code;
  const char* name;
  int multiplier;
  const char* unit;
  double tick;
  double margin;  // percent of the contract value
};

const Variety kVarieties[] = {
    {"QS", "CU", "沪铜", 5, "元/吨", 10, 10},
    {"QS", "AL", "沪铝", 5, "元/吨", 5, 10},
    {"QS", "ZN", "沪锌", 5, "元/吨", 5, 10},
    {"QS", "NI", "沪镍", 1, "元/吨", 10, 12},
    {"QS", "AU", "沪金", 1000, "元/克", 0.02, 8},
    {"QS", "AG", "沪银", 15, "元/千克", 1, 9},
    {"QS", "RB", "螺纹钢", 10, "元/吨", 1, 9},
    {"QS", "HC", "热轧卷板", 10, "元/吨", 1, 9},
    {"QS", "RU", "橡胶", 10, "元/吨", 5, 10},
    {"QS", "FU", "燃料油", 10, "元/吨", 1, 10},
    {"QD", "A", "豆一", 10, "元/吨", 1, 8},
    {"QD", "M", "豆粕", 10, "元/吨", 1, 8},
    {"QD", "Y", "豆油", 10, "元/吨", 2, 8},
    {"QD", "P", "棕榈油", 10, "元/吨", 2, 9},
    {"QD", "C", "玉米", 10, "元/吨", 1, 8},
    {"QD", "I", "铁矿石", 100, "元/吨", 0.5, 12},
    {"QD", "J", "焦炭", 100, "元/吨", 0.5, 12},
    {"QD", "JM", "焦煤", 60, "元/吨", 0.5, 12},
    {"QD", "PP", "聚丙烯", 5, "元/吨", 1, 8},
    {"QD", "LH", "生猪", 16, "元/吨", 5, 12},
    {"QZ", "SR", "白糖", 10, "元/吨", 1, 8},
    {"QZ", "CF", "棉花", 5, "元/吨", 5, 8},
    {"QZ", "TA", "PTA", 5, "元/吨", 2, 8},
    {"QZ", "MA", "甲醇", 10, "元/吨", 1, 9},
    {"QZ", "FG", "玻璃", 20, "元/吨", 1, 10},
    {"QZ", "AP", "苹果", 10, "元/吨", 1, 10},
    {"QZ", "SA", "纯碱", 20, "元/吨", 1, 10},
    {"QZ", "UR", "尿素", 20, "元/吨", 1, 9},
    {"CZ", "IF", "沪深300股指", 300, "指数点", 0.2, 12},
    {"CZ", "IH", "上证50股指", 300, "指数点", 0.2, 12},
    {"CZ", "IC", "中证500股指", 200, "指数点", 0.2, 14},
    {"CZ", "IM", "中证1000股指", 200, "指数点", 0.2, 15},
    {"CZ", "TF", "5年期国债", 10000, "元(净价)", 0.005, 1.2},
    {"CZ", "T", "10年期国债", 10000, "元(净价)", 0.005, 2},
    {"QN", "SC", "原油", 1000, "元/桶", 0.1, 10},
    {"QN", "LU", "低硫燃料油", 10, "元/吨", 1, 10},
    {"QN", "NR", "20号胶", 10, "元/吨", 5, 10},
    {"QN", "BC", "国际铜", 5, "元/吨", 10, 10},
    {"14", "CA", "伦铜", 25, "美元/吨", 0.5, 10},
    {"14", "AH", "伦铝", 25, "美元/吨", 0.5, 10},
    {"16", "GC", "纽约黄金", 100, "美元/盎司", 0.1, 6},
    {"16", "SI", "纽约白银", 5000, "美元/盎司", 0.005, 9},
    {"17", "CL", "纽约原油", 1000, "美元/桶", 0.01, 8},
};

// The financial exchange, the one that writes the year with one digit, and
// the pseudo-exchange of the continuous main contracts.
constexpr const char kFinancialExchange[] = "CZ";
constexpr const char kZhengzhouExchange[] = "QZ";
constexpr const char kMainContracts[] = "1";

bool IsDomestic(const Variety& variety) {
  for (const char* exchange : {"CZ", "QS", "QD", "QZ"}) {
    if (std::string(variety.exchange) == exchange) return true;
  }
  return false;
}

// The contract months listed on the sample date: the next twelve months for
// commodities, the current and next month and two quarter months for index
// futures, three quarter months for bond futures.
std::vector<int> ListedMonths(const Variety& variety, int count) {
  const int first = kAsOfDate / 100 + 1;  // 202612
  std::vector<int> months;
  for (int i = 0; static_cast<int>(months.size()) < count && i < 24; ++i) {
    const int index = (first / 100) * 12 + first % 100 - 1 + i;
    const int month = (index / 12) * 100 + index % 12 + 1;
    const bool financial = std::string(variety.exchange) == kFinancialExchange;
    const bool quarter = month % 100 % 3 == 0;
    const bool index_front = variety.code[0] == 'I' && i < 2;
    if (!financial || quarter || index_front) months.push_back(month);
  }
  return months;
}

}  // namespace

void GenerateFutures(const GeneratorContext& context) {
  Random random = context.Stream("futures");
  const int month_count = ScaledCount(12, context.scale, 2);
  struct MainContract {
    const Variety* variety;
    int listed, last_trade, month;
  };
  std::vector<MainContract> mains;
  for (const Variety& variety : kVarieties) {
    context.store.Table(kFuturesVarietyTable)
        .Write({std::string(variety.code), std::string(variety.exchange), std::string(variety.name),
                std::int64_t{variety.multiplier}, std::string(variety.unit), variety.tick, variety.margin});
    const bool financial = std::string(variety.exchange) == kFinancialExchange;
    const std::vector<int> months = ListedMonths(variety, financial ? std::min(month_count, 4) : month_count);
    // The main contract follows the front month of financial futures and
    // the third month of commodities, as trading usually concentrates.
    const std::size_t followed = financial ? 0 : std::min<std::size_t>(2, months.size() - 1);
    for (std::size_t m = 0; m < months.size(); ++m) {
      const int month = months[m];
      const std::string suffix = std::string(variety.exchange) == kZhengzhouExchange
                                     ? Format("%03d", month % 1000)
                                     : Format("%04d", month % 10000);
      const int delivery_first = month * 100 + 1;
      const int last_trade = NextTradingDay(delivery_first + 14);
      const int listed = NextTradingDay(AddDays(delivery_first, -static_cast<int>(random.Between(330, 380))));
      context.store.Table(kFuturesContractTable)
          .Write({std::string(variety.code) + suffix, std::string(variety.exchange),
                  std::string(variety.code), std::string(variety.name), suffix,
                  std::string(variety.name) + suffix, std::int64_t{listed}, std::int64_t{last_trade},
                  std::int64_t{month}});
      if (m == followed && IsDomestic(variety)) mains.push_back({&variety, listed, last_trade, month});
    }
  }
  for (const MainContract& main : mains) {
    const std::string code = main.variety->code;
    context.store.Table(kFuturesContractTable)
        .Write({code, std::string(kMainContracts), code, std::string(main.variety->name), std::string(),
                std::string(main.variety->name) + "主力", std::int64_t{main.listed}, std::int64_t{main.last_trade},
                std::int64_t{main.month}});
  }
}

}  // namespace orbe::sample
