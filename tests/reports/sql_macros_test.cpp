#include <gtest/gtest.h>

#include <string>

#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_lookups.h"

namespace {

// A security master of two securities, standing in for the main session's.
std::string FakeCompanyCode(const std::string& security_code) {
  if (security_code == "600000") return "10000001";
  if (security_code == "LONG") return "123456789012345";
  return {};
}

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

}  // namespace
