// How the list shows a value: the format indices 0-20 of a list column, the
// money units of a report, and the codes for zero and invalid values.
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

constexpr int kValueFormatCount = 21;
constexpr int kMoneyUnitCount = 7;
// "元", "千元", ... "亿元" (GBK); "" outside 0..6.
std::string MoneyUnitName(int unit);
// 1, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8; 1 outside 0..6.
double MoneyUnitDivisor(int unit);

// Formats 0-10 of a number with `decimals` places (0..10). Other indices
// show the number as format 0.
std::string FormatNumber(double value, int format, int decimals);
// Formats 11-20 of a date written yyyymmdd; "" for an impossible date. Other
// indices give "yyyy-mm-dd".
std::string FormatDate(int yyyymmdd, int format);

struct ValueFormat {
  int format = 0;
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
