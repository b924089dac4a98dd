// CwFileUtil's security, industry, fund, bond and futures lookups.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "dictionary/reference_test_rows.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

using orbe::testing::GGRow;
using orbe::testing::ListedRow;
using orbe::testing::Put;
using orbe::testing::QHRow;
using orbe::testing::SecuRow;
using Strings = std::vector<std::string>;

class ReferenceLookupTest : public ::testing::Test {
 protected:
  orbe::ReferenceTables& Tables() { return session_.References(); }

  // Calls a buffer lookup with a 64-byte buffer and returns its text.
  template <typename Lookup>
  std::string Ask(Lookup lookup, const char* key) {
    char out[64];
    std::memset(out, 'x', sizeof out);
    lookup(&session_, out, static_cast<int>(sizeof out), key);
    return std::string(out, strnlen(out, sizeof out));
  }

  OrbeClientSession session_;
};

TEST_F(ReferenceLookupTest, StockAndFundSharingACode) {
  Tables().AppendSecuMain(SecuRow("F1", "CF", "500001", "fund", "8"));
  Tables().AppendSecuMain(SecuRow("S1", "CS", "500001", "stock", "1"));
  Tables().AppendSecuMain(SecuRow("F2", "CF2", "500001", "fund13", "13"));
  EXPECT_EQ(Ask(CwFileUtil::GetSecuAbbrByCode, "500001"), "stock");
  EXPECT_EQ(Ask(CwFileUtil::GetFundAbbrByCode, "500001"), "fund");
  EXPECT_EQ(Ask(CwFileUtil::GetCompanyCodeBySecuCode, "500001"), "CS");
  EXPECT_EQ(Ask(CwFileUtil::GetSecuMainCodeBySecuCode, "500001"), "CS");
  EXPECT_EQ(Ask(CwFileUtil::GetInnerCodeBySecuCode, "500001"), "S1");
  EXPECT_EQ(Ask(CwFileUtil::GetSecuCode, "CF"), "500001");
  EXPECT_EQ(Ask(CwFileUtil::GetSecuCategoryByInnercode, "F2"), "13");
  EXPECT_EQ(Ask(CwFileUtil::GetCompanyCodeByInnerCode, "F2"), "CF2");
  // Exact, case-sensitive comparison.
  EXPECT_EQ(Ask(CwFileUtil::GetSecuCode, "cf"), "");
  EXPECT_EQ(Ask(CwFileUtil::GetSecuCode, "C"), "");
}

TEST_F(ReferenceLookupTest, MissingSessionEmptyKeyAndNoMatchClearTheBuffer) {
  Tables().AppendSecuMain(SecuRow("I", "C", "000001", "abbr", "1"));
  Tables().AppendGGInfo(GGRow("00001", "C", "1", "B"));
  char out[8];
  std::memset(out, 'x', sizeof out);
  CwFileUtil::GetSecuAbbrByCode(nullptr, out, sizeof out, "000001");
  EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, '\0'));
  for (const char* key : {"", "nothing"}) {
    std::memset(out, 'x', sizeof out);
    CwFileUtil::GG_GetSecuAbbrBySecuCode(&session_, out, sizeof out, key);
    EXPECT_EQ(std::string(out, sizeof out), std::string(sizeof out, '\0')) << key;
  }
  CwFileUtil::GetSecuAbbrByCode(&session_, nullptr, 8, "000001");  // no buffer: nothing written
  EXPECT_TRUE(CwFileUtil::GG_GetBkIDBySecuCode(nullptr, "00001").empty());
  EXPECT_TRUE(CwFileUtil::GG_GetBkIDBySecuCode(&session_, "").empty());
  EXPECT_TRUE(CwFileUtil::GetAllSecuMain(nullptr).empty());
  ASSERT_EQ(CwFileUtil::GetAllSecuMain(&session_).size(), 1u);
}

TEST_F(ReferenceLookupTest, BoundedCopiesNeverOverrunTheBuffer) {
  // "\xd6\xd0" is one GBK character: a cut never separates its two bytes.
  Tables().AppendSecuMain(SecuRow("I", "C", "000001", "ab\xd6\xd0\xd6\xd0", "1"));
  const std::string abbr = "ab\xd6\xd0\xd6\xd0";
  // Bytes kept for a buffer of 1 ... 7 bytes.
  const std::size_t kept[] = {0, 1, 2, 2, 4, 4, 6};
  char buffer[16];
  for (int length = 1; length <= 7; ++length) {
    std::memset(buffer, '#', sizeof buffer);
    CwFileUtil::GetSecuAbbrByCode(&session_, buffer, length, "000001");
    EXPECT_EQ(std::string(buffer), abbr.substr(0, kept[length - 1])) << length;
    EXPECT_EQ(std::string(buffer + length, sizeof buffer - length), std::string(sizeof buffer - length, '#'))
        << length;
  }
  std::memset(buffer, '#', sizeof buffer);
  CwFileUtil::GetSecuAbbrByCode(&session_, buffer, 0, "000001");
  EXPECT_EQ(buffer[0], '#');
}

TEST_F(ReferenceLookupTest, HongKongStocks) {
  Tables().AppendGGInfo(GGRow("00003", "C1", "3", "B2", "H1"));
  Tables().AppendGGInfo(GGRow("00002", "C1", "", "B1", "H1"));
  Tables().AppendGGInfo(GGRow("00001", "C1", "1", "B2", "H2"));
  Tables().AppendGGInfo(GGRow("00001", "C1", "1", "B1", "H2"));
  Tables().AppendGGInfo(GGRow("00001", "C1", "1", "B2", "H2"));
  Tables().AppendGGInfo(GGRow("00001", "C1", "1", "", "H2"));
  Tables().AppendGGInfo(GGRow("00009", "C2", "4", "B3"));
  Tables().AppendGGInfo(GGRow("00008", "C2", "", "B3"));
  EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuCodeByCompCode, "C1"), "00001");
  EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuAbbrByCompCode, "C1"), "00001-abbr");
  EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuCodeByCompCode, "C2"), "00008");  // "4" is never preferred
  EXPECT_EQ(Ask(CwFileUtil::GG_GetHyIDByCompCode, "C1"), "H1");         // plain first row
  EXPECT_EQ(CwFileUtil::GG_GetBkIDBySecuCode(&session_, "00001"), (Strings{"B1", "B2"}));
  EXPECT_EQ(CwFileUtil::GG_GetBkSecuCodeByBkID(&session_, "B2"), (Strings{"00001", "00003"}));
  EXPECT_EQ(CwFileUtil::GG_GetHySecuCodeByHyID(&session_, "H1"), (Strings{"00002", "00003"}));
  EXPECT_EQ(Ask(CwFileUtil::GG_GetBkNameByBkID, "B1"), "B1-name");
  EXPECT_EQ(Ask(CwFileUtil::GG_GetHyNameByHyCode, "H2"), "H2-name");
  EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuStateByCode, "00003"), "3");
  EXPECT_EQ(Ask(CwFileUtil::GG_GetCompCodeBySecuCode, "00009"), "C2");

  // The merge rewrites rows in place; the next lookup sees the new text.
  for (tagGGINFO& row : Tables().MutableGGInfo()) {
    if (orbe::FieldText(row.ListedState) == "1") Put(row.ListedState, "3");
  }
  Put(Tables().MutableGGInfo()[0].ListedState, "2");
  EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuCodeByCompCode, "C1"), "00003");
}

TEST_F(ReferenceLookupTest, IndustryTreesAndTheirCompanies) {
  orbe::testing::LoadConstants(session_, {{"966", "A", "a", "", ""},
                                          {"966", "A1", "a1", "A", ""},
                                          {"966", "A11", "a11", "A1", ""},
                                          {"966", "B", "b", "", ""},
                                          {"974", "Z", "z", "", ""}});
  Strings codes;
  CwFileUtil::GetHyCode(&session_, 966, codes);
  EXPECT_EQ(codes, (Strings{"A", "A1", "A11", "A1", "A11", "A11", "B"}));
  Strings sub = {"keep"};
  CwFileUtil::GetSubHyCode(&session_, 966, "A", sub);
  EXPECT_EQ(sub, (Strings{"keep", "A1", "A11"}));

  for (const char* code : {"s1", "s2", "s3", "s4", "s5"}) {
    Tables().AppendSecuMain(SecuRow("i", std::string("c") + code, code, "", "1"));
  }
  Tables().AppendListedCmp(ListedRow("s1", "A11"));
  Tables().AppendListedCmp(ListedRow("s2", "A"));
  Tables().AppendListedCmp(ListedRow("s3", "A1"));
  Tables().AppendListedCmp(ListedRow("s4", "XA1"));
  Tables().AppendListedCmp(ListedRow("s5", "B"));
  Tables().AppendListedCmp(ListedRow("nomaster", "A1"));  // no company code: left out
  EXPECT_EQ(CwFileUtil::GetHyCmpCode(&session_, 974, "A1"), (Strings{"cs3"}));
  EXPECT_EQ(CwFileUtil::GetHyCmpCode(&session_, 123, "A1"), Strings{});
  // Substring classifications, in table order.
  for (int classification : {964, 994, 996, 997}) {
    EXPECT_EQ(CwFileUtil::GetHyAndSubHyCmpCode(&session_, classification, "A1"),
              (Strings{"cs1", "cs3", "cs4"}))
        << classification;
  }
  // 966 by the tree, grouped by descendant: A, then A1, then A11.
  EXPECT_EQ(CwFileUtil::GetHyAndSubHyCmpCode(&session_, 966, "A"), (Strings{"cs2", "cs3", "cs1"}));
  EXPECT_EQ(CwFileUtil::GetHyAndSubHyCmpCode(&session_, 974, "A"), (Strings{"cs2"}));
  EXPECT_EQ(CwFileUtil::GetHyAndSubHyCmpCode(&session_, 997, ""), Strings{});
}

TEST_F(ReferenceLookupTest, ACycleInTheIndustryTreeEnds) {
  orbe::testing::LoadConstants(
      session_, {{"966", "A", "a", "B", ""}, {"966", "B", "b", "A", ""}, {"966", "C", "c", "C", ""}});
  Strings codes;
  CwFileUtil::GetHyCode(&session_, 966, codes);
  EXPECT_EQ(codes, (Strings{"A", "B", "B", "A", "C"}));
}

TEST_F(ReferenceLookupTest, Funds) {
  orbe::testing::LoadConstants(session_, {{"100", "T1", "type in 100", "", ""},
                                          {"998", "T1", "category T1", "", ""},
                                          {"200", "S1", "style", "", ""}});
  tagJJINFO fund{};
  Put(fund.FundCode, "F1");
  Put(fund.FundAbbr, "first");
  Put(fund.CategoryCode, "T1");
  Put(fund.InvestTypeCode, "T1");
  Put(fund.InvestStyleCode, "S1");
  Put(fund.RestructureFlag, "1");
  Tables().AppendJJInfo(fund);
  Put(fund.FundCode, "F2");
  Put(fund.FundAbbr, "second");
  Tables().AppendJJInfo(fund);
  Put(fund.FundCode, "F1");
  Put(fund.FundAbbr, "again");
  Tables().AppendJJInfo(fund);
  EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJAbbr, "F1"), "first");
  EXPECT_EQ(Ask(CwFileUtil::JJ_IsRestructureJJ, "F2"), "1");
  EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJCategoryAbbr, "T1"), "category T1");
  EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJInvestTypeAbbr, "T1"), "type in 100");
  EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJInvestStyleAbbr, "S1"), "style");
  EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJCategoryAbbr, "S1"), "");
  EXPECT_EQ(CwFileUtil::JJ_GetJJCodeByCategory(&session_, "T1"), (Strings{"F1", "F2", "F1"}));
  EXPECT_EQ(CwFileUtil::JJ_GetRestructureJJCode(&session_, "1").size(), 3u);
}

TEST_F(ReferenceLookupTest, BondsAnswerWithTheKeyWhenNothingMatches) {
  tagZQINFO bond{};
  Put(bond.MainID, "M1");
  Put(bond.BondCode, "110001");
  Put(bond.BondAbbr, "bond");
  Put(bond.TypeName, "corp");
  Put(bond.TradeMarket, "SZ");
  Tables().AppendZQInfo(bond);
  Put(bond.BondCode, "010001");
  Put(bond.TradeMarket, "SH");
  Tables().AppendZQInfo(bond);
  EXPECT_EQ(CwFileUtil::ZQ_GetZQAbbr(&session_, "010001"), "bond");
  EXPECT_EQ(CwFileUtil::ZQ_GetZQAbbr(&session_, "999999"), "999999");
  EXPECT_EQ(CwFileUtil::ZQ_GetZQAbbr(nullptr, "010001"), "010001");
  EXPECT_EQ(CwFileUtil::ZQ_GetZQAbbr(&session_, ""), "");
  EXPECT_EQ(CwFileUtil::ZQ_GetZQAbbr(&session_, nullptr), "");
  EXPECT_EQ(CwFileUtil::ZQ_GetZQTradMarketByMainID(&session_, "M1"), (Strings{"SH", "SZ"}));
  EXPECT_EQ(CwFileUtil::ZQ_GetZQCode(&session_, "M1"), (Strings{"010001", "110001"}));
  EXPECT_EQ(CwFileUtil::ZQ_GetAllZQCodeByTypeName(&session_, "corp"), (Strings{"110001", "010001"}));
  EXPECT_EQ(CwFileUtil::ZQ_GetAllZQMainIDByTypeName(&session_, "corp"), (Strings{"M1", "M1"}));
}

TEST_F(ReferenceLookupTest, FuturesByExchangeRule) {
  Tables().AppendQHInfo(QHRow("SF", "IF", "index", "2406"));
  Tables().AppendQHInfo(QHRow("CZ", "IF", "named", ""));
  Tables().AppendQHInfo(QHRow("QS", "CU", "copper", "2407"));
  auto name = [](OrbeClientSession* s, char* out, int length, const char* code) {
    CwFileUtil::QH_GetQHNameByCode(s, out, length, code, "SF");
  };
  auto name_without_exchange = [](OrbeClientSession* s, char* out, int length, const char* code) {
    CwFileUtil::QH_GetQHNameByCode(s, out, length, code, "");
  };
  auto variety = [](OrbeClientSession* s, char* out, int length, const char* code) {
    CwFileUtil::QH_GetPZCodeByQHCode(s, out, length, code, "any");
  };
  EXPECT_EQ(Ask(name_without_exchange, "IF2406"), "index2406");
  EXPECT_EQ(Ask(name_without_exchange, "IF"), "named");
  EXPECT_EQ(Ask(name, "IF"), "index");  // other exchange by variety alone, first row
  EXPECT_EQ(Ask(name, "IF2406"), "");
  EXPECT_EQ(Ask(name, "CU2407"), "copper2407");
  EXPECT_EQ(Ask(variety, "CU2407"), "CU");
  EXPECT_EQ(Ask(name, "CU"), "");
}

TEST(SplitStrTest, DropsEmptyPieces) {
  using Strings = std::vector<std::string>;
  EXPECT_EQ(CwFileUtil::SplitStr("a||b|", "|"), (Strings{"a", "b"}));
  EXPECT_EQ(CwFileUtil::SplitStr("|a::b::::c", "::"), (Strings{"|a", "b", "c"}));
  EXPECT_EQ(CwFileUtil::SplitStr("abc", ""), (Strings{"abc"}));
  EXPECT_EQ(CwFileUtil::SplitStr("", "|"), Strings{});
}

}  // namespace
