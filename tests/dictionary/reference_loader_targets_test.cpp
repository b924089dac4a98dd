// What the loaders make of their records: field destinations, dropped rows,
// the Hong Kong stock merge, the futures names and the bond suffixes.
#include "dictionary/reference_loader_targets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

std::string Text(const char* field, std::size_t size) { return orbe::FieldText(field, size); }
#define FIELD(row, member) Text((row).member, sizeof((row).member))

TEST(MainTableTargetTest, MapsBothSetsAndDropsCodesBeginningTwoOrNine) {
  orbe::ReferenceTables tables;
  tables.AppendSecuMain(tagSECUMAIN{});  // cleared by the loader
  orbe::MainTableTarget target(tables);
  target.Clear();
  const std::string long_abbr(81 - 1, 'x');
  target.Store(0, Fields{"1000001", "600001", long_abbr, "1", "83", "80000001", "HXYY"});
  for (const char* code : {"600001", "200002", "900003", "000004"}) {
    target.Store(1, Fields{code, "C01.01.02.0304", "110000", "997a", "964a", "996a", "966a"});
  }
  ASSERT_EQ(tables.SecuMain().size(), 1u);
  const tagSECUMAIN secu = tables.SecuMain()[0];
  EXPECT_EQ(FIELD(secu, InnerCode), "1000001");
  EXPECT_EQ(FIELD(secu, SecuCode), "600001");
  EXPECT_EQ(FIELD(secu, SecuAbbr), std::string(40, 'x'));
  EXPECT_EQ(FIELD(secu, SecuCategory), "1");
  EXPECT_EQ(FIELD(secu, SecuMarket), "83");
  EXPECT_EQ(FIELD(secu, CompanyCode), "80000001");
  EXPECT_EQ(FIELD(secu, ChiSpelling), "HXYY");

  ASSERT_EQ(tables.ListedCmp().size(), 2u);
  EXPECT_EQ(FIELD(tables.ListedCmp()[1], SecuCode), "000004");
  const tagLISTEDCMP company = tables.ListedCmp()[0];
  EXPECT_EQ(FIELD(company, SecuCode), "600001");
  EXPECT_EQ(FIELD(company, Industry974), "C01.01.02.03");  // first 12 bytes kept
  EXPECT_EQ(FIELD(company, Province), "110000");
  EXPECT_EQ(FIELD(company, Industry997), "997a");
  EXPECT_EQ(FIELD(company, Industry964), "964a");
  EXPECT_EQ(FIELD(company, Industry996), "996a");
  EXPECT_EQ(FIELD(company, Industry966), "966a");
  EXPECT_EQ(FIELD(company, Industry994), "");
  EXPECT_EQ(FIELD(company, Unread11), "");
}

TEST(GgInfoTargetTest, MergesCompaniesBoardsAndIndustries) {
  orbe::ReferenceTables tables;
  orbe::GgInfoTarget target(tables);
  target.Clear();
  target.Store(0, Fields{"B1", "00001", "Alpha"});
  target.Store(0, Fields{"B2", "00001", "Alpha"});
  target.Store(0, Fields{"B1", "00002", "Beta"});
  target.Store(1, Fields{"00001", "Alpha", "70000001", "1"});
  target.Store(1, Fields{"00003", "Gamma", "70000003", "2"});  // on no board
  target.Store(1, Fields{"00001", "Alpha2", "70000099", "3"});  // the first row of a code wins
  target.Store(2, Fields{"B1", "Board one"});
  target.Store(2, Fields{"B1", "Board again"});  // the first value of a key stays
  target.Store(2, Fields{"B2", "Board two"});
  target.Store(3, Fields{"H1", "Industry one"});
  target.Store(4, Fields{"00001", "H1"});
  target.Store(4, Fields{"00003", "H1"});
  target.Store(4, Fields{"00003", "H9"});
  target.Finish();

  const std::vector<tagGGINFO>& rows = tables.GGInfo();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(FIELD(rows[0], CompanyCode), "70000001");
  EXPECT_EQ(FIELD(rows[0], ListedState), "1");
  EXPECT_EQ(FIELD(rows[0], BkName), "Board one");
  EXPECT_EQ(FIELD(rows[0], HyID), "H1");
  EXPECT_EQ(FIELD(rows[0], HyName), "Industry one");
  EXPECT_EQ(FIELD(rows[1], BkName), "Board two");
  EXPECT_EQ(FIELD(rows[1], CompanyCode), "70000001");
  // A board stock without a company row keeps empty company fields.
  EXPECT_EQ(FIELD(rows[2], SecuCode), "00002");
  EXPECT_EQ(FIELD(rows[2], CompanyCode), "");
  EXPECT_EQ(FIELD(rows[2], ListedState), "");
  EXPECT_EQ(FIELD(rows[2], HyID), "");
  // The company on no board is appended once, filled only from the maps.
  EXPECT_EQ(FIELD(rows[3], SecuCode), "00003");
  EXPECT_EQ(FIELD(rows[3], SecuAbbr), "Gamma");
  EXPECT_EQ(FIELD(rows[3], CompanyCode), "70000003");
  EXPECT_EQ(FIELD(rows[3], ListedState), "2");
  EXPECT_EQ(FIELD(rows[3], BkID), "");
  EXPECT_EQ(FIELD(rows[3], BkName), "");
  EXPECT_EQ(FIELD(rows[3], HyName), "Industry one");

  // A second load starts from nothing.
  target.Clear();
  target.Finish();
  EXPECT_TRUE(tables.GGInfo().empty());
}

TEST(QhInfoTargetTest, ContractsGetTheirVarietyAndExchangeNames) {
  orbe::ReferenceTables tables;
  orbe::QhInfoTarget target(tables);
  target.Clear();
  target.Store(0, Fields{"CU2501", "QS", "CU", "2501"});
  target.Store(0, Fields{"SR2503", "CZ", "SR", "2503"});
  target.Store(0, Fields{"XX2501", "QD", "XX", "2501"});
  target.Store(1, Fields{"CU", "QS", "Copper"});
  target.Store(1, Fields{"SR", "QD", "Sugar elsewhere"});  // no (CZ, SR): the variety alone decides
  target.Store(2, Fields{"QS", "Shanghai"});
  target.Store(3, Fields{"CU2501", "20240101", "20250115", "202501"});
  target.Store(4, Fields{"CU2501", "Copper 2501"});
  EXPECT_TRUE(tables.QHInfo().empty());  // complete only after the last set
  target.Finish();
  const std::vector<tagQHINFO>& rows = tables.QHInfo();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(FIELD(rows[0], ContractCode), "CU2501");
  EXPECT_EQ(FIELD(rows[0], ExchangeCode), "QS");
  EXPECT_EQ(FIELD(rows[0], ExchangeName), "Shanghai");
  EXPECT_EQ(FIELD(rows[0], VarietyCode), "CU");
  EXPECT_EQ(FIELD(rows[0], VarietyName), "Copper");
  EXPECT_EQ(FIELD(rows[0], MonthSuffix), "2501");
  EXPECT_EQ(FIELD(rows[1], VarietyName), "Sugar elsewhere");
  EXPECT_EQ(FIELD(rows[1], ExchangeName), "");
  EXPECT_EQ(FIELD(rows[2], VarietyName), "");
}

TEST(ZqInfoTargetTest, BondCodesCarryTheirMarketSuffix) {
  EXPECT_EQ(orbe::BondCodeSuffix("012001"), ".SH");
  EXPECT_EQ(orbe::BondCodeSuffix("012002"), ".SZ");
  EXPECT_EQ(orbe::BondCodeSuffix("012004"), ".IB");
  EXPECT_EQ(orbe::BondCodeSuffix("012016"), ".BC");
  EXPECT_EQ(orbe::BondCodeSuffix("012999"), ".OO");
  EXPECT_EQ(orbe::BondCodeSuffix("012003"), "");
  EXPECT_EQ(orbe::BondCodeSuffix(""), "");

  orbe::ReferenceTables tables;
  orbe::ZqInfoTarget target(tables);
  target.Clear();
  target.Store(0, Fields{"M1", "122001", "012001", "Bond A", "Corporate", "SSE", "Issuer"});
  target.Store(0, Fields{"M1", "1280001", "012004", "Bond A", "Corporate", "IB", "Issuer"});
  target.Store(0, Fields{"M2", "9999999999", "012002", "Bond B", "T", "M", "I"});
  target.Store(0, Fields{"M3", "555", "000000", "Bond C", "T", "M", "I"});
  const std::vector<tagZQINFO>& rows = tables.ZQInfo();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(FIELD(rows[0], MainID), "M1");
  EXPECT_EQ(FIELD(rows[0], BondCode), "122001.SH");
  EXPECT_EQ(FIELD(rows[0], BondAbbr), "Bond A");
  EXPECT_EQ(FIELD(rows[0], TypeName), "Corporate");
  EXPECT_EQ(FIELD(rows[0], TradeMarket), "SSE");
  EXPECT_EQ(FIELD(rows[0], IssueOrg), "Issuer");
  EXPECT_EQ(FIELD(rows[1], BondCode), "1280001.IB");
  EXPECT_EQ(FIELD(rows[2], BondCode), "9999999999");  // no room for a suffix
  EXPECT_EQ(FIELD(rows[3], BondCode), "555");
}

TEST(JjInfoTargetTest, FundFieldsInReplyOrder) {
  orbe::ReferenceTables tables;
  orbe::JjInfoTarget target(tables);
  target.Clear();
  target.Store(0, Fields{"000001", "Fund A", "0", "998001", "T1", "S1"});
  ASSERT_EQ(tables.JJInfo().size(), 1u);
  const tagJJINFO fund = tables.JJInfo()[0];
  EXPECT_EQ(FIELD(fund, FundCode), "000001");
  EXPECT_EQ(FIELD(fund, FundAbbr), "Fund A");
  EXPECT_EQ(FIELD(fund, RestructureFlag), "0");
  EXPECT_EQ(FIELD(fund, CategoryCode), "998001");
  EXPECT_EQ(FIELD(fund, InvestTypeCode), "T1");
  EXPECT_EQ(FIELD(fund, InvestStyleCode), "S1");
}

}  // namespace
