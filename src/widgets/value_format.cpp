#include "orbe/widgets/value_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "orbe/platform/text.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/kvx_functions.h"

namespace orbe {
namespace {

// The number formats by index: divisor, suffix, thousands separators;
// the automatic ones pick the divisor by size.
struct NumberFormat {
  double divisor;
  const char* suffix;
  bool thousands;
  bool automatic;
};
constexpr std::array<NumberFormat, kLastNumberFormat + 1> kNumberFormats{{
    {1, "", false, false},      // kFormatDefault
    {1, "", true, false},       // kFormatThousands
    {1, "%", false, false},     // kFormatPercent
    {1, "％", false, false},    // kFormatFullWidthPercent
    {1, "‰", false, false},     // kFormatPerMille
    {1e4, "万", false, false},  // kFormatWan
    {1e8, "亿", false, false},  // kFormatYi
    {1e4, "万", true, false},   // kFormatThousandsWan
    {1e8, "亿", true, false},   // kFormatThousandsYi
    {1, "", false, true},       // kFormatAutoWanYi
    {1, "", true, true},        // kFormatThousandsAutoWanYi
}};

constexpr std::array<const char*, 5> kZeroTexts{{nullptr, "0", "-", "--", ""}};
constexpr std::array<const char*, 4> kInvalidTexts{{"--", "-", "", "0"}};

// Digits of a shown number, built in place: a report page formats every
// value of its lists, and only the finished text is a string.
class NumberText {
 public:
  std::string_view View() const { return {text_.data(), length_}; }
  std::size_t size() const { return length_; }
  char* Begin() { return text_.data(); }
  char* Limit() { return text_.data() + text_.size(); }
  void SetEnd(const char* end) { length_ = static_cast<std::size_t>(end - text_.data()); }

 private:
  // The largest double has 309 integer digits, with ten decimals and a sign.
  std::array<char, 352> text_;
  std::size_t length_ = 0;
};

// Up to four decimals, the digits come from one exact product: a double's
// 53-bit significand times 10^4 (whose odd part, 5^4, takes 10 bits) fits
// the 64 bits of a long double's, so rounding that product to an integer in
// the current mode rounds the exact binary value, as printf does. False for
// what it cannot take (more decimals, huge values, infinities, NaN).
bool ExactFixed(double value, int decimals, NumberText* text) {
  static constexpr std::array<std::uint64_t, 5> kPowers{{1, 10, 100, 1000, 10000}};
  if (decimals < 0 || decimals >= static_cast<int>(kPowers.size()) || !(std::fabs(value) < 1e14)) return false;
  const std::uint64_t power = kPowers[static_cast<std::size_t>(decimals)];
  const long double scaled = std::rint(static_cast<long double>(std::fabs(value)) * static_cast<long double>(power));
  const auto units = static_cast<std::uint64_t>(scaled);
  char* end = text->Begin();
  if (std::signbit(value)) *end++ = '-';
  end = std::to_chars(end, text->Limit(), units / power).ptr;
  if (decimals > 0) {
    *end++ = '.';
    std::uint64_t fraction = units % power;
    for (int i = decimals - 1; i >= 0; --i) {
      end[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    end += decimals;
  }
  text->SetEnd(end);
  return true;
}

// printf's "%.*f" digits (both round the exact binary value), without
// printf's cost.
void Fixed(double value, int decimals, NumberText* text) {
  decimals = std::clamp(decimals, 0, 10);
  if (!ExactFixed(value, decimals, text)) {
    text->SetEnd(std::to_chars(text->Begin(), text->Limit(), value, std::chars_format::fixed, decimals).ptr);
  }
  // "-0.00" reads as a loss that is not there.
  const std::string_view digits = text->View();
  if (digits[0] == '-' && digits.find_first_not_of("-0.") == std::string_view::npos) {
    std::memmove(text->Begin(), text->Begin() + 1, digits.size() - 1);
    text->SetEnd(text->Begin() + digits.size() - 1);
  }
}

// Writes the digits with a comma before every third integer digit from the
// point; `out` has room for the digits and a third more.
char* WriteGroupedThousands(std::string_view fixed, char* out) {
  const std::size_t sign = !fixed.empty() && fixed[0] == '-' ? 1 : 0;
  const std::size_t point = std::min(fixed.find('.'), fixed.size());
  if (sign != 0) *out++ = '-';
  for (std::size_t i = sign; i < point; ++i) {
    if (i > sign && (point - i) % 3 == 0) *out++ = ',';
    *out++ = fixed[i];
  }
  const std::string_view rest = fixed.substr(point);
  return std::copy(rest.begin(), rest.end(), out);
}

// Appends a non-negative value with at least `width` digits, as "%0*d".
void AppendPadded(int value, int width, std::string* out) {
  std::array<char, 12> digits;
  char* const end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  const int length = static_cast<int>(end - digits.data());
  if (length < width) out->append(static_cast<std::size_t>(width - length), '0');
  out->append(digits.data(), end);
}

// The plain date forms: the fields in order ('Y' the year in four digits,
// 'y' in two, 'M' the month, 'D' the day) and what stands between them.
struct DateForm {
  int format;
  const char* fields;
  const char* separator;
};
constexpr std::array<DateForm, 8> kDateForms{{
    {kFormatDashYearMonthDay, "YMD", "-"},  // first: every other index falls back to it
    {kFormatSlashYearMonthDay, "YMD", "/"},
    {kFormatSlashMonthDayYear, "MDY", "/"},
    {kFormatYearMonthDay, "YMD", ""},
    {kFormatSlashShortYearMonthDay, "yMD", "/"},
    {kFormatSlashMonthDayShortYear, "MDy", "/"},
    {kFormatDashShortYearMonthDay, "yMD", "-"},
    {kFormatShortYearMonthDay, "yMD", ""},
}};

std::string PlainDate(int year, int month, int day, int format) {
  const DateForm* form = &kDateForms[0];
  for (const DateForm& candidate : kDateForms) {
    if (candidate.format == format) form = &candidate;
  }
  std::string text;
  text.reserve(10);
  for (const char* field = form->fields; *field != '\0'; ++field) {
    if (field != form->fields) text += form->separator;
    switch (*field) {
      case 'Y':
        AppendPadded(year, 4, &text);
        break;
      case 'y':
        AppendPadded(year % 100, 2, &text);
        break;
      case 'M':
        AppendPadded(month, 2, &text);
        break;
      default:
        AppendPadded(day, 2, &text);
        break;
    }
  }
  return text;
}

bool SplitDate(int yyyymmdd, int* year, int* month, int* day) {
  *year = yyyymmdd / 10000;
  *month = yyyymmdd / 100 % 100;
  *day = yyyymmdd % 100;
  return yyyymmdd > 0 && *year >= 1 && *month >= 1 && *month <= 12 && *day >= 1 &&
         *day <= GetLastDay(*year, *month);
}

bool IsDateFormat(int format) { return format >= kFirstDateFormat && format <= kLastRenderingFormat; }

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
  return unit >= 0 && unit < kMoneyUnitCount ? kMoneyUnits[unit].name : "";
}

double MoneyUnitDivisor(int unit) {
  return unit >= 0 && unit < kMoneyUnitCount ? kMoneyUnits[unit].divisor : 1;
}

std::string FormatNumber(double value, int format, int decimals) {
  const NumberFormat& spec =
      kNumberFormats[format >= kFormatDefault && format <= kLastNumberFormat ? static_cast<std::size_t>(format) : 0];
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
  NumberText digits;
  Fixed(value / divisor, decimals, &digits);
  if (!spec.thousands && suffix[0] == '\0') return std::string(digits.View());
  // Grouped and suffixed in place, so that the string is allocated once.
  std::array<char, sizeof(NumberText) * 4 / 3 + 8> shown;
  char* end = spec.thousands ? WriteGroupedThousands(digits.View(), shown.data())
                             : std::copy_n(digits.Begin(), digits.size(), shown.data());
  end = std::copy(suffix, suffix + std::strlen(suffix), end);
  return std::string(shown.data(), end);
}

std::string FormatDate(int yyyymmdd, int format) {
  int y = 0, m = 0, d = 0;
  if (!SplitDate(yyyymmdd, &y, &m, &d)) return "";
  if (format == kFormatReportPeriod || format == kFormatShortReportPeriod) {
    const bool short_form = format == kFormatShortReportPeriod;
    if (const char* period = ReportPeriod(m, d, short_form)) {
      std::string text;
      if (short_form) {
        AppendPadded(y % 100, 2, &text);
      } else {
        AppendPadded(y, 4, &text);
      }
      return text + period;
    }
    // not a report date: the plain form
  }
  return PlainDate(y, m, d, format);
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
  const bool date_format = IsDateFormat(format.format);
  if (value.kind == ListValueKind::kDate || date_format) {
    const double rounded = std::round(value.number);
    const int date = std::fabs(rounded) < 1e9 ? static_cast<int>(rounded) : 0;
    const std::string text = FormatDate(date, date_format ? format.format : kFormatDashYearMonthDay);
    return text.empty() ? kInvalidTexts[static_cast<std::size_t>(std::clamp(
                              format.invalid_format, 0, static_cast<int>(kInvalidTexts.size()) - 1))]
                        : text;
  }
  double number = value.number;
  if (format.money && (format.format == kFormatDefault || format.format == kFormatThousands))
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
