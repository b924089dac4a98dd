// The host's market: what a trading terminal knows beside the module (quotes,
// quote boards, concept boards, the user's lists), read from the sample
// market's database and the host's own INI file, and the answers of its data
// function (docs/data.md, "The host's data function").
#ifndef ORBE_TOOLS_TERMINAL_HOST_HOST_MARKET_H_
#define ORBE_TOOLS_TERMINAL_HOST_HOST_MARKET_H_

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "host/board_set.h"
#include "orbe/host/host_records.h"
#include "host/market_data.h"
#include "host/user_lists.h"
#include "orbe/env.h"

namespace orbe {

class HostMarket {
 public:
  // The name of the custom board that "save board" requests fill.
  static constexpr const char* kSavedBoardName = "保存的板块";

  // Reads the database (read-only) and makes the user's list file in
  // `private_folder` (ending in '/') on first use. Null with *error set when
  // the database cannot be read or the list file cannot be made.
  static std::unique_ptr<HostMarket> Open(const std::string& database, const std::string& private_folder,
                                          std::string* error);
  HostMarket(const HostMarket&) = delete;
  HostMarket& operator=(const HostMarket&) = delete;

  // The data function's answer to `code`; empty when there is nothing to
  // answer (unknown code, unknown security, empty list).
  std::string Answer(int code, const HostValue7& first, const HostValue7& second) const;
  // The size a size query announces: fixed for records of one size, else the
  // answer's own.
  static int FixedAnswerSize(int code);

  int LastTradingDay() const { return data_.last_trading_day; }
  // Null for a code without quotes; `market` -1 accepts either.
  const Hq104* Quote(std::string_view code, int market = -1) const;
  // The first security of that code on the market (-1 either), or null.
  const HostSecurity* Security(std::string_view code, int market = -1) const;
  // Where a code trades: from the security master, else from its first digit.
  HostMarketNumber MarketOf(std::string_view code) const;

  std::vector<HostBoard> QuoteBoards() const;
  const std::vector<HostBoard>& ConceptBoards() const { return data_.concept_boards; }
  std::vector<HostBoard> CustomBoards() const { return lists_.CustomBoards(); }
  // List 0 the own list, 1 the holdings.
  std::vector<HostCodeListEntry> CodeList(int list) const;
  const HostUserLists& Lists() const { return lists_; }

  // Appends the codes to the custom board of the saved-board name
  // (kSavedBoardName until another is set, as a host's name prompt would).
  bool SaveBoard(const std::vector<std::string>& codes);
  // An empty name restores kSavedBoardName; GBK.
  void SetSavedBoardName(const std::string& name);

 private:
  HostMarket(MarketData data, HostUserLists lists) : data_(std::move(data)), lists_(std::move(lists)) {}
  HostUserDefaults Defaults() const;
  std::vector<std::string> AShares(bool (*keep)(const HostSecurity&)) const;

  const MarketData data_;
  const HostUserLists lists_;
  std::mutex save_mutex_;
  std::string saved_board_name_ = kSavedBoardName;
};

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_HOST_MARKET_H_
