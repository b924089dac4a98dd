// Concept boards (class 209): each lists a sample of the A-shares; the ETF
// board lists the exchange-traded funds.
#include <algorithm>

#include "sample/sample_calendar.h"
#include "sample/sample_constants.h"
#include "sample/sample_generators.h"
#include "sample/sample_schema.h"

namespace orbe::sample {
namespace {

struct Member {
  std::string inner_code;
  std::string code;
  std::string abbreviation;
};

void WriteBoard(const GeneratorContext& context, Random& random, const char* board, std::vector<Member> pool,
                int count) {
  // A partial shuffle picks distinct members; writing them in pool order keeps boards readable.
  count = std::min<int>(count, static_cast<int>(pool.size()));
  for (int i = 0; i < count; ++i) {
    std::swap(pool[static_cast<std::size_t>(i)],
              pool[static_cast<std::size_t>(random.Between(i, static_cast<std::int64_t>(pool.size()) - 1))]);
  }
  pool.resize(static_cast<std::size_t>(count));
  std::sort(pool.begin(), pool.end(), [](const Member& a, const Member& b) { return a.code < b.code; });
  for (const Member& member : pool) {
    const int joined = NextTradingDay(AddDays(kAsOfDate, -static_cast<int>(random.Between(30, 5 * 365))));
    context.store.Table(kConceptMemberTable)
        .Write(
            {std::string(board), member.inner_code, member.code, member.abbreviation, std::int64_t{joined}});
  }
}

}  // namespace

void GenerateConcepts(const GeneratorContext& context, const std::vector<Stock>& stocks,
                      const std::vector<Fund>& funds) {
  Random random = context.Stream("concepts");
  std::vector<Member> shares;
  for (const Stock& stock : stocks) shares.push_back({stock.inner_code, stock.code, stock.abbreviation});
  std::vector<Member> etfs;
  for (const Fund& fund : funds) {
    if (fund.listed) etfs.push_back({fund.inner_code, fund.code, fund.abbreviation});
  }
  for (const CodeText& board : ConceptBoards()) {
    const bool etf_board = std::string(board.text) == "ETF基金";
    const int count = ScaledCount(static_cast<int>(random.Between(15, 150)), context.scale, 3);
    WriteBoard(context, random, board.code, etf_board ? etfs : shares, count);
  }
}

}  // namespace orbe::sample
