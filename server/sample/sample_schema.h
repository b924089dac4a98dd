// The dictionary of the sample market: its tables and their fields, as data.
#pragma once

#include <cstdint>
#include <vector>

#include "dictionary/dictionary_writer.h"

namespace orbe::sample {

// Field type codes of the dictionary.
enum FieldType : std::uint8_t {
  kCodeText = 1,  // constant codes, shown through the field's constant class
  kText = 2,
  kInt16 = 3,
  kInt32 = 4,
  kInt64 = 5,
  kByte = 6,
  kFloat = 7,
  kDouble = 8,
  kDate = 9,       // yyyymmdd
  kDateTime = 10,  // date * 1000000 + hhmmss
  kMemo = 11,      // variable-length text
  kLongMemo = 12,
};

enum TableNumber : std::uint32_t {
  kSecuMainTable = 100000001,
  kListedCompanyTable = 100000002,
  kBalanceSheetTable = 100000010,
  kIncomeStatementTable = 100000011,
  kCashFlowTable = 100000012,
  kFinancialIndicatorTable = 100000013,
  kDailyQuoteTable = 100000020,
  kTradingCalendarTable = 100000021,
  kConceptMemberTable = 100000030,
  kFundTable = 100000040,
  kFundNavTable = 100000041,
  kBondTable = 100000050,
  kFuturesContractTable = 100000060,
  kFuturesVarietyTable = 100000061,
  kHkStockTable = 100000070,
  kHkBoardMemberTable = 100000071,
};

// The width a value of a fixed-size type takes in a reply record; 0 for the
// text types, whose width the field states.
std::uint16_t FixedWidthOf(std::uint8_t type);
bool IsIntegerType(std::uint8_t type);
bool IsRealType(std::uint8_t type);
bool IsTextType(std::uint8_t type);

// Every table of the sample market, fields numbered from 1 in record order.
// Constants are not included (see SampleConstants).
std::vector<SchemaTable> SampleTables();

// The indexes of a table, each a list of field numbers.
std::vector<std::vector<int>> SampleIndexes(std::uint32_t table_number);

}  // namespace orbe::sample
