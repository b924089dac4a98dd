#include "orbe/widgets/kvx_functions.h"

namespace {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Before 1900 the report dates never reach, and the Windows time type never
// went; after 9999 a yyyymmdd date cannot be written.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 9999;

struct DayFields {
  int year;
  int month;
  int day;
};

DayFields SplitDwTime(unsigned date) {
  return {static_cast<int>(date / 10000), static_cast<int>(date / 100 % 100), static_cast<int>(date % 100)};
}

}  // namespace

bool IsRealDate(int year, int month, int day) {
  return year >= kFirstYear && year <= kLastYear && day >= 1 && day <= GetLastDay(year, month);
}

bool IsRealDwTime(unsigned date) {
  const DayFields fields = SplitDwTime(date);
  return IsRealDate(fields.year, fields.month, fields.day);
}

CTime DwTime2CTime(unsigned date) {
  const DayFields fields = SplitDwTime(date);
  return CTime(fields.year, fields.month, fields.day);
}

int IsValidTime(const CTime& time) { return time.IsValid() ? 1 : 0; }

int GetQuarter(const CTime& time) {
  const int month = time.GetMonth();
  return month == 0 ? 0 : (month - 1) / 3 + 1;
}

int GetLastDay(int year, int month) {
  if (month < 1 || month > 12) return 0;
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDaysInMonth[month - 1];
}
