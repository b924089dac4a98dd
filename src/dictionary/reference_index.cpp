#include "dictionary/reference_index.h"

#include <array>
#include <cstring>
#include <string_view>

#include "orbe/platform/text.h"

namespace orbe {
namespace {

// emplace keeps an existing entry, so the first row for a key wins.
template <std::size_t N>
void AddFirst(FirstRowIndex& index, const char (&field)[N], std::int32_t row) {
  index.emplace(std::string(TextOf(field)), row);
}

template <std::size_t N>
void AddToList(RowListIndex& index, const char (&field)[N], std::int32_t row) {
  index[std::string(TextOf(field))].push_back(row);
}

// Visits every row with its number in stored order.
template <typename Row, typename Visit>
void ForEachRow(const std::vector<Row>& rows, Visit visit) {
  const auto count = static_cast<std::int32_t>(rows.size());
  for (std::int32_t i = 0; i < count; ++i) visit(rows[i], i);
}

}  // namespace

bool IsFundCategory(const tagSECUMAIN& row) {
  const std::string_view category = TextOf(row.SecuCategory);
  return category == "8" || category == "13";
}

bool IsMonthNamedExchange(const tagQHINFO& row) {
  static constexpr std::array<std::string_view, 4> kExchanges = {"CZ", "QS", "QD", "QZ"};
  const std::string_view exchange = TextOf(row.ExchangeCode);
  for (const std::string_view named : kExchanges) {
    if (exchange == named) return true;
  }
  return false;
}

int ListingStateRank(const tagGGINFO& row) {
  static constexpr std::array<std::string_view, 4> kPreference = {"1", "2", "3", ""};
  const std::string_view state = TextOf(row.ListedState);
  for (std::size_t rank = 0; rank < kPreference.size(); ++rank) {
    if (state == kPreference[rank]) return static_cast<int>(rank);
  }
  return -1;
}

SecuMainIndex BuildSecuMainIndex(const std::vector<tagSECUMAIN>& rows) {
  SecuMainIndex index;
  ForEachRow(rows, [&](const tagSECUMAIN& row, std::int32_t i) {
    AddFirst(index.by_company_code, row.CompanyCode, i);
    AddFirst(IsFundCategory(row) ? index.fund_by_secu_code : index.stock_by_secu_code, row.SecuCode, i);
    AddFirst(index.by_inner_code, row.InnerCode, i);
  });
  return index;
}

ListedCmpIndex BuildListedCmpIndex(const std::vector<tagLISTEDCMP>& rows) {
  ListedCmpIndex index;
  ForEachRow(rows, [&](const tagLISTEDCMP& row, std::int32_t i) {
    for (std::size_t c = 0; c < kClassifications.size(); ++c) {
      AddToList(index.by_industry[c], row.*kClassifications[c].industry, i);
    }
  });
  return index;
}

GGInfoIndex BuildGGInfoIndex(const std::vector<tagGGINFO>& rows) {
  GGInfoIndex index;
  // The best rank seen so far per company; a row replaces the choice only
  // with a strictly better rank, so each rank's first row is the one kept.
  std::unordered_map<std::string, int> best_rank;
  ForEachRow(rows, [&](const tagGGINFO& row, std::int32_t i) {
    AddFirst(index.by_company_code, row.CompanyCode, i);
    AddFirst(index.by_secu_code, row.SecuCode, i);
    AddFirst(index.by_board_id, row.BkID, i);
    AddFirst(index.by_industry_id, row.HyID, i);
    AddToList(index.rows_by_secu_code, row.SecuCode, i);
    AddToList(index.rows_by_board_id, row.BkID, i);
    AddToList(index.rows_by_industry_id, row.HyID, i);
    const int rank = ListingStateRank(row);
    if (rank < 0) return;
    const std::string company(TextOf(row.CompanyCode));
    const auto [seen, inserted] = best_rank.emplace(company, rank);
    if (inserted || rank < seen->second) {
      seen->second = rank;
      index.preferred_by_company_code[company] = i;
    }
  });
  return index;
}

JJInfoIndex BuildJJInfoIndex(const std::vector<tagJJINFO>& rows) {
  JJInfoIndex index;
  ForEachRow(rows, [&](const tagJJINFO& row, std::int32_t i) {
    AddFirst(index.by_fund_code, row.FundCode, i);
    AddToList(index.rows_by_category, row.CategoryCode, i);
    AddToList(index.rows_by_invest_type, row.InvestTypeCode, i);
    AddToList(index.rows_by_invest_style, row.InvestStyleCode, i);
    AddToList(index.rows_by_restructure_flag, row.RestructureFlag, i);
  });
  return index;
}

ZQInfoIndex BuildZQInfoIndex(const std::vector<tagZQINFO>& rows) {
  ZQInfoIndex index;
  ForEachRow(rows, [&](const tagZQINFO& row, std::int32_t i) {
    AddFirst(index.by_bond_code, row.BondCode, i);
    AddFirst(index.by_main_id, row.MainID, i);
    AddToList(index.rows_by_main_id, row.MainID, i);
    AddToList(index.rows_by_type_name, row.TypeName, i);
  });
  return index;
}

QHInfoIndex BuildQHInfoIndex(const std::vector<tagQHINFO>& rows) {
  QHInfoIndex index;
  ForEachRow(rows, [&](const tagQHINFO& row, std::int32_t i) {
    std::string month_contract(TextOf(row.VarietyCode));
    month_contract += TextOf(row.MonthSuffix);
    index.by_month_contract.emplace(month_contract, i);
    if (IsMonthNamedExchange(row)) {
      index.by_month_contract_named_exchange.emplace(std::move(month_contract), i);
    } else {
      AddFirst(index.by_variety_other_exchange, row.VarietyCode, i);
    }
  });
  return index;
}

}  // namespace orbe
