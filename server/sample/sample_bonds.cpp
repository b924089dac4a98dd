// Bonds (types 206, markets 012): one issue may trade in several markets
// under several codes that share the issue's main identifier.
#include <algorithm>
#include <map>

#include "orbe/platform/text.h"
#include "sample/sample_calendar.h"
#include "sample/sample_constants.h"
#include "sample/sample_generators.h"
#include "sample/sample_names.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

enum BondMarket { kSh, kSz, kInterbank, kCounter, kMarketCount };

const char* const kMarketCodes[kMarketCount] = {"012001", "012002", "012004", "012016"};
const char* const kSecuMarkets[kMarketCount] = {kMarketShanghai, kMarketShenzhen, kMarketInterbank,
                                                kMarketOffExchange};

struct BondKind {
  const char* type;
  int full_count;
  double coupon_low, coupon_high;
  std::vector<int> terms;  // years
};

const BondKind kKinds[] = {
    {"206001", 120, 1.5, 3.2, {1, 2, 3, 5, 7, 10, 30}},
    {"206002", 250, 1.8, 3.5, {3, 5, 7, 10, 15, 20}},
    {"206003", 120, 1.9, 3.8, {3, 5, 10}},
    {"206004", 150, 2.5, 6.5, {5, 7, 10}},
    {"206005", 200, 2.0, 5.5, {3, 5}},
    {"206006", 150, 0.3, 2.0, {6}},
    {"206007", 100, 1.6, 3.0, {1}},
    {"206008", 110, 2.0, 4.5, {3, 5}},
};

// Exchange code prefixes by bond type (type digit 1..8); "" where the type
// does not trade on that exchange.
const char* const kShanghaiPrefixes[] = {"", "019", "186", "", "184", "185", "113", "", ""};
const char* const kShenzhenPrefixes[] = {"", "101", "104", "", "111", "149", "123", "", ""};

// A code per market, numbered per type and market so codes never collide
// within a market: exchange codes are a prefix and a three-digit serial,
// interbank codes year, type and serial, counter codes "SB", year and serial.
class BondCodes {
 public:
  std::string Next(int type_digit, BondMarket market, int year) {
    const int serial = ++serials_[type_digit * kMarketCount + market];
    switch (market) {
      case kSh: return Format("%s%03d", kShanghaiPrefixes[type_digit], serial);
      case kSz: return Format("%s%03d", kShenzhenPrefixes[type_digit], serial);
      case kInterbank: return Format("%02d%02d%03d", year % 100, type_digit, serial);
      default: return Format("SB%02d%02d", year % 100, serial % 100);
    }
  }

 private:
  std::map<int, int> serials_;
};

// The same day some years later; 29 February falls back to the 28th.
int YearsLater(int yyyymmdd, int years) {
  const int date = yyyymmdd + years * 10000;
  return IsValidDate(date) ? date : date - 1;
}

std::vector<BondMarket> MarketsOf(Random& random, int type_digit, const Stock* issuer) {
  switch (type_digit) {
    case 1:
      return random.Chance(0.1) ? std::vector<BondMarket>{kCounter}
                                : std::vector<BondMarket>{kSh, kSz, kInterbank};
    case 2: return {kSh, kSz, kInterbank};
    case 3:
    case 7:
    case 8: return {kInterbank};
    case 4: return {kInterbank, kSh};
    default: return {issuer != nullptr && issuer->market == std::string(kMarketShenzhen) ? kSz : kSh};
  }
}

std::string GovernmentOf(const Province& province) {
  const std::string name = province.name;
  if (name == "北京" || name == "天津" || name == "上海" || name == "重庆") return name + "市人民政府";
  if (name == "内蒙古" || name == "广西" || name == "西藏" || name == "宁夏" || name == "新疆") {
    return name + "自治区人民政府";
  }
  return name + "省人民政府";
}

struct Issue {
  std::string main_id;
  std::string abbreviation;
  std::string issuer;
  std::string company_code;
  std::string stock_code;
};

Issue NameIssue(Random& random, NameRegistry& names, int type_digit, int year, const Stock& issuer,
                int serial) {
  Issue issue;
  const int yy = year % 100;
  const Province& province = random.Pick(Provinces());
  const ChineseName head = RandomHead(random);
  switch (type_digit) {
    case 1:
      issue.abbreviation = Format("%02d", yy) + "国债" + Format("%02d", serial % 100);
      issue.issuer = "中华人民共和国财政部";
      break;
    case 2:
      issue.abbreviation = Format("%02d", yy) + province.abbreviation + "债" + Format("%02d", serial % 100);
      issue.issuer = GovernmentOf(province);
      break;
    case 4:
    case 7:
      issue.abbreviation = Format("%02d", yy) + head.text + (type_digit == 4 ? "债01" : "SCP001");
      issue.issuer = std::string(province.name) + head.text + "投资集团有限公司";
      break;
    case 6:
      issue.abbreviation = issuer.head + "转债";
      issue.stock_code = issuer.code;
      break;
    default:
      issue.abbreviation = Format("%02d", yy) + issuer.head + (type_digit == 8 ? "MTN001" : "01");
      break;
  }
  if (issue.issuer.empty()) {
    issue.issuer = issuer.full_name;
    issue.company_code = issuer.company_code;
  }
  // Second and later issues of one name count up, as exchanges name them.
  const std::string base = issue.abbreviation;
  for (int n = 2; !names.Claim(issue.abbreviation); ++n) issue.abbreviation = base + Format("%d", n);
  return issue;
}

const Stock& PickIssuer(Random& random, const std::vector<Stock>& stocks, int type_digit) {
  for (;;) {
    const Stock& stock = random.Pick(stocks);
    if ((type_digit == 3) == IsFinancial(stock.leaf) || random.Chance(0.05)) return stock;
  }
}

}  // namespace

void GenerateBonds(const GeneratorContext& context, const std::vector<Stock>& stocks) {
  Random random = context.Stream("bonds");
  NameRegistry names;
  BondCodes codes;
  int issue_count = 0;
  int listing_count = 0;
  const std::int64_t updated = DateTime(kAsOfDate, 180000);
  for (const BondKind& kind : kKinds) {
    const int type_digit = std::string(kind.type).back() - '0';
    const int count = ScaledCount(kind.full_count, context.scale, 2);
    for (int i = 0; i < count && context.store.status().ok(); ++i) {
      const Stock& issuer_stock = PickIssuer(random, stocks, type_digit);
      const int issued = NextTradingDay(
          DateFromDays(static_cast<int>(random.Between(DaysFromDate(20160104), DaysFromDate(20261030)))));
      const int year = issued / 10000;
      Issue issue = NameIssue(random, names, type_digit, year, issuer_stock, i + 1);
      issue.main_id = Format("%d", 30000001 + issue_count++);
      const int term = random.Pick(kind.terms);
      const double coupon = Round4(random.Uniform(kind.coupon_low, kind.coupon_high));
      const double size = Round2(type_digit <= 2 ? random.Uniform(50, 1500) : random.Uniform(2, 80));
      for (const BondMarket market : MarketsOf(random, type_digit, &issuer_stock)) {
        const std::string inner_code = Format("%d", 3000001 + listing_count++);
        const std::string code = codes.Next(type_digit, market, year);
        const int listed = NextTradingDay(AddDays(issued, static_cast<int>(random.Between(3, 20))));
        context.store.Table(kBondTable)
            .Write({issue.main_id, inner_code, code, issue.abbreviation, std::string(kind.type),
                    std::string(kMarketCodes[market]), issue.issuer, std::int64_t{issued},
                    std::int64_t{YearsLater(issued, term)}, coupon, size, static_cast<double>(term),
                    issue.stock_code});
        context.store.Table(kSecuMainTable)
            .Write({inner_code, issue.company_code, code, issue.abbreviation, std::string(kCategoryBond),
                    std::string(kSecuMarkets[market]), std::string(), std::string(kStateListed),
                    std::int64_t{listed}, std::string(), updated});
      }
    }
  }
}

}  // namespace orbe::sample
