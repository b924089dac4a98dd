#include <gtest/gtest.h>

#include <string>

#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_clock.h"
#include "orbe/reports/report_lookups.h"
#include "reports/cell_statements.h"
#include "reports/report_words.h"

namespace {

// A security master of two securities, standing in for the main session's.
std::string FakeCompanyCode(const std::string& security_code) {
  if (security_code == "600000") return "10000001";
  if (security_code == "LONG") return "123456789012345";
  return {};
}

// A security master that may be reloaded between two pages.
std::string g_company_code;
std::string ReloadableCompanyCode(const std::string& /*security_code*/) { return g_company_code; }

class SqlMacrosTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = orbe::CurrentReportLookups();
    orbe::SetReportLookups(orbe::ReportLookups{nullptr, FakeCompanyCode});
  }
  void TearDown() override { orbe::SetReportLookups(saved_); }
  orbe::ReportLookups saved_;
};

TEST_F(SqlMacrosTest, SecurityCodeIsQuotedCompanyCode) {
  EXPECT_EQ(CIniReportUtil::GenerateSql("select t001 from 100 where t002=$SECUCODE$", "", "600000"),
            "SELECT T001 FROM 100 WHERE T002='10000001'");
  // Every occurrence, and the company code is cut to 11 bytes.
  EXPECT_EQ(CIniReportUtil::GenerateSql("A $SECUCODE$ B $SECUCODE$", "", "LONG"),
            "A '12345678901' B '12345678901'");
  // Unknown security: an empty quoted code, so the statement finds nothing.
  EXPECT_EQ(CIniReportUtil::GenerateSql("X=$SECUCODE$", "", "999999"), "X=''");
}

TEST_F(SqlMacrosTest, MacroAtTheStartIsNotExpanded) {
  EXPECT_EQ(CIniReportUtil::GenerateSql("$SECUCODE$ and $SECUCODE$", "", "600000"),
            "$SECUCODE$ AND $SECUCODE$");
  EXPECT_EQ(CIniReportUtil::GenerateSql("$#$=1", "v", "600000"), "$#$=1");
  EXPECT_EQ(CIniReportUtil::GenerateUrl("******/x", "600000"), "******/x");
}

TEST_F(SqlMacrosTest, ParameterTakesItsPlaceOrTheSecurity) {
  // With "$#$": the parameter goes there, the security code stays the report's.
  EXPECT_EQ(CIniReportUtil::GenerateSql("where t3='$#$' and t2=$SECUCODE$", "abc", "600000"),
            "WHERE T3='abc' AND T2='10000001'");
  // Without "$#$": the parameter stands for the security, quoted.
  EXPECT_EQ(CIniReportUtil::GenerateSql("where t2=$SECUCODE$", "20001", "600000"), "WHERE T2='20001'");
  // A parameter of 1023 bytes or more leaves only the upper-casing.
  EXPECT_EQ(CIniReportUtil::GenerateSql("where t2=$SECUCODE$", std::string(1023, 'p'), "600000"),
            "WHERE T2=$SECUCODE$");
  EXPECT_EQ(CIniReportUtil::GenerateSql("where t2='$#$'", std::string(1022, 'p'), "600000"),
            "WHERE T2='" + std::string(1022, 'p') + "'");
}

TEST_F(SqlMacrosTest, UpperCasingKeepsChineseBytes) {
  // The trail byte of "中" (0xD6 0xD0) is not in the letter range; "期"
  // (0xC6 0xDA) neither, but ASCII around them is upper-cased.
  EXPECT_EQ(CIniReportUtil::GenerateSql("select a from b where c='中期'", "", ""),
            "SELECT A FROM B WHERE C='中期'");
}

TEST_F(SqlMacrosTest, UrlTakesTheSecurityCodeUnchangedInCase) {
  EXPECT_EQ(CIniReportUtil::GenerateUrl("http://h/q?c=******&x=******", "600000"),
            "http://h/q?c=600000&x=600000");
  EXPECT_EQ(CIniReportUtil::GenerateUrl("http://h/q?c=******", ""), "http://h/q?c=******");
  EXPECT_EQ(CIniReportUtil::GenerateUrl("http://h/Page", "1"), "http://h/Page");
}

TEST(SqlMacrosWithoutLookupTest, NoSecurityMasterGivesEmptyCode) {
  const orbe::ReportLookups saved = orbe::CurrentReportLookups();
  orbe::SetReportLookups({});
  EXPECT_EQ(CIniReportUtil::GenerateSql("x=$SECUCODE$", "", "600000"), "X=''");
  orbe::SetReportLookups(saved);
}

// A page rebuilt asks each cell's statement again: it must get what the
// expansion gives now, whichever input changed since the last page.
TEST_F(SqlMacrosTest, CellStatementsFollowEveryInput) {
  orbe::SetReportLookups(orbe::ReportLookups{nullptr, ReloadableCompanyCode});
  const std::string sql = "select t001 from 100 where t002=$SECUCODE$ and t005=$REPORTTIME$ and t006<$LASTQ$";
  const std::string with_parameter = "select t001 from 100 where t003='$#$' and t002=$SECUCODE$";
  const std::string mid = std::string("2011 ") + orbe::report_words::kMidTerm;
  const std::string annual = std::string("2010 ") + orbe::report_words::kAnnual;
  struct Step {
    const char* what;
    int cell;
    const std::string& sql;
    std::string parameter;
    std::string security;
    const std::string& term;
    std::string company_code;
    orbe::ReportDate today;
    bool changes;  // the statement differs from the last step's
  };
  const Step steps[] = {
      {"first page", 0, sql, "", "600000", mid, "10000001", {2026, 12, 9}, true},
      {"the same page again", 0, sql, "", "600000", mid, "10000001", {2026, 12, 9}, false},
      {"another term", 0, sql, "", "600000", annual, "10000001", {2026, 12, 9}, true},
      {"the security master reloaded", 0, sql, "", "600000", annual, "20000002", {2026, 12, 9}, true},
      {"another security", 0, sql, "", "000001", annual, "30000003", {2026, 12, 9}, true},
      {"a new quarter", 0, sql, "", "000001", annual, "30000003", {2027, 1, 2}, true},
      {"a pop-up's parameter", 0, with_parameter, "p1", "000001", annual, "30000003", {2027, 1, 2}, true},
      {"another parameter", 0, with_parameter, "p2", "000001", annual, "30000003", {2027, 1, 2}, true},
      {"the next cell", 1, sql, "", "000001", annual, "30000003", {2027, 1, 2}, true},
      {"the first cell again", 0, with_parameter, "p2", "000001", annual, "30000003", {2027, 1, 2}, true},
  };
  orbe::CellStatements statements;
  std::string last;
  for (const Step& step : steps) {
    g_company_code = step.company_code;
    orbe::ReportClock::Fix(step.today);
    const std::string expected = CIniReportUtil::ReplaceTimeInSql(
        CIniReportUtil::GenerateSql(step.sql, step.parameter, step.security), step.term);
    EXPECT_EQ(expected != last, step.changes) << step.what;
    EXPECT_EQ(statements.For(step.cell, step.sql, step.parameter, step.security, step.term), expected)
        << step.what;
    last = expected;
  }
  orbe::ReportClock::Fix(std::nullopt);
}

}  // namespace
