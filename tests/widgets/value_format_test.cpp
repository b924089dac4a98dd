#include "orbe/widgets/value_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using orbe::FormatDate;
using orbe::FormatListValue;
using orbe::FormatNumber;
using orbe::ListValue;

TEST(ValueFormat, NumberFormatsZeroToTen) {
  const double v = 123456789.126;
  EXPECT_EQ(FormatNumber(v, 0, 2), "123456789.13");
  EXPECT_EQ(FormatNumber(v, 1, 2), "123,456,789.13");
  EXPECT_EQ(FormatNumber(12.5, 2, 1), "12.5%");
  EXPECT_EQ(FormatNumber(12.5, 3, 1), "12.5\xa3\xa5");   // ％
  EXPECT_EQ(FormatNumber(12.5, 4, 1), "12.5\xa1\xeb");   // ‰
  EXPECT_EQ(FormatNumber(v, 5, 2), "12345.68\xcd\xf2");  // 万
  EXPECT_EQ(FormatNumber(v, 6, 2), "1.23\xd2\xda");      // 亿
  EXPECT_EQ(FormatNumber(v, 7, 2), "12,345.68\xcd\xf2");
  EXPECT_EQ(FormatNumber(1234567890123.0, 8, 1), "12,345.7\xd2\xda");
  // Automatic: 亿 from 1e8, 万 from 1e4, plain below; by magnitude for losses.
  EXPECT_EQ(FormatNumber(v, 9, 2), "1.23\xd2\xda");
  EXPECT_EQ(FormatNumber(-56789, 9, 2), "-5.68\xcd\xf2");
  EXPECT_EQ(FormatNumber(9999, 9, 0), "9999");
  EXPECT_EQ(FormatNumber(123456789012.0, 10, 0), "1,235\xd2\xda");
  EXPECT_EQ(FormatNumber(-1234567, 1, 0), "-1,234,567");
  EXPECT_EQ(FormatNumber(-0.001, 0, 2), "0.00") << "no negative zero";
  EXPECT_EQ(FormatNumber(5, 99, 1), "5.0") << "unknown index shows as 0";
}

// The plain format shows printf's "%.*f" digits, ties and extremes included
// (a "-0" aside, which reads as a loss that is not there).
TEST(ValueFormat, PlainDigitsAreThoseOfPrintf) {
  constexpr double kMax = std::numeric_limits<double>::max();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const double values[] = {0.125, 0.375, 2.5,    1.005,  1e15 + 0.5, 123456.785, 0.1 + 0.2, 1e-7,
                           7e22,  kMax,  5e-324, -2.675, -1e300,     kInfinity,  -kInfinity};
  for (const double value : values) {
    for (const int decimals : {0, 1, 2, 4, 10, 11, -1}) {
      char expected[400];
      const int shown = decimals < 0 ? 0 : (decimals > 10 ? 10 : decimals);
      std::snprintf(expected, sizeof expected, "%.*f", shown, value);
      EXPECT_EQ(FormatNumber(value, 0, decimals), expected) << value << " " << decimals;
    }
  }
  EXPECT_EQ(FormatNumber(std::nan(""), 0, 2), "nan");
}

// Random values over the magnitudes a report shows, and exact ties (binary
// fractions with few bits), against printf, for the decimals that take the
// short way and those around it.
TEST(ValueFormat, RandomDigitsAreThoseOfPrintf) {
  std::mt19937_64 random(20261208);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::vector<double> values;
  for (int exponent = -8; exponent <= 16; ++exponent) {
    for (int i = 0; i < 200; ++i) values.push_back(mantissa(random) * std::pow(10.0, exponent));
  }
  for (int i = 0; i < 2000; ++i) {
    const auto whole = static_cast<double>(static_cast<std::int64_t>(random() % 2000001) - 1000000);
    values.push_back(whole + static_cast<double>(random() % 64) / 64);
  }
  values.insert(values.end(), {99999999999999.98, 1e14, -1e14, 0.00005, -0.00005, 0.0, -0.0});
  for (const double value : values) {
    for (int decimals = 0; decimals <= 5; ++decimals) {
      char expected[400];
      std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
      const std::string printed = expected;
      const bool negative_zero = printed[0] == '-' && printed.find_first_not_of("-0.") == std::string::npos;
      ASSERT_EQ(FormatNumber(value, 0, decimals), negative_zero ? printed.substr(1) : printed)
          << std::hexfloat << value << " " << decimals;
    }
  }
}

TEST(ValueFormat, DateFormatsElevenToTwenty) {
  const int d = 20110630;
  const char* expected[] = {"2011/06/30",        "06/30/2011", "2011-06-30",
                            "20110630",          "11/06/30",   "06/30/11",
                            "11-06-30",          "110630",     "2011\xc4\xea\xd6\xd0\xb1\xa8",
                            "11\xd6\xd0\xb1\xa8"};
  for (int format = 11; format <= 20; ++format)
    EXPECT_EQ(FormatDate(d, format), expected[format - 11]) << format;
  EXPECT_EQ(FormatDate(20111231, 19), "2011\xc4\xea\xc4\xea\xb1\xa8");  // 2011年年报
  EXPECT_EQ(FormatDate(20110331, 20), "11\xd2\xbb\xbc\xbe");            // 11一季
  EXPECT_EQ(FormatDate(20110815, 19), "2011-08-15") << "not a report date";
  EXPECT_EQ(FormatDate(20230230, 13), "");
  EXPECT_EQ(FormatDate(20231301, 13), "");
  EXPECT_EQ(FormatDate(0, 13), "");
  EXPECT_EQ(FormatDate(20240229, 14), "20240229");
}

TEST(ValueFormat, ZeroAndInvalidCodes) {
  orbe::ValueFormat format;
  format.decimals = 2;
  const char* zero_texts[] = {"0.00", "0", "-", "--", ""};
  for (int code = 0; code < 5; ++code) {
    format.zero_format = code;
    EXPECT_EQ(FormatListValue(ListValue::Number(0), format), zero_texts[code]) << code;
  }
  format.zero_format = 0;
  const char* invalid_texts[] = {"--", "-", "", "0"};
  for (int code = 0; code < 4; ++code) {
    format.invalid_format = code;
    EXPECT_EQ(FormatListValue(ListValue::Invalid(), format), invalid_texts[code]) << code;
  }
  double marked = 0;
  std::memset(&marked, 0x38, sizeof marked);
  EXPECT_TRUE(orbe::IsInvalidMark(marked));
  EXPECT_TRUE(ListValue::Number(marked).invalid);
  EXPECT_TRUE(orbe::IsInvalidMark(std::int32_t{0x38383838}));
  EXPECT_FALSE(orbe::IsInvalidMark(1.0));
  // An impossible date is shown by the invalid code, not as a wrong day.
  format.invalid_format = 1;
  EXPECT_EQ(FormatListValue(ListValue::Date(20230230), format), "-");
  EXPECT_EQ(FormatListValue(ListValue::Date(20230228), format), "2023-02-28");
  format.format = 14;
  EXPECT_EQ(FormatListValue(ListValue::Number(20230228), format), "20230228");
  EXPECT_EQ(FormatListValue(ListValue::Text("\xd6\xd0"), format), "\xd6\xd0");
}

TEST(ValueFormat, MoneyUnitsScaleMoneyColumnsOnly) {
  EXPECT_EQ(orbe::MoneyUnitName(0), "\xd4\xaa");          // 元
  EXPECT_EQ(orbe::MoneyUnitName(6), "\xd2\xda\xd4\xaa");  // 亿元
  EXPECT_EQ(orbe::MoneyUnitName(7), "");
  EXPECT_DOUBLE_EQ(orbe::MoneyUnitDivisor(3), 1e5);
  orbe::ValueFormat format{1, 2, 0, 0, true, 2};
  EXPECT_EQ(FormatListValue(ListValue::Number(123456789), format), "12,345.68");
  format.money = false;
  EXPECT_EQ(FormatListValue(ListValue::Number(123456789), format), "123,456,789.00");
  // Formats with their own scale are not scaled twice.
  format = {5, 1, 0, 0, true, 6};
  EXPECT_EQ(FormatListValue(ListValue::Number(50000), format), "5.0\xcd\xf2");
}

TEST(ValueFormat, ShownNumbersReadBack) {
  double n = 0;
  EXPECT_TRUE(orbe::ParseShownNumber("1,234.50\xcd\xf2", &n));
  EXPECT_DOUBLE_EQ(n, 1234.5);
  EXPECT_TRUE(orbe::ParseShownNumber("12.5\xa3\xa5", &n));
  EXPECT_DOUBLE_EQ(n, 12.5);
  EXPECT_FALSE(orbe::ParseShownNumber("2011-06-30", &n));
  EXPECT_FALSE(orbe::ParseShownNumber("--", &n));
}

}  // namespace
