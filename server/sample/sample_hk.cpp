// Hong Kong stocks: listings with their companies and industries (class 809)
// and board memberships (class 208). A few companies were delisted under an
// old code and trade under a new one, and delisted codes belong to no board.
#include <algorithm>

#include "orbe/platform/text.h"
#include "sample/sample_calendar.h"
#include "sample/sample_constants.h"
#include "sample/sample_generators.h"
#include "sample/sample_names.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

const NameTail kHkTails[] = {{"控股", "KG"}, {"国际", "GJ"}, {"集团", "JT"}, {"科技", "KJ"}, {"发展", "FZ"}};

// Share of listed stocks on each optional board (H003 onwards).
const double kBoardShares[] = {0.10, 0.08, 0.05, 0.30, 0.30, 0.10, 0.15, 0.10};

struct Listing {
  std::string code;
  std::string abbreviation;
  std::string company_code;
  const char* state;
  IndustryLeaf leaf;
  int listed;
  std::string inner_code;
  bool growth_board;
};

void WriteListing(const GeneratorContext& context, Random& random, const Listing& listing,
                  const ChineseName& name) {
  static constexpr std::int64_t kLotSizes[] = {100, 200, 400, 500, 1000, 2000};
  context.store.Table(kHkStockTable)
      .Write({listing.code, listing.abbreviation, listing.company_code, std::string(listing.state),
              HkIndustryCodeOf(listing.leaf), std::int64_t{listing.listed}, random.Pick(kLotSizes),
              listing.inner_code});
  context.store.Table(kSecuMainTable)
      .Write({listing.inner_code, listing.company_code, listing.code, listing.abbreviation,
              std::string(kCategoryHkShare), std::string(kMarketHongKong), std::string(),
              std::string(listing.state), std::int64_t{listing.listed}, name.initials.substr(0, 11),
              DateTime(kAsOfDate, 180000)});
  if (listing.state == std::string(kStateDelisted)) return;
  const std::vector<CodeText>& boards = HkBoards();
  TableWriter& members = context.store.Table(kHkBoardMemberTable);
  members.Write(
      {std::string(boards[listing.growth_board ? 1 : 0].code), listing.code, std::int64_t{listing.listed}});
  for (std::size_t b = 0; b < std::size(kBoardShares); ++b) {
    if (!random.Chance(kBoardShares[b])) continue;
    const int joined = std::max(
        listing.listed, NextTradingDay(AddDays(kAsOfDate, -static_cast<int>(random.Between(30, 3000)))));
    members.Write({std::string(boards[b + 2].code), listing.code, std::int64_t{joined}});
  }
}

}  // namespace

void GenerateHkStocks(const GeneratorContext& context) {
  Random random = context.Stream("hk");
  NameRegistry names;
  const std::vector<IndustryLeaf> leaves = AllIndustryLeaves();
  const int count = ScaledCount(400, context.scale, 5);
  int main_code = 1;
  int growth_code = 8001;
  int listing_count = 0;
  for (int i = 0; i < count && context.store.status().ok(); ++i) {
    Listing listing;
    listing.leaf = random.Pick(leaves);
    ChineseName name;
    do {
      const ChineseName head = RandomHead(random);
      const NameTail& tail =
          random.Chance(0.5) ? random.Pick(kHkTails) : random.Pick(NameTailsOf(listing.leaf));
      name = {head.text + tail.text, head.initials + tail.initials};
    } while (!names.Claim(name.text));
    listing.abbreviation = name.text;
    listing.company_code = Format("%d", 70000001 + i);
    listing.growth_board = random.Chance(0.1);
    const double roll = random.Uniform();
    listing.state = roll < 0.90 ? kStateListed : roll < 0.94 ? kStateSuspended : kStateDelisted;
    listing.listed = NextTradingDay(
        DateFromDays(static_cast<int>(random.Between(DaysFromDate(19860102), DaysFromDate(20261030)))));
    if (listing.state == std::string(kStateListed) && random.Chance(0.03)) {
      // The company's earlier, delisted listing comes first, as a state-3 row.
      Listing old = listing;
      old.state = kStateDelisted;
      old.code = Format("%05d", main_code++);
      old.inner_code = Format("%d", 4000001 + listing_count++);
      WriteListing(context, random, old, name);
    }
    int& serial = listing.growth_board ? growth_code : main_code;
    listing.code = Format("%05d", serial);
    serial += static_cast<int>(random.Between(1, listing.growth_board ? 3 : 20));
    listing.inner_code = Format("%d", 4000001 + listing_count++);
    WriteListing(context, random, listing, name);
  }
}

}  // namespace orbe::sample
