// The indexed lookups answer exactly what a scan of the rows in stored order
// answers, on random tables full of repeated keys.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "dictionary/reference_test_rows.h"
#include "orbe/dictionary/cw_file_util.h"

namespace {

using orbe::FieldText;
using orbe::testing::Put;
using Strings = std::vector<std::string>;

// Few distinct texts, so that keys repeat and first-match order matters.
const Strings kKeys = {"", "A", "B", "AB", "BA", "1", "2", "3", "8", "13", "CZ", "QS", "SF", "A1", "A11"};

class RandomTables {
 public:
  explicit RandomTables(unsigned seed) : random_(seed) {}

  std::string Key() {
    return kKeys[std::uniform_int_distribution<std::size_t>(0, kKeys.size() - 1)(random_)];
  }
  std::string Value() { return "v" + std::to_string(std::uniform_int_distribution<int>(0, 999)(random_)); }

  void Fill(orbe::ReferenceTables& tables, int rows) {
    for (int i = 0; i < rows; ++i) {
      tables.AppendSecuMain(orbe::testing::SecuRow(Key(), Key(), Key(), Value(), Key()));
      tables.AppendListedCmp(orbe::testing::ListedRow(Key(), Key()));
      tagGGINFO gg = orbe::testing::GGRow(Key(), Key(), Key(), Key(), Key());
      Put(gg.SecuAbbr, Value());
      tables.AppendGGInfo(gg);
      tagJJINFO jj{};
      for (char(*field)[11] :
           {&jj.FundCode, &jj.RestructureFlag, &jj.CategoryCode, &jj.InvestTypeCode, &jj.InvestStyleCode}) {
        Put(*field, Key());
      }
      Put(jj.FundAbbr, Value());
      tables.AppendJJInfo(jj);
      tagZQINFO zq{};
      Put(zq.MainID, Key());
      Put(zq.BondCode, Key());
      Put(zq.TypeName, Key());
      Put(zq.BondAbbr, Value());
      Put(zq.TradeMarket, Value());
      tables.AppendZQInfo(zq);
      tables.AppendQHInfo(orbe::testing::QHRow(Key(), Key(), Value(), Key()));
    }
  }

 private:
  std::mt19937 random_;
};

// Plain scans, as the lookups are defined.
template <typename Row, std::size_t K, std::size_t V>
std::string ScanFirst(const std::vector<Row>& rows, char (Row::*key)[K], char (Row::*value)[V],
                      const std::string& wanted, std::function<bool(const Row&)> accept = nullptr,
                      const std::string& none = "") {
  if (wanted.empty()) return none;
  for (const Row& row : rows) {
    if (FieldText(row.*key) == wanted && (!accept || accept(row))) return FieldText(row.*value);
  }
  return none;
}

// Bond string lookups answer with the key when nothing matches.
template <std::size_t K, std::size_t V>
std::string ScanBond(const std::vector<tagZQINFO>& rows, char (tagZQINFO::*key)[K],
                     char (tagZQINFO::*value)[V], const std::string& wanted) {
  return ScanFirst<tagZQINFO>(rows, key, value, wanted, nullptr, wanted);
}

template <typename Row, std::size_t K, std::size_t V>
Strings ScanAll(const std::vector<Row>& rows, char (Row::*key)[K], char (Row::*value)[V],
                const std::string& wanted) {
  Strings found;
  if (wanted.empty()) return found;
  for (const Row& row : rows) {
    if (FieldText(row.*key) == wanted) found.push_back(FieldText(row.*value));
  }
  return found;
}

Strings Sorted(const Strings& texts) {
  const std::set<std::string> unique(texts.begin(), texts.end());
  return Strings(unique.begin(), unique.end());
}

bool IsFund(const tagSECUMAIN& row) {
  return FieldText(row.SecuCategory) == "8" || FieldText(row.SecuCategory) == "13";
}

std::string ScanPreferred(const std::vector<tagGGINFO>& rows, const std::string& company, bool abbr) {
  if (company.empty()) return "";
  for (const char* state : {"1", "2", "3", ""}) {
    for (const tagGGINFO& row : rows) {
      if (FieldText(row.CompanyCode) == company && FieldText(row.ListedState) == state) {
        return abbr ? FieldText(row.SecuAbbr) : FieldText(row.SecuCode);
      }
    }
  }
  return "";
}

std::string ScanFutures(const std::vector<tagQHINFO>& rows, const std::string& code,
                        const std::string& exchange, int what) {
  if (code.empty()) return "";
  for (const tagQHINFO& row : rows) {
    const std::string variety = FieldText(row.VarietyCode);
    const std::string month = FieldText(row.MonthSuffix);
    const std::string ex = FieldText(row.ExchangeCode);
    const bool by_month = exchange.empty() || ex == "CZ" || ex == "QS" || ex == "QD" || ex == "QZ";
    if ((by_month ? variety + month : variety) != code) continue;
    if (what == 1) return variety;
    if (what == 2) return FieldText(row.VarietyName);
    return FieldText(row.VarietyName) + (by_month ? month : "");
  }
  return "";
}

using BufferLookup = void (*)(OrbeClientSession*, char*, int, const char*);

std::string Ask(BufferLookup lookup, OrbeClientSession* session, const std::string& key) {
  char out[128];
  std::memset(out, 'x', sizeof out);
  lookup(session, out, static_cast<int>(sizeof out), key.c_str());
  return std::string(out, strnlen(out, sizeof out));
}

// Compares every lookup with its scan; returns how many of the security,
// fund and bond answers found something, so a run over empty answers only
// cannot pass for a comparison.
int CompareAll(OrbeClientSession& session) {
  int found = 0;
  const orbe::ReferenceTables& t = session.References();
  const auto& sm = t.SecuMain();
  const auto& gg = t.GGInfo();
  const auto& jj = t.JJInfo();
  const auto& zq = t.ZQInfo();
  const auto stock = [](const tagSECUMAIN& row) { return !IsFund(row); };
  for (const std::string& k : kKeys) {
    SCOPED_TRACE("key " + k);
    OrbeClientSession* s = &session;
    found += Ask(CwFileUtil::GetSecuCode, s, k).empty() ? 0 : 1;
    found += Ask(CwFileUtil::JJ_GetJJAbbr, s, k).empty() ? 0 : 1;
    found += CwFileUtil::ZQ_GetZQCode(s, k.c_str()).empty() ? 0 : 1;
    EXPECT_EQ(Ask(CwFileUtil::GetSecuCode, s, k),
              ScanFirst(sm, &tagSECUMAIN::CompanyCode, &tagSECUMAIN::SecuCode, k));
    EXPECT_EQ(Ask(CwFileUtil::GetSecuAbbr, s, k),
              ScanFirst(sm, &tagSECUMAIN::CompanyCode, &tagSECUMAIN::SecuAbbr, k));
    EXPECT_EQ(Ask(CwFileUtil::GetSecuAbbrByCode, s, k),
              ScanFirst<tagSECUMAIN>(sm, &tagSECUMAIN::SecuCode, &tagSECUMAIN::SecuAbbr, k, stock));
    EXPECT_EQ(Ask(CwFileUtil::GetFundAbbrByCode, s, k),
              ScanFirst<tagSECUMAIN>(sm, &tagSECUMAIN::SecuCode, &tagSECUMAIN::SecuAbbr, k, IsFund));
    EXPECT_EQ(Ask(CwFileUtil::GetCompanyCodeBySecuCode, s, k),
              ScanFirst<tagSECUMAIN>(sm, &tagSECUMAIN::SecuCode, &tagSECUMAIN::CompanyCode, k, stock));
    EXPECT_EQ(Ask(CwFileUtil::GetInnerCodeBySecuCode, s, k),
              ScanFirst<tagSECUMAIN>(sm, &tagSECUMAIN::SecuCode, &tagSECUMAIN::InnerCode, k, stock));
    EXPECT_EQ(Ask(CwFileUtil::GetCompanyCodeByInnerCode, s, k),
              ScanFirst(sm, &tagSECUMAIN::InnerCode, &tagSECUMAIN::CompanyCode, k));
    EXPECT_EQ(Ask(CwFileUtil::GetSecuCategoryByInnercode, s, k),
              ScanFirst(sm, &tagSECUMAIN::InnerCode, &tagSECUMAIN::SecuCategory, k));

    EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuCodeByCompCode, s, k), ScanPreferred(gg, k, false));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuAbbrByCompCode, s, k), ScanPreferred(gg, k, true));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuStateByCode, s, k),
              ScanFirst(gg, &tagGGINFO::SecuCode, &tagGGINFO::ListedState, k));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetSecuAbbrBySecuCode, s, k),
              ScanFirst(gg, &tagGGINFO::SecuCode, &tagGGINFO::SecuAbbr, k));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetCompCodeBySecuCode, s, k),
              ScanFirst(gg, &tagGGINFO::SecuCode, &tagGGINFO::CompanyCode, k));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetBkNameByBkID, s, k),
              ScanFirst(gg, &tagGGINFO::BkID, &tagGGINFO::BkName, k));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetHyIDBySecuCode, s, k),
              ScanFirst(gg, &tagGGINFO::SecuCode, &tagGGINFO::HyID, k));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetHyIDByCompCode, s, k),
              ScanFirst(gg, &tagGGINFO::CompanyCode, &tagGGINFO::HyID, k));
    EXPECT_EQ(Ask(CwFileUtil::GG_GetHyNameByHyCode, s, k),
              ScanFirst(gg, &tagGGINFO::HyID, &tagGGINFO::HyName, k));
    Strings boards = Sorted(ScanAll(gg, &tagGGINFO::SecuCode, &tagGGINFO::BkID, k));
    std::erase(boards, std::string());
    EXPECT_EQ(CwFileUtil::GG_GetBkIDBySecuCode(s, k.c_str()), boards);
    EXPECT_EQ(CwFileUtil::GG_GetBkSecuCodeByBkID(s, k.c_str()),
              Sorted(ScanAll(gg, &tagGGINFO::BkID, &tagGGINFO::SecuCode, k)));
    EXPECT_EQ(CwFileUtil::GG_GetHySecuCodeByHyID(s, k.c_str()),
              Sorted(ScanAll(gg, &tagGGINFO::HyID, &tagGGINFO::SecuCode, k)));

    EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJAbbr, s, k),
              ScanFirst(jj, &tagJJINFO::FundCode, &tagJJINFO::FundAbbr, k));
    EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJCategoryCode, s, k),
              ScanFirst(jj, &tagJJINFO::FundCode, &tagJJINFO::CategoryCode, k));
    EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJInvestTypeCode, s, k),
              ScanFirst(jj, &tagJJINFO::FundCode, &tagJJINFO::InvestTypeCode, k));
    EXPECT_EQ(Ask(CwFileUtil::JJ_GetJJInvestStyleCode, s, k),
              ScanFirst(jj, &tagJJINFO::FundCode, &tagJJINFO::InvestStyleCode, k));
    EXPECT_EQ(Ask(CwFileUtil::JJ_IsRestructureJJ, s, k),
              ScanFirst(jj, &tagJJINFO::FundCode, &tagJJINFO::RestructureFlag, k));
    EXPECT_EQ(CwFileUtil::JJ_GetJJCodeByCategory(s, k.c_str()),
              ScanAll(jj, &tagJJINFO::CategoryCode, &tagJJINFO::FundCode, k));
    EXPECT_EQ(CwFileUtil::JJ_GetJJCodeByInvestType(s, k.c_str()),
              ScanAll(jj, &tagJJINFO::InvestTypeCode, &tagJJINFO::FundCode, k));
    EXPECT_EQ(CwFileUtil::JJ_GetJJCodeByInvestStyle(s, k.c_str()),
              ScanAll(jj, &tagJJINFO::InvestStyleCode, &tagJJINFO::FundCode, k));
    EXPECT_EQ(CwFileUtil::JJ_GetRestructureJJCode(s, k.c_str()),
              ScanAll(jj, &tagJJINFO::RestructureFlag, &tagJJINFO::FundCode, k));

    EXPECT_EQ(CwFileUtil::ZQ_GetZQAbbr(s, k.c_str()),
              ScanBond(zq, &tagZQINFO::BondCode, &tagZQINFO::BondAbbr, k));
    EXPECT_EQ(CwFileUtil::ZQ_GetZQMainID(s, k.c_str()),
              ScanBond(zq, &tagZQINFO::BondCode, &tagZQINFO::MainID, k));
    EXPECT_EQ(CwFileUtil::ZQ_GetZQTradMarket(s, k.c_str()),
              ScanBond(zq, &tagZQINFO::BondCode, &tagZQINFO::TradeMarket, k));
    EXPECT_EQ(CwFileUtil::ZQ_GetZQTypeByMainID(s, k.c_str()),
              ScanBond(zq, &tagZQINFO::MainID, &tagZQINFO::TypeName, k));
    EXPECT_EQ(CwFileUtil::ZQ_GetZQCode(s, k.c_str()),
              Sorted(ScanAll(zq, &tagZQINFO::MainID, &tagZQINFO::BondCode, k)));
    EXPECT_EQ(CwFileUtil::ZQ_GetZQAbbrByMainID(s, k.c_str()),
              Sorted(ScanAll(zq, &tagZQINFO::MainID, &tagZQINFO::BondAbbr, k)));
    EXPECT_EQ(CwFileUtil::ZQ_GetAllZQCodeByTypeName(s, k.c_str()),
              ScanAll(zq, &tagZQINFO::TypeName, &tagZQINFO::BondCode, k));
    EXPECT_EQ(CwFileUtil::ZQ_GetAllZQMainIDByTypeName(s, k.c_str()),
              ScanAll(zq, &tagZQINFO::TypeName, &tagZQINFO::MainID, k));

    for (const std::string& code : {k, k + "A", k + "1", k + "13"}) {
      for (const char* exchange : {"", "SF"}) {
        char out[128];
        CwFileUtil::QH_GetQHNameByCode(s, out, sizeof out, code.c_str(), exchange);
        EXPECT_EQ(out, ScanFutures(t.QHInfo(), code, exchange, 0)) << code << "/" << exchange;
        CwFileUtil::QH_GetPZCodeByQHCode(s, out, sizeof out, code.c_str(), exchange);
        EXPECT_EQ(out, ScanFutures(t.QHInfo(), code, exchange, 1)) << code << "/" << exchange;
        CwFileUtil::QH_GetPZNameByQHCode(s, out, sizeof out, code.c_str(), exchange);
        EXPECT_EQ(out, ScanFutures(t.QHInfo(), code, exchange, 2)) << code << "/" << exchange;
      }
    }

    Strings companies;
    Strings with_part;
    for (const tagLISTEDCMP& row : t.ListedCmp()) {
      const std::string company = ScanFirst<tagSECUMAIN>(
          sm, &tagSECUMAIN::SecuCode, &tagSECUMAIN::CompanyCode, FieldText(row.SecuCode), stock);
      if (k.empty() || company.empty()) continue;
      if (FieldText(row.Industry974) == k) companies.push_back(company);
      if (FieldText(row.Industry997).find(k) != std::string::npos) with_part.push_back(company);
    }
    EXPECT_EQ(CwFileUtil::GetHyCmpCode(s, 974, k.c_str()), companies);
    EXPECT_EQ(CwFileUtil::GetHyAndSubHyCmpCode(s, 997, k.c_str()), with_part);
  }
  return found;
}

TEST(ReferenceIndexTest, IndexedLookupsEqualScansInStoredOrder) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    OrbeClientSession session;
    RandomTables random(seed);
    random.Fill(session.References(), 60);
    EXPECT_GT(CompareAll(session), 0);
    // More rows after lookups: the indexes follow the change.
    random.Fill(session.References(), 40);
    EXPECT_GT(CompareAll(session), 0);
    session.References().ClearGGInfo();
    session.References().ClearSecuMain();
    EXPECT_GT(CompareAll(session), 0);  // the fund and bond tables are still there
    EXPECT_EQ(Ask(CwFileUtil::GetSecuCode, &session, kKeys[1]), "");
  }
}

}  // namespace
