// Reads the sample market's tables (docs/data.md): securities 100000001,
// daily quotes 100000020, financial indicators 100000013, concept members
// 100000030 and the constant classes 201-204 and 209.
#include <unordered_map>

#include "host/market_data.h"
#include "host/quote_builder.h"

namespace orbe {
namespace {

constexpr const char* kShanghai = "83";
constexpr const char* kShenzhen = "90";
// Bars kept per security: the latest and the five before it (volume ratio).
constexpr int kBarsPerSecurity = 6;

bool Fail(const SqliteReader& db, const char* what, std::string* error) {
  if (error) *error = std::string(what) + ": " + db.LastError();
  return false;
}

std::unordered_map<std::string, std::string> ConstantTexts(const SqliteReader& db,
                                                           const char* constant_class) {
  std::unordered_map<std::string, std::string> texts;
  SqliteStatement query = db.Prepare("SELECT code, text FROM orbe_consts WHERE class = ? ORDER BY seq");
  query.Bind(1, std::string_view(constant_class));
  while (query.Step()) texts.emplace(query.Text(0), query.Text(1));
  return texts;
}

std::vector<DailyBar> LatestBars(SqliteStatement& query, const std::string& inner_code) {
  std::vector<DailyBar> bars;
  query.Bind(1, inner_code);
  query.Bind(2, std::int64_t{kBarsPerSecurity});
  while (query.Step()) {
    DailyBar bar;
    bar.date = static_cast<int>(query.Int(0));
    bar.previous_close = query.Real(1);
    bar.open = query.Real(2);
    bar.high = query.Real(3);
    bar.low = query.Real(4);
    bar.close = query.Real(5);
    bar.volume = query.Int(6);
    bar.amount = query.Real(7);
    bar.turnover_percent = query.Real(8);
    bar.market_value = query.Real(9);
    bars.insert(bars.begin(), bar);  // the query runs newest first
  }
  query.Reset();
  return bars;
}

double AnnualEpsOf(SqliteStatement& query, const std::string& inner_code, int last_trading_day) {
  query.Bind(1, inner_code);
  query.Bind(2, std::int64_t{last_trading_day});
  const double eps = query.Step() ? AnnualisedEps(query.Real(1), static_cast<int>(query.Int(0))) : 0;
  query.Reset();
  return eps;
}

}  // namespace

bool LoadSecurities(const SqliteReader& db, MarketData& data, std::string* error) {
  const auto boards = ConstantTexts(db, "204");
  SqliteStatement query = db.Prepare(
      "SELECT T001, T003, T004, T005, T006, T007, T008 FROM t100000001 WHERE T006 IN (?, ?) ORDER BY rowid");
  if (!query.ok()) return Fail(db, "securities", error);
  query.Bind(1, std::string_view(kShanghai));
  query.Bind(2, std::string_view(kShenzhen));
  while (query.Step()) {
    HostSecurity security{query.Text(0),
                          query.Text(1),
                          query.Text(2),
                          query.Text(3),
                          {},
                          query.Text(6),
                          query.Text(4) == kShanghai ? kHostShanghai : kHostShenzhen};
    if (const auto board = boards.find(query.Text(5)); board != boards.end()) security.board = board->second;
    data.by_code[security.code].push_back(data.securities.size());
    data.securities.push_back(std::move(security));
  }
  return true;
}

bool LoadQuotes(const SqliteReader& db, MarketData& data, std::string* error) {
  SqliteStatement last_day = db.Prepare("SELECT MAX(T003) FROM t100000020");
  if (!last_day.Step()) return Fail(db, "daily quotes", error);
  data.last_trading_day = static_cast<int>(last_day.Int(0));
  SqliteStatement bars = db.Prepare(
      "SELECT T003, T004, T005, T006, T007, T008, T009, T010, T012, T013 FROM t100000020 "
      "WHERE T001 = ? ORDER BY T003 DESC LIMIT ?");
  SqliteStatement eps = db.Prepare(
      "SELECT T005, T006 FROM t100000013 WHERE T001 = ? AND T004 <= ? AND T006 IS NOT NULL "
      "ORDER BY T005 DESC LIMIT 1");
  if (!bars.ok() || !eps.ok()) return Fail(db, "daily quotes", error);
  for (const HostSecurity& security : data.securities) {
    const std::vector<DailyBar> latest = LatestBars(bars, security.inner_code);
    if (latest.empty()) continue;
    const double annual_eps = AnnualEpsOf(eps, security.inner_code, data.last_trading_day);
    data.quotes.emplace(
        security.code,
        HostQuote{security.market, BuildQuoteRecord(latest, data.last_trading_day, annual_eps)});
  }
  return true;
}

bool LoadConceptBoards(const SqliteReader& db, MarketData& data, std::string* error) {
  SqliteStatement boards = db.Prepare("SELECT code, text FROM orbe_consts WHERE class = '209' ORDER BY seq");
  SqliteStatement members = db.Prepare("SELECT T003 FROM t100000030 WHERE T001 = ? ORDER BY rowid");
  if (!boards.ok() || !members.ok()) return Fail(db, "concept boards", error);
  while (boards.Step()) {
    HostBoard board{boards.Text(1), {}};
    members.Bind(1, boards.Text(0));
    while (members.Step()) board.codes.push_back(members.Text(0));
    members.Reset();
    data.concept_boards.push_back(std::move(board));
  }
  return true;
}

}  // namespace orbe
