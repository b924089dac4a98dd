// The constant classes of the sample market (orbe_consts), as data, and the
// codes the generators pick from them.
#pragma once

#include <vector>

#include "dictionary/dictionary_writer.h"

namespace orbe::sample {

struct CodeText {
  const char* code;
  const char* text;
};

// Class 201, security category. "8" and "13" are the fund categories.
inline constexpr const char* kCategoryAShare = "1";
inline constexpr const char* kCategoryHkShare = "3";
inline constexpr const char* kCategoryBond = "6";
inline constexpr const char* kCategoryListedFund = "8";
inline constexpr const char* kCategoryOpenFund = "13";
// Class 202, market.
inline constexpr const char* kMarketShanghai = "83";
inline constexpr const char* kMarketShenzhen = "90";
inline constexpr const char* kMarketHongKong = "72";
inline constexpr const char* kMarketInterbank = "89";
inline constexpr const char* kMarketOffExchange = "10";
// Class 203, listing state (also the Hong Kong listing states).
inline constexpr const char* kStateListed = "1";
inline constexpr const char* kStateSuspended = "2";
inline constexpr const char* kStateDelisted = "3";
// The Hong Kong classes: the boards a listing belongs to, and the industry
// tree (sectors, and industries under them) a company is classified in.
inline constexpr const char* kClassHkBoards = "208";
inline constexpr const char* kClassHkIndustries = "809";
// Class 204, board.
inline constexpr const char* kBoardMain = "1";
inline constexpr const char* kBoardSme = "2";
inline constexpr const char* kBoardGrowth = "6";
inline constexpr const char* kBoardStar = "7";

const std::vector<CodeText>& FundCategories();    // class 998
const std::vector<CodeText>& FundInvestTypes();   // class 004
const std::vector<CodeText>& FundStyles();        // class 005
const std::vector<CodeText>& BondTypes();         // class 206
const std::vector<CodeText>& BondMarkets();       // class 012
const std::vector<CodeText>& FuturesExchanges();  // class 207
const std::vector<CodeText>& HkBoards();          // kClassHkBoards
const std::vector<CodeText>& ConceptBoards();     // class 209

// Every constant, class by class, in the order the constant file lists them.
std::vector<SchemaConst> SampleConstants();

}  // namespace orbe::sample
