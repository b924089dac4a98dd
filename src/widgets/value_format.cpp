#include "orbe/widgets/value_format.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "orbe/platform/text.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/kvx_functions.h"

namespace orbe {
namespace {

struct MoneyUnit {
  const char* name;
  double divisor;
};
constexpr std::array<MoneyUnit, kMoneyUnitCount> kMoneyUnits{{{"元", 1},
                                                              {"千元", 1e3},
                                                              {"万元", 1e4},
                                                              {"十万元", 1e5},
                                                              {"百万元", 1e6},
                                                              {"千万元", 1e7},
                                                              {"亿元", 1e8}}};

// Number formats 0-10: divisor, suffix, thousands separators; 9 and 10 pick
// the divisor by size.
struct NumberFormat {
  double divisor;
  const char* suffix;
  bool thousands;
  bool automatic;
};
constexpr std::array<NumberFormat, 11> kNumberFormats{{
    {1, "", false, false},      // 0 默认
    {1, "", true, false},       // 1 千分位逗号分隔
    {1, "%", false, false},     // 2 半角百分号
    {1, "％", false, false},    // 3 全角百分号
    {1, "‰", false, false},     // 4 千分号
    {1e4, "万", false, false},  // 5 XXX.XX万
    {1e8, "亿", false, false},  // 6 XXX.XX亿
    {1e4, "万", true, false},   // 7 XXX,XXX.XX万
    {1e8, "亿", true, false},   // 8 XXX,XXX.XX亿
    {1, "", false, true},       // 9 自动万亿法
    {1, "", true, true},        // 10 千分位自动万亿法
}};

constexpr std::array<const char*, 5> kZeroTexts{{nullptr, "0", "-", "--", ""}};
constexpr std::array<const char*, 4> kInvalidTexts{{"--", "-", "", "0"}};

std::string GroupThousands(const std::string& fixed) {
  const std::size_t sign = !fixed.empty() && fixed[0] == '-' ? 1 : 0;
  const std::size_t point = std::min(fixed.find('.'), fixed.size());
  std::string out = fixed.substr(0, sign);
  for (std::size_t i = sign; i < point; ++i) {
    if (i > sign && (point - i) % 3 == 0) out += ',';
    out += fixed[i];
  }
  return out + fixed.substr(point);
}

std::string Fixed(double value, int decimals) {
  std::string text = Format("%.*f", std::clamp(decimals, 0, 10), value);
  // "-0.00" reads as a loss that is not there.
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

bool SplitDate(int yyyymmdd, int* year, int* month, int* day) {
  *year = yyyymmdd / 10000;
  *month = yyyymmdd / 100 % 100;
  *day = yyyymmdd % 100;
  return yyyymmdd > 0 && *year >= 1 && *month >= 1 && *month <= 12 && *day >= 1 &&
         *day <= GetLastDay(*year, *month);
}

const char* ReportPeriod(int month, int day, bool short_form) {
  const int month_day = month * 100 + day;
  switch (month_day) {
    case 331:
      return short_form ? "一季" : "年一季报";
    case 630:
      return short_form ? "中报" : "年中报";
    case 930:
      return short_form ? "三季" : "年三季报";
    case 1231:
      return short_form ? "年报" : "年年报";
    default:
      return nullptr;
  }
}

}  // namespace

ListValue ListValue::Text(std::string text) { return {ListValueKind::kText, 0, std::move(text), false}; }
ListValue ListValue::Number(double value) {
  return {ListValueKind::kNumber, value, {}, !std::isfinite(value) || IsInvalidMark(value)};
}
ListValue ListValue::Date(int yyyymmdd) {
  return {ListValueKind::kDate, static_cast<double>(yyyymmdd), {}, false};
}
ListValue ListValue::Invalid(ListValueKind kind) { return {kind, 0, {}, true}; }

bool IsInvalidMark(double value) {
  unsigned char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  return std::all_of(std::begin(bytes), std::end(bytes), [](unsigned char b) { return b == 0x38; });
}

bool IsInvalidMark(std::int32_t value) { return static_cast<std::uint32_t>(value) == 0x38383838u; }

std::string MoneyUnitName(int unit) {
  return unit >= 0 && unit < kMoneyUnitCount ? kMoneyUnits[static_cast<std::size_t>(unit)].name : "";
}

double MoneyUnitDivisor(int unit) {
  return unit >= 0 && unit < kMoneyUnitCount ? kMoneyUnits[static_cast<std::size_t>(unit)].divisor : 1;
}

std::string FormatNumber(double value, int format, int decimals) {
  const NumberFormat& spec =
      kNumberFormats[format >= 0 && format <= 10 ? static_cast<std::size_t>(format) : 0];
  double divisor = spec.divisor;
  const char* suffix = spec.suffix;
  if (spec.automatic) {
    if (std::fabs(value) >= 1e8) {
      divisor = 1e8;
      suffix = "亿";
    } else if (std::fabs(value) >= 1e4) {
      divisor = 1e4;
      suffix = "万";
    }
  }
  const std::string fixed = Fixed(value / divisor, decimals);
  return (spec.thousands ? GroupThousands(fixed) : fixed) + suffix;
}

std::string FormatDate(int yyyymmdd, int format) {
  int y = 0, m = 0, d = 0;
  if (!SplitDate(yyyymmdd, &y, &m, &d)) return "";
  const int yy = y % 100;
  switch (format) {
    case 11:
      return Format("%04d/%02d/%02d", y, m, d);
    case 12:
      return Format("%02d/%02d/%04d", m, d, y);
    case 14:
      return Format("%04d%02d%02d", y, m, d);
    case 15:
      return Format("%02d/%02d/%02d", yy, m, d);
    case 16:
      return Format("%02d/%02d/%02d", m, d, yy);
    case 17:
      return Format("%02d-%02d-%02d", yy, m, d);
    case 18:
      return Format("%02d%02d%02d", yy, m, d);
    case 19:
    case 20: {
      const bool short_form = format == 20;
      if (const char* period = ReportPeriod(m, d, short_form)) {
        return short_form ? Format("%02d%s", yy, period) : Format("%04d%s", y, period);
      }
      break;  // not a report date: the plain form
    }
    default:
      break;
  }
  return Format("%04d-%02d-%02d", y, m, d);
}

std::string FormatListValue(const ListValue& value, const ValueFormat& format) {
  if (value.kind == ListValueKind::kText) return value.text;
  if (value.invalid) {
    const int code = format.invalid_format;
    return code >= 0 && code < static_cast<int>(kInvalidTexts.size())
               ? kInvalidTexts[static_cast<std::size_t>(code)]
               : kInvalidTexts[0];
  }
  if (value.number == 0 && format.zero_format > 0 &&
      format.zero_format < static_cast<int>(kZeroTexts.size())) {
    return kZeroTexts[static_cast<std::size_t>(format.zero_format)];
  }
  const bool date_format = format.format >= 11 && format.format <= 20;
  if (value.kind == ListValueKind::kDate || date_format) {
    const double rounded = std::round(value.number);
    const int date = std::fabs(rounded) < 1e9 ? static_cast<int>(rounded) : 0;
    const std::string text = FormatDate(date, date_format ? format.format : 13);
    return text.empty() ? kInvalidTexts[static_cast<std::size_t>(std::clamp(
                              format.invalid_format, 0, static_cast<int>(kInvalidTexts.size()) - 1))]
                        : text;
  }
  double number = value.number;
  if (format.money && (format.format == 0 || format.format == 1))
    number /= MoneyUnitDivisor(format.money_unit);
  return FormatNumber(number, format.format, format.decimals);
}

bool ParseShownNumber(const std::string& shown, double* number) {
  std::string digits = shown;
  for (const char* suffix : {"%", "％", "‰", "万", "亿"}) {
    const std::size_t length = std::strlen(suffix);
    if (digits.size() > length && digits.compare(digits.size() - length, length, suffix) == 0) {
      digits.resize(digits.size() - length);
      break;
    }
  }
  if (digits.find_first_not_of("0123456789.,-+eE") != std::string::npos) return false;
  return ParseGridNumber(digits, number);
}

}  // namespace orbe
