// The A-share list: codes as the exchanges number them, one company each,
// written to the security master and the listed-company table.
#include "orbe/platform/text.h"
#include "sample/sample_calendar.h"
#include "sample/sample_constants.h"
#include "sample/sample_generators.h"
#include "sample/sample_names.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

struct CodeRange {
  int first;  // first code number of the range
  int last;   // codes never leave the range's three-digit prefix
  int full_count;
  const char* market;
  const char* board;
  int first_year;  // listing years
  int last_year;
};

const CodeRange kCodeRanges[] = {
    {600000, 600999, 700, kMarketShanghai, kBoardMain, 1991, 2005},
    {601000, 601999, 200, kMarketShanghai, kBoardMain, 2006, 2016},
    {603000, 603999, 450, kMarketShanghai, kBoardMain, 2011, 2021},
    {605000, 605999, 80, kMarketShanghai, kBoardMain, 2020, 2022},
    {688001, 688999, 450, kMarketShanghai, kBoardStar, 2019, 2025},
    {1, 999, 450, kMarketShenzhen, kBoardMain, 1991, 2001},
    {1200, 1999, 50, kMarketShenzhen, kBoardMain, 2017, 2025},
    {2001, 2999, 800, kMarketShenzhen, kBoardSme, 2004, 2021},
    {3000, 3999, 40, kMarketShenzhen, kBoardMain, 2020, 2021},
    {300001, 300999, 700, kMarketShenzhen, kBoardGrowth, 2009, 2020},
    {301001, 301999, 80, kMarketShenzhen, kBoardGrowth, 2020, 2025},
};

const NameTail kGenericTails[] = {{"股份", "GF"}, {"科技", "KJ"}, {"集团", "JT"},
                                  {"实业", "SY"}, {"控股", "KG"}, {"发展", "FZ"}};

constexpr int kLastListingDate = 20261030;

IndustryLeaf PickLeaf(Random& random, const std::vector<IndustryLeaf>& leaves) {
  // Financial firms are fewer than a uniform draw over sectors would make them.
  for (;;) {
    const IndustryLeaf& leaf = random.Pick(leaves);
    if (!IsFinancial(leaf) || random.Chance(0.3)) return leaf;
  }
}

NameTail PickTail(Random& random, const IndustryLeaf& leaf) {
  const std::vector<NameTail>& tails = NameTailsOf(leaf);
  if (IsFinancial(leaf) || random.Chance(0.6)) return random.Pick(tails);
  return random.Pick(kGenericTails);
}

int RandomDate(Random& random, int first_year, int last_year) {
  const int first = DaysFromDate(first_year * 10000 + 101);
  const int last = DaysFromDate(last_year * 10000 + 1231);
  const int date = NextTradingDay(DateFromDays(static_cast<int>(random.Between(first, last))));
  return date < kLastListingDate ? date : NextTradingDay(kLastListingDate);
}

Stock MakeStock(Random& random, NameRegistry& names, const std::vector<IndustryLeaf>& leaves,
                const CodeRange& range, int code_number, int index) {
  Stock stock;
  stock.inner_code = Format("%d", 1000001 + index);
  stock.company_code = Format("%d", 80000001 + index);
  stock.code = Format("%06d", code_number);
  stock.market = range.market;
  stock.board = range.board;
  stock.leaf = PickLeaf(random, leaves);
  ChineseName head;
  NameTail tail{};
  do {
    head = RandomHead(random);
    tail = PickTail(random, stock.leaf);
  } while (!names.Claim(head.text + tail.text));
  stock.head = head.text;
  stock.special_treatment = stock.board != kBoardStar && random.Chance(0.02);
  const char* st_prefix = random.Chance(0.5) ? "*ST" : "ST";
  stock.abbreviation = (stock.special_treatment ? st_prefix : "") + head.text + tail.text;
  stock.initials = (stock.special_treatment ? st_prefix : "") + head.initials + tail.initials;
  stock.province =
      static_cast<std::size_t>(random.Between(0, static_cast<std::int64_t>(Provinces().size()) - 1));
  stock.full_name = std::string(Provinces()[stock.province].name) + head.text + tail.text + "股份有限公司";
  stock.listing_date = RandomDate(random, range.first_year, range.last_year);
  const bool large = IsFinancial(stock.leaf) || range.board == kBoardMain;
  stock.total_shares =
      static_cast<std::int64_t>(random.Magnitude(large ? 8 : 7, large ? 9 : 8)) / 1000 * 1000;
  stock.float_ratio = stock.listing_date > 20240101 ? random.Uniform(0.1, 0.3) : random.Uniform(0.5, 1.0);
  stock.revenue_per_share = IsFinancial(stock.leaf) ? random.Uniform(0.5, 3.0) : random.Uniform(0.3, 8.0);
  stock.first_price = random.Uniform(3.0, 15.0) * (random.Chance(0.3) ? random.Uniform(1.0, 5.0) : 1.0);
  return stock;
}

void WriteStock(const GeneratorContext& context, Random& random, const Stock& stock) {
  const std::int64_t updated = DateTime(kAsOfDate, 180000);
  context.store.Table(kSecuMainTable)
      .Write({stock.inner_code, stock.company_code, stock.code, stock.abbreviation,
              std::string(kCategoryAShare), std::string(stock.market), std::string(stock.board),
              std::string(kStateListed), std::int64_t{stock.listing_date}, stock.initials, updated});
  const Province& province = Provinces()[stock.province];
  const int founded = AddDays(stock.listing_date, -static_cast<int>(random.Between(3 * 365, 20 * 365)));
  const std::string sub_industry = SubIndustryName(stock.leaf);
  Row company = {stock.company_code,
                 stock.code,
                 stock.inner_code,
                 stock.abbreviation,
                 stock.full_name,
                 std::string(province.code),
                 std::int64_t{founded},
                 static_cast<double>(stock.total_shares) / 10000.0,
                 random.Between(150, 60000),
                 std::int64_t{stock.special_treatment ? 1 : 0}};
  for (const char* classification : kIndustryClasses)
    company.emplace_back(IndustryCodeOf(classification, stock.leaf));
  company.emplace_back("公司主要从事" + sub_industry + "相关产品的研发、生产和销售，注册地位于" +
                       province.name + "。");
  company.emplace_back("主营业务：" + IndustryName(stock.leaf) + "，其中以" + sub_industry +
                       "为主，兼营相关技术服务。");
  company.emplace_back(updated);
  context.store.Table(kListedCompanyTable).Write(company);
}

}  // namespace

std::vector<Stock> GenerateStocks(const GeneratorContext& context) {
  Random random = context.Stream("stocks");
  NameRegistry names;
  const std::vector<IndustryLeaf> leaves = AllIndustryLeaves();
  std::vector<Stock> stocks;
  for (const CodeRange& range : kCodeRanges) {
    const int count = ScaledCount(range.full_count, context.scale, 1);
    int code_number = range.first;
    for (int i = 0; i < count && code_number <= range.last; ++i) {
      stocks.emplace_back(
          MakeStock(random, names, leaves, range, code_number, static_cast<int>(stocks.size())));
      code_number += random.Chance(0.2) ? 2 : 1;  // numbers of delisted or withdrawn issues stay unused
    }
  }
  for (const Stock& stock : stocks) WriteStock(context, random, stock);
  return stocks;
}

}  // namespace orbe::sample
