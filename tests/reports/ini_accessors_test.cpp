#include <gtest/gtest.h>

#include <climits>

#include "dictionary/dictionary_test_util.h"
#include "orbe/platform/profile.h"
#include "orbe/reports/cini_report_util.h"

namespace {

using orbe::testing::TempDir;
using orbe::testing::WriteBytes;

TEST(IniAccessorsTest, BoolCharAndType) {
  const TempDir dir;
  const std::string path = dir.File("a.ini");
  WriteBytes(path,
             "[S]\r\nYES=TRUE\r\nNO=FALSE\r\nLOWER=true\r\nPADDED=TRUE \r\nLONG=TRUEFALSETRUEFALSE\r\n"
             "EMPTY=\r\nCH=Right\r\nT1=LISTHISTOGRAM\r\nT2=Chart\r\nT3=IE\r\n");
  const char* p = path.c_str();
  EXPECT_TRUE(CIniReportUtil::GetPrivateProfileBool("S", "YES", p, false));
  EXPECT_FALSE(CIniReportUtil::GetPrivateProfileBool("S", "NO", p, true));
  EXPECT_TRUE(CIniReportUtil::GetPrivateProfileBool("S", "LOWER", p, true));
  EXPECT_FALSE(CIniReportUtil::GetPrivateProfileBool("S", "LOWER", p, false));
  EXPECT_TRUE(CIniReportUtil::GetPrivateProfileBool("S", "PADDED", p, false));  // blanks are trimmed
  EXPECT_FALSE(CIniReportUtil::GetPrivateProfileBool("S", "LONG", p, false));
  EXPECT_TRUE(CIniReportUtil::GetPrivateProfileBool("S", "MISSING", p, true));

  EXPECT_EQ(CIniReportUtil::GetPrivateProfileChar("S", "CH", p, 'C'), 'R');
  EXPECT_EQ(CIniReportUtil::GetPrivateProfileChar("S", "EMPTY", p, 'C'), 'C');
  EXPECT_EQ(CIniReportUtil::GetPrivateProfileChar("S", "MISSING", p, 'D'), 'D');

  EXPECT_EQ(CIniReportUtil::GetPrivateProfileEWndType("S", "T1", p), kWndListHistogram);
  EXPECT_EQ(CIniReportUtil::GetPrivateProfileEWndType("S", "T2", p), kWndNone);
  EXPECT_EQ(CIniReportUtil::GetPrivateProfileEWndType("S", "T3", p), kWndWebBrowser);
  EXPECT_EQ(CIniReportUtil::GetPrivateProfileEWndType(nullptr, "T3", p), kWndNone);
  EXPECT_EQ(CIniReportUtil::GetPrivateProfileEWndType("S", nullptr, p), kWndNone);
  EXPECT_EQ(CIniReportUtil::GetPrivateProfileEWndType("S", "T3", nullptr), kWndNone);
}

TEST(IniAccessorsTest, WriteIntIsDecimal) {
  const TempDir dir;
  const std::string path = dir.File("w.ini");
  EXPECT_TRUE(CIniReportUtil::WritePrivateProfileInt("MAIN", "CONTROL_NUM", -42, path.c_str()));
  EXPECT_EQ(orbe::ProfileString(path, "MAIN", "CONTROL_NUM"), "-42");
}

TEST(IniAccessorsTest, StringToColor) {
  EXPECT_EQ(CIniReportUtil::string2color("255,0,128"), 255u + 0u * 256u + 128u * 65536u);
  EXPECT_EQ(CIniReportUtil::string2color("255"), 255u);
  EXPECT_EQ(CIniReportUtil::string2color("255,10"), 255u + 10u * 256u);
  EXPECT_EQ(CIniReportUtil::string2color(" 1, 2 ,3,99"), 1u + 2u * 256u + 3u * 65536u);
  EXPECT_EQ(CIniReportUtil::string2color("x,,7"), 7u * 65536u);
  EXPECT_EQ(CIniReportUtil::string2color(""), 0u);
  // Out-of-range parts wrap as the colour value does instead of overflowing.
  EXPECT_EQ(CIniReportUtil::string2color("99999999999999999999"), static_cast<COLORREF>(LONG_MAX));
}

}  // namespace
