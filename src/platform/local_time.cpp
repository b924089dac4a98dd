#include "orbe/platform/local_time.h"

#include <cstdint>

namespace orbe {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t FloorDivide(std::int64_t value, std::int64_t divisor) {
  const std::int64_t quotient = value / divisor;
  return value % divisor < 0 ? quotient - 1 : quotient;
}

// Days from 1970-01-01 to year-month-day of the proleptic Gregorian calendar
// (month 1..12), after Howard Hinnant's days_from_civil.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = FloorDivide(year, 400);
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

// The fields read as if the zone were UTC.
std::int64_t UniversalSeconds(const std::tm& fields) {
  const std::int64_t months = static_cast<std::int64_t>(fields.tm_year) * 12 + fields.tm_mon;
  const std::int64_t year = 1900 + FloorDivide(months, 12);
  const std::int64_t month = months - FloorDivide(months, 12) * 12 + 1;
  const std::int64_t days = DaysFromCivil(year, month, 1) + fields.tm_mday - 1;
  return days * kSecondsPerDay + static_cast<std::int64_t>(fields.tm_hour) * 3600 +
         static_cast<std::int64_t>(fields.tm_min) * 60 + fields.tm_sec;
}

// The zone's offset east of UTC at `when`; false when it cannot be read.
bool OffsetAt(std::time_t when, std::int64_t* offset) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return false;
  *offset = UniversalSeconds(local) - when;
  return true;
}

}  // namespace

std::time_t LocalTimeToSeconds(const std::tm& fields) {
  const std::int64_t wanted = UniversalSeconds(fields);
  // A local time is at most a day from the same fields read as UTC, so the
  // offsets a day either side bracket any clock change that bears on it.
  std::int64_t before = 0;
  std::int64_t after = 0;
  if (!OffsetAt(static_cast<std::time_t>(wanted - kSecondsPerDay), &before) ||
      !OffsetAt(static_cast<std::time_t>(wanted + kSecondsPerDay), &after)) {
    return -1;
  }
  const std::int64_t early = wanted - (before > after ? before : after);
  const std::int64_t late = wanted - (before > after ? after : before);
  // No change near it (nearly every date): both readings give the answer.
  if (early == late) return static_cast<std::time_t>(early);
  std::int64_t offset = 0;
  if (OffsetAt(static_cast<std::time_t>(early), &offset) && early + offset == wanted) {
    return static_cast<std::time_t>(early);
  }
  // Either the one answer, or a time the change skipped: read with the offset
  // before it, that lands after it.
  return static_cast<std::time_t>(late);
}

}  // namespace orbe
