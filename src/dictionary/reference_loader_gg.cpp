#include <array>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "dictionary/reference_loader_targets.h"

namespace orbe {
namespace {

enum GgSet { kBoardRows = 0, kCompanies = 1, kBoardNames = 2, kIndustryNames = 3, kStockIndustries = 4 };

constexpr std::array<FieldSlot, 3> kBoardRowSlots = {{
    {offsetof(tagGGINFO, BkID), sizeof(tagGGINFO::BkID)},
    {offsetof(tagGGINFO, SecuCode), sizeof(tagGGINFO::SecuCode)},
    {offsetof(tagGGINFO, SecuAbbr), sizeof(tagGGINFO::SecuAbbr)},
}};

constexpr std::array<FieldSlot, 4> kCompanySlots = {{
    {offsetof(tagGGINFO, SecuCode), sizeof(tagGGINFO::SecuCode)},
    {offsetof(tagGGINFO, SecuAbbr), sizeof(tagGGINFO::SecuAbbr)},
    {offsetof(tagGGINFO, CompanyCode), sizeof(tagGGINFO::CompanyCode)},
    {offsetof(tagGGINFO, ListedState), sizeof(tagGGINFO::ListedState)},
}};

// The first value of a key stays.
void Keep(std::map<std::string, std::string>& map, std::span<const std::string> fields) {
  if (fields.size() >= 2) map.emplace(fields[0], fields[1]);
}

const std::string* Find(const std::map<std::string, std::string>& map, const std::string& key) {
  const auto found = map.find(key);
  return found != map.end() ? &found->second : nullptr;
}

}  // namespace

void GgInfoTarget::Clear() {
  tables_.ClearGGInfo();
  companies_.clear();
  board_names_.clear();
  industry_names_.clear();
  stock_industries_.clear();
}

void GgInfoTarget::Store(int set, std::span<const std::string> fields) {
  switch (set) {
    case kBoardRows:
      tables_.AppendGGInfo(RecordFromFields<tagGGINFO>(kBoardRowSlots, fields));
      break;
    case kCompanies:
      companies_.push_back(RecordFromFields<tagGGINFO>(kCompanySlots, fields));
      break;
    case kBoardNames:
      Keep(board_names_, fields);
      break;
    case kIndustryNames:
      Keep(industry_names_, fields);
      break;
    case kStockIndustries:
      Keep(stock_industries_, fields);
      break;
    default:
      break;
  }
}

void GgInfoTarget::Finish() {
  // First company row per security code, as a scan in table order finds it.
  std::unordered_map<std::string, const tagGGINFO*> first_company;
  for (const tagGGINFO& company : companies_) first_company.emplace(FieldText(company.SecuCode), &company);

  std::vector<tagGGINFO>& rows = tables_.MutableGGInfo();
  std::unordered_set<std::string> matched;
  for (tagGGINFO& row : rows) {
    const std::string code = FieldText(row.SecuCode);
    const auto company = first_company.find(code);
    if (company == first_company.end()) continue;
    std::memcpy(row.CompanyCode, company->second->CompanyCode, sizeof row.CompanyCode);
    matched.insert(code);
  }
  // A stock on no board still gets one row.
  for (const tagGGINFO& company : companies_) {
    if (matched.count(FieldText(company.SecuCode)) == 0) rows.push_back(company);
  }
  for (tagGGINFO& row : rows) {
    const std::string code = FieldText(row.SecuCode);
    if (const std::string* board = Find(board_names_, FieldText(row.BkID))) CopyToField(row.BkName, *board);
    if (const std::string* industry = Find(stock_industries_, code)) {
      CopyToField(row.HyID, *industry);
      if (const std::string* name = Find(industry_names_, *industry)) CopyToField(row.HyName, *name);
    }
    const auto company = first_company.find(code);
    if (company != first_company.end()) {
      std::memcpy(row.ListedState, company->second->ListedState, sizeof row.ListedState);
    }
  }
  companies_.clear();
}

}  // namespace orbe
