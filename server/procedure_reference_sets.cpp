// What each reference procedure serves: per result set, the query over the
// sample-market tables (docs/data.md) and the reply width of each column.
// Rows keep table order (rowid), since the lookups take the first match.
#include <array>
#include <cstdint>

#include "procedure_reference.h"

namespace orbe::server {
namespace {

constexpr std::int32_t kSecurities = 100000001;
constexpr std::int32_t kCompanies = 100000002;
constexpr std::int32_t kFunds = 100000040;
constexpr std::int32_t kBonds = 100000050;
constexpr std::int32_t kContracts = 100000060;
constexpr std::int32_t kVarieties = 100000061;
constexpr std::int32_t kHkStocks = 100000070;
constexpr std::int32_t kHkBoards = 100000071;

constexpr std::array<std::int32_t, 0> kNoTables = {};
constexpr std::array<const char*, 0> kNoClasses = {};
constexpr std::array<std::int32_t, 1> kSecuritiesOnly = {kSecurities};
constexpr std::array<std::int32_t, 1> kCompaniesOnly = {kCompanies};
constexpr std::array<std::int32_t, 1> kFundsOnly = {kFunds};
constexpr std::array<std::int32_t, 1> kBondsOnly = {kBonds};
constexpr std::array<std::int32_t, 1> kContractsOnly = {kContracts};
constexpr std::array<std::int32_t, 1> kVarietiesOnly = {kVarieties};
constexpr std::array<std::int32_t, 1> kHkStocksOnly = {kHkStocks};
constexpr std::array<std::int32_t, 2> kHkBoardRows = {kHkBoards, kHkStocks};
constexpr std::array<const char*, 1> kHkBoardClass = {"208"};
constexpr std::array<const char*, 1> kHkIndustryClass = {"809"};
constexpr std::array<const char*, 1> kExchangeClass = {"207"};
constexpr std::array<const char*, 2> kBondClasses = {"206", "012"};

// Main tables: the security master, then the listed companies with their
// industry codes (the loader maps each width to its record offset).
constexpr std::array<std::uint8_t, 7> kSecuMainWidths = {12, 11, 81, 13, 13, 12, 12};
constexpr std::array<std::uint8_t, 7> kListedWidths = {51, 51, 13, 13, 13, 12, 12};
constexpr std::array<ResultSetSpec, 2> kMainTableSets = {{
    {"SELECT T001, T003, T004, T005, T006, T002, T010 FROM t100000001 ORDER BY rowid LIMIT ?1 OFFSET ?2",
     kSecuMainWidths, true, kSecuritiesOnly, kNoClasses},
    {"SELECT T002, T011, T006, T012, T016, T013, T015 FROM t100000002 ORDER BY rowid LIMIT ?1 OFFSET ?2",
     kListedWidths, true, kCompaniesOnly, kNoClasses},
}};

// Hong Kong stocks: board rows, company rows (paged), board names, industry
// names, stock-to-industry pairs.
constexpr std::array<std::uint8_t, 3> kGgBoardRowWidths = {4, 8, 40};
constexpr std::array<std::uint8_t, 4> kGgCompanyWidths = {8, 40, 10, 5};
constexpr std::array<std::uint8_t, 2> kGgBoardNameWidths = {4, 40};
constexpr std::array<std::uint8_t, 2> kGgIndustryNameWidths = {8, 40};
constexpr std::array<std::uint8_t, 2> kGgStockIndustryWidths = {8, 8};
constexpr std::array<ResultSetSpec, 5> kGgSets = {{
    {"SELECT b.T001, b.T002, (SELECT s.T002 FROM t100000070 s WHERE s.T001 = b.T002 ORDER BY s.rowid LIMIT 1)"
     " FROM t100000071 b ORDER BY b.rowid",
     kGgBoardRowWidths, false, kHkBoardRows, kNoClasses},
    {"SELECT T001, T002, T003, T004 FROM t100000070 ORDER BY rowid LIMIT ?1 OFFSET ?2", kGgCompanyWidths,
     true, kHkStocksOnly, kNoClasses},
    {"SELECT code, text FROM orbe_consts WHERE class = '208' ORDER BY seq", kGgBoardNameWidths, false,
     kNoTables, kHkBoardClass},
    {"SELECT code, text FROM orbe_consts WHERE class = '809' ORDER BY seq", kGgIndustryNameWidths, false,
     kNoTables, kHkIndustryClass},
    {"SELECT T001, T005 FROM t100000070 ORDER BY rowid", kGgStockIndustryWidths, false, kHkStocksOnly,
     kNoClasses},
}};

// Funds: code, abbreviation, restructured flag, category, investment type and style.
constexpr std::array<std::uint8_t, 6> kJjWidths = {10, 40, 10, 10, 10, 10};
constexpr std::array<ResultSetSpec, 1> kJjSets = {{
    {"SELECT T002, T003, T008, T005, T006, T007 FROM t100000040 ORDER BY rowid LIMIT ?1 OFFSET ?2", kJjWidths,
     true, kFundsOnly, kNoClasses},
}};

// Futures: contracts, varieties, exchanges, contract dates, contract names.
constexpr std::array<std::uint8_t, 4> kQhContractWidths = {11, 10, 10, 10};
constexpr std::array<std::uint8_t, 3> kQhVarietyWidths = {10, 10, 40};
constexpr std::array<std::uint8_t, 2> kQhExchangeWidths = {10, 40};
constexpr std::array<std::uint8_t, 4> kQhDateWidths = {11, 8, 8, 6};
constexpr std::array<std::uint8_t, 2> kQhNameWidths = {11, 40};
constexpr std::array<ResultSetSpec, 5> kQhSets = {{
    {"SELECT T001, T002, T003, T005 FROM t100000060 ORDER BY rowid LIMIT ?1 OFFSET ?2", kQhContractWidths,
     true, kContractsOnly, kNoClasses},
    {"SELECT T001, T002, T003 FROM t100000061 ORDER BY rowid", kQhVarietyWidths, false, kVarietiesOnly,
     kNoClasses},
    {"SELECT code, text FROM orbe_consts WHERE class = '207' ORDER BY seq", kQhExchangeWidths, false,
     kNoTables, kExchangeClass},
    {"SELECT T001, T007, T008, T009 FROM t100000060 ORDER BY rowid LIMIT ?1 OFFSET ?2", kQhDateWidths, true,
     kContractsOnly, kNoClasses},
    {"SELECT T001, T006 FROM t100000060 ORDER BY rowid LIMIT ?1 OFFSET ?2", kQhNameWidths, true,
     kContractsOnly, kNoClasses},
}};

// Bonds: main identifier, code, market code (the loader turns it into the
// code suffix), abbreviation, type name, market name, issuer.
constexpr std::array<std::uint8_t, 7> kZqWidths = {12, 10, 10, 51, 40, 40, 62};
constexpr std::array<ResultSetSpec, 1> kZqSets = {{
    {"SELECT z.T001, z.T003, z.T006, z.T004,"
     " (SELECT c.text FROM orbe_consts c WHERE c.class = '206' AND c.code = z.T005 ORDER BY c.seq LIMIT 1),"
     " (SELECT c.text FROM orbe_consts c WHERE c.class = '012' AND c.code = z.T006 ORDER BY c.seq LIMIT 1),"
     " z.T007 FROM t100000050 z ORDER BY z.rowid LIMIT ?1 OFFSET ?2",
     kZqWidths, true, kBondsOnly, kBondClasses},
}};

}  // namespace

const ReferenceProcedure kMainTableProcedure{kMainTableSets};
const ReferenceProcedure kGgInfoProcedure{kGgSets};
const ReferenceProcedure kJjInfoProcedure{kJjSets};
const ReferenceProcedure kQhInfoProcedure{kQhSets};
const ReferenceProcedure kZqInfoProcedure{kZqSets};

}  // namespace orbe::server
