// Futures (exchanges in class 207): the varieties and their listed contracts.
// A contract code is the variety code followed by the month suffix, which is
// what the contract-name lookups rebuild.
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
    {"CZ", "SR", "白糖", 10, "元/吨", 1, 8},
    {"CZ", "CF", "棉花", 5, "元/吨", 5, 8},
    {"CZ", "TA", "PTA", 5, "元/吨", 2, 8},
    {"CZ", "MA", "甲醇", 10, "元/吨", 1, 9},
    {"CZ", "FG", "玻璃", 20, "元/吨", 1, 10},
    {"CZ", "AP", "苹果", 10, "元/吨", 1, 10},
    {"CZ", "SA", "纯碱", 20, "元/吨", 1, 10},
    {"CZ", "UR", "尿素", 20, "元/吨", 1, 9},
    {"QZ", "IF", "沪深300股指", 300, "指数点", 0.2, 12},
    {"QZ", "IH", "上证50股指", 300, "指数点", 0.2, 12},
    {"QZ", "IC", "中证500股指", 200, "指数点", 0.2, 14},
    {"QZ", "IM", "中证1000股指", 200, "指数点", 0.2, 15},
    {"QZ", "TF", "5年期国债", 10000, "元(净价)", 0.005, 1.2},
    {"QZ", "T", "10年期国债", 10000, "元(净价)", 0.005, 2},
    {"QN", "SC", "原油", 1000, "元/桶", 0.1, 10},
    {"QN", "LU", "低硫燃料油", 10, "元/吨", 1, 10},
    {"QN", "NR", "20号胶", 10, "元/吨", 5, 10},
    {"QN", "BC", "国际铜", 5, "元/吨", 10, 10},
};

// The contract months listed on the sample date: the next twelve months for
// commodities, the current and next month and two quarter months for index
// futures, three quarter months for bond futures.
std::vector<int> ListedMonths(const Variety& variety, int count) {
  const int first = kAsOfDate / 100 + 1;  // 202612
  std::vector<int> months;
  for (int i = 0; static_cast<int>(months.size()) < count && i < 24; ++i) {
    const int index = (first / 100) * 12 + first % 100 - 1 + i;
    const int month = (index / 12) * 100 + index % 12 + 1;
    const bool financial = std::string(variety.exchange) == "QZ";
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
  for (const Variety& variety : kVarieties) {
    context.store.Table(kFuturesVarietyTable)
        .Write({std::string(variety.code), std::string(variety.exchange), std::string(variety.name),
                std::int64_t{variety.multiplier}, std::string(variety.unit), variety.tick, variety.margin});
    const bool financial = std::string(variety.exchange) == "QZ";
    for (const int month : ListedMonths(variety, financial ? std::min(month_count, 4) : month_count)) {
      // Zhengzhou writes the year with one digit.
      const std::string suffix = std::string(variety.exchange) == "CZ" ? Format("%03d", month % 1000)
                                                                       : Format("%04d", month % 10000);
      const int delivery_first = month * 100 + 1;
      const int last_trade = NextTradingDay(delivery_first + 14);
      const int listed = NextTradingDay(AddDays(delivery_first, -static_cast<int>(random.Between(330, 380))));
      context.store.Table(kFuturesContractTable)
          .Write({std::string(variety.code) + suffix, std::string(variety.exchange),
                  std::string(variety.code), std::string(variety.name), suffix,
                  std::string(variety.name) + suffix, std::int64_t{listed}, std::int64_t{last_trade},
                  std::int64_t{month}});
    }
  }
}

}  // namespace orbe::sample
