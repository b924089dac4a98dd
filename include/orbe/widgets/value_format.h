// How the list shows a value: the value-format indices of a list column (one
// table, the report code reads it too), the money units of a report, and the
// codes for zero and invalid values.
#ifndef ORBE_WIDGETS_VALUE_FORMAT_H_
#define ORBE_WIDGETS_VALUE_FORMAT_H_

#include <cstdint>
#include <string>

namespace orbe {

enum class ListValueKind : int { kText = 0, kNumber = 1, kDate = 2 };

struct ListValue {
  ListValueKind kind = ListValueKind::kText;
  double number = 0;  // a number, or a date as yyyymmdd
  std::string text;   // GBK
  bool invalid = false;

  static ListValue Text(std::string text);
  static ListValue Number(double value);
  static ListValue Date(int yyyymmdd);
  static ListValue Invalid(ListValueKind kind = ListValueKind::kNumber);
};

// The data service marks a missing value by filling its bytes with 0x38.
bool IsInvalidMark(double value);
bool IsInvalidMark(std::int32_t value);

// The value-format index of a list column (COL_DATA_FORMAT) and of the format
// choice of a parameter cell: 0..20 are renderings of the list, 21..24 click
// actions of the report window.
enum ValueFormatIndex : int {
  kFormatDefault = 0,                 // 默认
  kFormatThousands = 1,               // 千分位逗号分隔
  kFormatPercent = 2,                 // 半角百分号
  kFormatFullWidthPercent = 3,        // 全角百分号
  kFormatPerMille = 4,                // 千分号
  kFormatWan = 5,                     // XXX.XX万
  kFormatYi = 6,                      // XXX.XX亿
  kFormatThousandsWan = 7,            // XXX,XXX.XX万
  kFormatThousandsYi = 8,             // XXX,XXX.XX亿
  kFormatAutoWanYi = 9,               // 自动万亿法
  kFormatThousandsAutoWanYi = 10,     // 千分位自动万亿法
  kFormatSlashYearMonthDay = 11,      // yyyy/mm/dd
  kFormatSlashMonthDayYear = 12,      // mm/dd/yyyy
  kFormatDashYearMonthDay = 13,       // yyyy-mm-dd
  kFormatYearMonthDay = 14,           // YYYYMMDD
  kFormatSlashShortYearMonthDay = 15, // YY/MM/DD
  kFormatSlashMonthDayShortYear = 16, // MM/DD/YY
  kFormatDashShortYearMonthDay = 17,  // YY-MM-DD
  kFormatShortYearMonthDay = 18,      // YYMMDD
  kFormatReportPeriod = 19,           // 年报形式
  kFormatShortReportPeriod = 20,      // 短年报格式
  kClickMailTo = 21,                  // the value is an e-mail address
  kClickOpenLink = 22,                // the value is a link
  kClickNothing = 23,
  kClickNotifyHost = 24,              // the value goes to the report's registered window
};
inline constexpr int kLastNumberFormat = kFormatThousandsAutoWanYi;
inline constexpr int kFirstDateFormat = kFormatSlashYearMonthDay;
inline constexpr int kLastRenderingFormat = kFormatShortReportPeriod;
inline constexpr int kValueFormatCount = kLastRenderingFormat + 1;

// The names of the renderings, in index order (GBK bytes, so that code built
// without a GBK execution set reads the same table).
inline constexpr const char* kValueFormatNames[kValueFormatCount] = {
    "\xc4\xac\xc8\xcf",                                                  // 默认
    "\xc7\xa7\xb7\xd6\xce\xbb\xb6\xba\xba\xc5\xb7\xd6\xb8\xf4",          // 千分位逗号分隔
    "\xb0\xeb\xbd\xc7\xb0\xd9\xb7\xd6\xba\xc5",                          // 半角百分号
    "\xc8\xab\xbd\xc7\xb0\xd9\xb7\xd6\xba\xc5",                          // 全角百分号
    "\xc7\xa7\xb7\xd6\xba\xc5",                                          // 千分号
    "XXX.XX\xcd\xf2",                                                    // XXX.XX万
    "XXX.XX\xd2\xda",                                                    // XXX.XX亿
    "XXX,XXX.XX\xcd\xf2",                                                // XXX,XXX.XX万
    "XXX,XXX.XX\xd2\xda",                                                // XXX,XXX.XX亿
    "\xd7\xd4\xb6\xaf\xcd\xf2\xd2\xda\xb7\xa8",                          // 自动万亿法
    "\xc7\xa7\xb7\xd6\xce\xbb\xd7\xd4\xb6\xaf\xcd\xf2\xd2\xda\xb7\xa8",  // 千分位自动万亿法
    "yyyy/mm/dd",
    "mm/dd/yyyy",
    "yyyy-mm-dd",
    "YYYYMMDD",
    "YY/MM/DD",
    "MM/DD/YY",
    "YY-MM-DD",
    "YYMMDD",
    "\xc4\xea\xb1\xa8\xd0\xce\xca\xbd",                                  // 年报形式
    "\xb6\xcc\xc4\xea\xb1\xa8\xb8\xf1\xca\xbd",                          // 短年报格式
};

// The money units of a report, in the order of its unit choice (index 0,
// "元", is the initial one), with the divisor the list applies.
struct MoneyUnit {
  const char* name;  // GBK
  double divisor;
};
inline constexpr MoneyUnit kMoneyUnits[] = {
    {"\xd4\xaa", 1},                  // 元
    {"\xc7\xa7\xd4\xaa", 1e3},          // 千元
    {"\xcd\xf2\xd4\xaa", 1e4},          // 万元
    {"\xca\xae\xcd\xf2\xd4\xaa", 1e5},  // 十万元
    {"\xb0\xd9\xcd\xf2\xd4\xaa", 1e6},  // 百万元
    {"\xc7\xa7\xcd\xf2\xd4\xaa", 1e7},  // 千万元
    {"\xd2\xda\xd4\xaa", 1e8},          // 亿元
};
inline constexpr int kMoneyUnitCount = static_cast<int>(sizeof kMoneyUnits / sizeof kMoneyUnits[0]);
// "元", "千元", ... "亿元" (GBK); "" outside 0..6.
std::string MoneyUnitName(int unit);
// 1, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8; 1 outside 0..6.
double MoneyUnitDivisor(int unit);

// Number formats (kFormatDefault .. kLastNumberFormat) with `decimals` places
// (0..10). Other indices show the number as kFormatDefault.
std::string FormatNumber(double value, int format, int decimals);
// Date formats (kFirstDateFormat .. kLastRenderingFormat) of a date written
// yyyymmdd; "" for an impossible date. Other indices give "yyyy-mm-dd".
std::string FormatDate(int yyyymmdd, int format);

// A column's value format: the index and how zero, invalid and money values show.
struct ValueFormat {
  int format = kFormatDefault;
  int decimals = 2;
  int zero_format = 0;
  int invalid_format = 0;
  // Money columns are divided by the unit before formats 0 and 1.
  bool money = false;
  int money_unit = 0;
};

// The text of one value by its column's format.
std::string FormatListValue(const ListValue& value, const ValueFormat& format);
// Reads back the number of a shown text ("1,234.50万" -> 1234.5); false for
// texts that are not a number with an optional unit suffix.
bool ParseShownNumber(const std::string& shown, double* number);

}  // namespace orbe

#endif  // ORBE_WIDGETS_VALUE_FORMAT_H_
