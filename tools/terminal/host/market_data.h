// What the host reads from the market database once, at start.
#ifndef ORBE_TOOLS_TERMINAL_HOST_MARKET_DATA_H_
#define ORBE_TOOLS_TERMINAL_HOST_MARKET_DATA_H_

#include <string>
#include <unordered_map>
#include <vector>

#include "host/board_set.h"
#include "orbe/host/host_records.h"
#include "host/sqlite_reader.h"

namespace orbe {

// A row of the security master 100000001 on an exchange the host serves.
struct HostSecurity {
  std::string inner_code;
  std::string code;
  std::string abbreviation;
  std::string category;  // constant class 201
  std::string board;     // text of constant class 204
  std::string state;     // constant class 203
  HostMarketNumber market = kHostShenzhen;
};

struct HostQuote {
  HostMarketNumber market = kHostShenzhen;
  Hq104 record;
};

struct MarketData {
  int last_trading_day = 0;
  std::vector<HostSecurity> securities;  // table order
  // Code to the securities with that code, in table order.
  std::unordered_map<std::string, std::vector<std::size_t>> by_code;
  std::unordered_map<std::string, HostQuote> quotes;  // by code
  std::vector<HostBoard> concept_boards;
};

// Each returns false with *error set when the database lacks what it reads.
bool LoadSecurities(const SqliteReader& db, MarketData& data, std::string* error);
bool LoadQuotes(const SqliteReader& db, MarketData& data, std::string* error);
bool LoadConceptBoards(const SqliteReader& db, MarketData& data, std::string* error);

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_MARKET_DATA_H_
