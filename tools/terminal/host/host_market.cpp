#include "host/host_market.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "orbe/platform/text.h"

namespace orbe {
namespace {

constexpr const char* kAShareCategory = "1";
constexpr const char* kDelistedState = "3";
constexpr std::size_t kConditionBoardSize = 5;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool IsShanghai(const HostSecurity& s) { return s.market == kHostShanghai; }
bool IsShenzhen(const HostSecurity& s) { return s.market == kHostShenzhen; }
bool IsSmallMedium(const HostSecurity& s) { return StartsWith(s.code, "002"); }
bool IsGrowth(const HostSecurity& s) { return StartsWith(s.code, "300") || StartsWith(s.code, "301"); }

std::string LoginOfProcess() {
  if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
    return entry->pw_name;
  }
  return "orbe";
}

std::vector<std::string> FirstOf(const std::vector<std::string>& codes, std::size_t n) {
  return {codes.begin(), codes.begin() + static_cast<std::ptrdiff_t>(std::min(n, codes.size()))};
}

}  // namespace

std::unique_ptr<HostMarket> HostMarket::Open(const std::string& database, const std::string& private_folder,
                                             std::string* error) {
  const std::unique_ptr<SqliteReader> db = SqliteReader::Open(database, error);
  if (!db) return nullptr;
  MarketData data;
  if (!LoadSecurities(*db, data, error) || !LoadQuotes(*db, data, error) ||
      !LoadConceptBoards(*db, data, error)) {
    return nullptr;
  }
  std::unique_ptr<HostMarket> market(
      new HostMarket(std::move(data), HostUserLists(private_folder + HostUserLists::kFileName)));
  if (!market->lists_.CreateIfMissing(market->Defaults())) {
    if (error) *error = "cannot write " + market->lists_.path();
    return nullptr;
  }
  return market;
}

const Hq104* HostMarket::Quote(std::string_view code, int market) const {
  const auto found = data_.quotes.find(std::string(code));
  if (found == data_.quotes.end() || (market >= 0 && found->second.market != market)) return nullptr;
  return &found->second.record;
}

const HostSecurity* HostMarket::Security(std::string_view code, int market) const {
  const auto found = data_.by_code.find(std::string(code));
  if (found == data_.by_code.end()) return nullptr;
  for (const std::size_t index : found->second) {
    const HostSecurity& security = data_.securities[index];
    if (market < 0 || security.market == market) return &security;
  }
  return nullptr;
}

HostMarketNumber HostMarket::MarketOf(std::string_view code) const {
  if (const HostSecurity* security = Security(code)) return security->market;
  // Shanghai numbers its stocks, funds and B shares from 6, 5 and 9.
  return !code.empty() && (code[0] == '6' || code[0] == '5' || code[0] == '9') ? kHostShanghai
                                                                               : kHostShenzhen;
}

std::vector<std::string> HostMarket::AShares(bool (*keep)(const HostSecurity&)) const {
  std::vector<std::string> codes;
  for (const HostSecurity& security : data_.securities) {
    if (security.category == kAShareCategory && security.state != kDelistedState && keep(security)) {
      codes.push_back(security.code);
    }
  }
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}

std::vector<HostBoard> HostMarket::QuoteBoards() const {
  return {{"上证Ａ股", AShares(IsShanghai)},    {"深证Ａ股", AShares(IsShenzhen)},
          {"中小企业", AShares(IsSmallMedium)}, {"创业板", AShares(IsGrowth)},
          {"自选股", lists_.OwnList()},         {"条件股", lists_.ConditionBoard()}};
}

std::vector<HostCodeListEntry> HostMarket::CodeList(int list) const {
  const std::vector<std::string> codes = list == 0   ? lists_.OwnList()
                                         : list == 1 ? lists_.Holdings()
                                                     : std::vector<std::string>{};
  std::vector<HostCodeListEntry> entries;
  for (const std::string& code : FirstOf(codes, kMaxCodeListEntries)) {
    HostCodeListEntry entry;
    std::memset(&entry, 0, sizeof entry);
    entry.market = MarketOf(code);
    CopyToField(entry.code, code);
    entries.push_back(entry);
  }
  return entries;
}

bool HostMarket::SaveBoard(const std::vector<std::string>& codes) {
  const std::lock_guard<std::mutex> hold(save_mutex_);
  return lists_.AppendToCustomBoard(saved_board_name_, codes);
}

void HostMarket::SetSavedBoardName(const std::string& name) {
  const std::lock_guard<std::mutex> hold(save_mutex_);
  saved_board_name_ = name.empty() ? kSavedBoardName : name;
}

// A few codes of the market itself, so every list has real securities.
HostUserDefaults HostMarket::Defaults() const {
  const std::vector<std::string> shanghai = AShares(IsShanghai);
  const std::vector<std::string> shenzhen = AShares(IsShenzhen);
  HostUserDefaults defaults;
  defaults.own_list = FirstOf(shanghai, 2);
  for (const std::string& code : FirstOf(shenzhen, 2)) defaults.own_list.push_back(code);
  defaults.holdings = FirstOf(shanghai, 1);
  for (const std::string& code : FirstOf(shenzhen, 1)) defaults.holdings.push_back(code);
  // The condition board starts as the day's strongest risers.
  std::vector<std::pair<float, std::string>> risers;
  for (const auto& [code, quote] : data_.quotes) {
    if (quote.record.state == 0) risers.emplace_back(-quote.record.change_percent, code);
  }
  std::sort(risers.begin(), risers.end());
  for (std::size_t i = 0; i < std::min(kConditionBoardSize, risers.size()); ++i) {
    defaults.condition_board.push_back(risers[i].second);
  }
  defaults.custom_boards.push_back({"我的关注", FirstOf(AShares(IsGrowth), 3)});
  defaults.login_name = LoginOfProcess();
  return defaults;
}

}  // namespace orbe
