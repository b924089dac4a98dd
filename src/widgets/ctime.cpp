#include "orbe/widgets/ctime.h"

#include "orbe/platform/local_time.h"
#include "orbe/widgets/kvx_functions.h"

namespace {

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

bool IsRealDateTime(int year, int month, int day, int hour, int minute, int second) {
  return IsRealDate(year, month, day) && InRange(hour, 0, 23) && InRange(minute, 0, 59) &&
         InRange(second, 0, 59);
}

}  // namespace

CTime::CTime(int year, int month, int day, int hour, int minute, int second) : time_(kInvalid) {
  if (!IsRealDateTime(year, month, day, hour, minute, second)) return;
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  // The zone rules decide summer time; a local time skipped by a clock
  // change moves forward, as it does on Windows.
  time_ = orbe::LocalTimeToSeconds(fields);
}

CTime CTime::GetCurrentTime() { return CTime(std::time(nullptr)); }

bool CTime::Fields(std::tm& fields) const {
  return IsValid() && localtime_r(&time_, &fields) != nullptr;
}

int CTime::GetYear() const {
  std::tm fields{};
  return Fields(fields) ? fields.tm_year + 1900 : 0;
}

int CTime::GetMonth() const {
  std::tm fields{};
  return Fields(fields) ? fields.tm_mon + 1 : 0;
}

int CTime::GetDay() const {
  std::tm fields{};
  return Fields(fields) ? fields.tm_mday : 0;
}

int CTime::GetHour() const {
  std::tm fields{};
  return Fields(fields) ? fields.tm_hour : 0;
}

int CTime::GetMinute() const {
  std::tm fields{};
  return Fields(fields) ? fields.tm_min : 0;
}

int CTime::GetSecond() const {
  std::tm fields{};
  return Fields(fields) ? fields.tm_sec : 0;
}

int CTime::GetDayOfWeek() const {
  std::tm fields{};
  return Fields(fields) ? fields.tm_wday + 1 : 0;
}
