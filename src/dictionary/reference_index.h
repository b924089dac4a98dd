// Hash indexes over a session's reference tables. Each maps the text of one
// field (read up to its NUL, never past the field) to the first row holding
// it, or to all such rows in stored order, so that a lookup answers what a
// scan of the rows in stored order would.
#ifndef ORBE_SRC_DICTIONARY_REFERENCE_INDEX_H_
#define ORBE_SRC_DICTIONARY_REFERENCE_INDEX_H_

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "orbe/dictionary/reference_records.h"

namespace orbe {

// The text of a record field up to its NUL, never past the field.
template <std::size_t N>
std::string_view TextOf(const char (&field)[N]) {
  return std::string_view(field, strnlen(field, N));
}

using FirstRowIndex = std::unordered_map<std::string, std::int32_t>;
using RowListIndex = std::unordered_map<std::string, std::vector<std::int32_t>>;

// How an industry's companies include those of its sub-industries: by
// codes that contain the industry's code, by the industry tree of the
// constant file, or not at all.
enum class SubIndustryRule { kExact, kSubstring, kDescendants };

// An industry classification: its number (also its constant class), the
// field of the listed-company record holding a company's industry in it, and
// its sub-industry rule.
struct Classification {
  int number;
  char (tagLISTEDCMP::*industry)[13];
  SubIndustryRule sub_industries;
};
inline constexpr std::array<Classification, 6> kClassifications = {{
    {974, &tagLISTEDCMP::Industry974, SubIndustryRule::kExact},
    {997, &tagLISTEDCMP::Industry997, SubIndustryRule::kSubstring},
    {996, &tagLISTEDCMP::Industry996, SubIndustryRule::kSubstring},
    {994, &tagLISTEDCMP::Industry994, SubIndustryRule::kSubstring},
    {966, &tagLISTEDCMP::Industry966, SubIndustryRule::kDescendants},
    {964, &tagLISTEDCMP::Industry964, SubIndustryRule::kSubstring},
}};

struct SecuMainIndex {
  FirstRowIndex by_company_code;
  FirstRowIndex stock_by_secu_code;  // rows outside the fund categories
  FirstRowIndex fund_by_secu_code;   // rows of the fund categories
  FirstRowIndex by_inner_code;
};

struct ListedCmpIndex {
  // Per classification, in the order of kClassifications: industry code ->
  // company rows.
  std::array<RowListIndex, kClassifications.size()> by_industry;
};

struct GGInfoIndex {
  // Company code -> the row its listing state prefers (see BuildGGInfoIndex).
  FirstRowIndex preferred_by_company_code;
  FirstRowIndex by_company_code;
  FirstRowIndex by_secu_code;
  FirstRowIndex by_board_id;
  FirstRowIndex by_industry_id;
  RowListIndex rows_by_secu_code;
  RowListIndex rows_by_board_id;
  RowListIndex rows_by_industry_id;
};

struct JJInfoIndex {
  FirstRowIndex by_fund_code;
  RowListIndex rows_by_category;
  RowListIndex rows_by_invest_type;
  RowListIndex rows_by_invest_style;
  RowListIndex rows_by_restructure_flag;
};

struct ZQInfoIndex {
  FirstRowIndex by_bond_code;
  FirstRowIndex by_main_id;
  RowListIndex rows_by_main_id;
  RowListIndex rows_by_type_name;
};

struct QHInfoIndex {
  // Variety code followed by month suffix, over every row / over the rows
  // of the four exchanges named by a month suffix.
  FirstRowIndex by_month_contract;
  FirstRowIndex by_month_contract_named_exchange;
  // Variety code alone, over the rows of every other exchange.
  FirstRowIndex by_variety_other_exchange;
};

struct ReferenceIndex {
  SecuMainIndex secu_main;
  ListedCmpIndex listed_cmp;
  GGInfoIndex gg_info;
  JJInfoIndex jj_info;
  ZQInfoIndex zq_info;
  QHInfoIndex qh_info;
};

SecuMainIndex BuildSecuMainIndex(const std::vector<tagSECUMAIN>& rows);
ListedCmpIndex BuildListedCmpIndex(const std::vector<tagLISTEDCMP>& rows);
GGInfoIndex BuildGGInfoIndex(const std::vector<tagGGINFO>& rows);
JJInfoIndex BuildJJInfoIndex(const std::vector<tagJJINFO>& rows);
ZQInfoIndex BuildZQInfoIndex(const std::vector<tagZQINFO>& rows);
QHInfoIndex BuildQHInfoIndex(const std::vector<tagQHINFO>& rows);

// The category codes "8" and "13" mark funds in the security master.
bool IsFundCategory(const tagSECUMAIN& row);
// Whether a futures row's exchange is one of "CZ", "QS", "QD", "QZ", whose
// contracts are named by variety and month suffix.
bool IsMonthNamedExchange(const tagQHINFO& row);
// The rank of a Hong Kong listing state in the preference "1", "2", "3",
// empty; -1 for a state that is never preferred.
int ListingStateRank(const tagGGINFO& row);

}  // namespace orbe

#endif  // ORBE_SRC_DICTIONARY_REFERENCE_INDEX_H_
