// Fund, futures and bond loaders: one record per row, fields in reply order.
#include <array>

#include "dictionary/reference_loader_targets.h"

namespace orbe {
namespace {

constexpr std::array<FieldSlot, 6> kFundSlots = {{
    {offsetof(tagJJINFO, FundCode), sizeof(tagJJINFO::FundCode)},
    {offsetof(tagJJINFO, FundAbbr), sizeof(tagJJINFO::FundAbbr)},
    {offsetof(tagJJINFO, RestructureFlag), sizeof(tagJJINFO::RestructureFlag)},
    {offsetof(tagJJINFO, CategoryCode), sizeof(tagJJINFO::CategoryCode)},
    {offsetof(tagJJINFO, InvestTypeCode), sizeof(tagJJINFO::InvestTypeCode)},
    {offsetof(tagJJINFO, InvestStyleCode), sizeof(tagJJINFO::InvestStyleCode)},
}};

enum QhSet { kContracts = 0, kVarieties = 1, kExchanges = 2 };

constexpr std::array<FieldSlot, 4> kContractSlots = {{
    {offsetof(tagQHINFO, ContractCode), sizeof(tagQHINFO::ContractCode)},
    {offsetof(tagQHINFO, ExchangeCode), sizeof(tagQHINFO::ExchangeCode)},
    {offsetof(tagQHINFO, VarietyCode), sizeof(tagQHINFO::VarietyCode)},
    {offsetof(tagQHINFO, MonthSuffix), sizeof(tagQHINFO::MonthSuffix)},
}};

// Reply order: main identifier, bond code, market code (becomes the code's
// suffix, not a field), abbreviation, type name, market name, issuer.
constexpr std::size_t kBondCodeField = 1;
constexpr std::size_t kBondMarketField = 2;
constexpr std::array<FieldSlot, 7> kBondSlots = {{
    {offsetof(tagZQINFO, MainID), sizeof(tagZQINFO::MainID)},
    {offsetof(tagZQINFO, BondCode), sizeof(tagZQINFO::BondCode)},
    {0, 0},
    {offsetof(tagZQINFO, BondAbbr), sizeof(tagZQINFO::BondAbbr)},
    {offsetof(tagZQINFO, TypeName), sizeof(tagZQINFO::TypeName)},
    {offsetof(tagZQINFO, TradeMarket), sizeof(tagZQINFO::TradeMarket)},
    {offsetof(tagZQINFO, IssueOrg), sizeof(tagZQINFO::IssueOrg)},
}};

constexpr std::array<BondMarket, 5> kBondMarkets = {{
    {"012001", ".SH"},
    {"012002", ".SZ"},
    {"012004", ".IB"},
    {"012016", ".BC"},
    {"012999", ".OO"},
}};

}  // namespace

std::span<const BondMarket> BondMarkets() { return kBondMarkets; }

std::string_view BondCodeSuffix(std::string_view market) {
  for (const BondMarket& entry : kBondMarkets) {
    if (entry.code == market) return entry.suffix;
  }
  return {};
}

void JjInfoTarget::Clear() { tables_.ClearJJInfo(); }

void JjInfoTarget::Store(int /*set*/, std::span<const std::string> fields) {
  tables_.AppendJJInfo(RecordFromFields<tagJJINFO>(kFundSlots, fields));
}

void QhInfoTarget::Clear() {
  tables_.ClearQHInfo();
  contracts_.clear();
  variety_names_.clear();
  variety_any_exchange_.clear();
  exchange_names_.clear();
}

void QhInfoTarget::Store(int set, std::span<const std::string> fields) {
  if (set == kContracts) {
    contracts_.push_back(RecordFromFields<tagQHINFO>(kContractSlots, fields));
  } else if (set == kVarieties && fields.size() >= 3) {
    variety_names_.emplace(std::make_pair(fields[1], fields[0]), fields[2]);
    variety_any_exchange_.emplace(fields[0], fields[2]);
  } else if (set == kExchanges && fields.size() >= 2) {
    exchange_names_.emplace(fields[0], fields[1]);
  }
}

void QhInfoTarget::Finish() {
  for (tagQHINFO& contract : contracts_) {
    const std::string exchange = FieldText(contract.ExchangeCode);
    const std::string variety = FieldText(contract.VarietyCode);
    auto name = variety_names_.find({exchange, variety});
    if (name != variety_names_.end()) {
      CopyToField(contract.VarietyName, name->second);
    } else if (auto any = variety_any_exchange_.find(variety); any != variety_any_exchange_.end()) {
      CopyToField(contract.VarietyName, any->second);
    }
    if (auto found = exchange_names_.find(exchange); found != exchange_names_.end()) {
      CopyToField(contract.ExchangeName, found->second);
    }
    tables_.AppendQHInfo(contract);
  }
  contracts_.clear();
}

void ZqInfoTarget::Clear() { tables_.ClearZQInfo(); }

void ZqInfoTarget::Store(int /*set*/, std::span<const std::string> fields) {
  tagZQINFO bond = RecordFromFields<tagZQINFO>(kBondSlots, fields);
  if (fields.size() > kBondMarketField) {
    // A code too long for code and suffix keeps its whole code without suffix
    // rather than a cut suffix that names no market.
    const std::string code = fields[kBondCodeField] + std::string(BondCodeSuffix(fields[kBondMarketField]));
    if (code.size() < sizeof bond.BondCode) CopyToField(bond.BondCode, code);
  }
  tables_.AppendZQInfo(bond);
}

}  // namespace orbe
