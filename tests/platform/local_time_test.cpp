#include "orbe/platform/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

void UseZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

std::tm Fields(int year, int month, int day, int hour, int minute) {
  std::tm fields{};
  fields.tm_year = year - 1900, fields.tm_mon = month, fields.tm_mday = day;
  fields.tm_hour = hour, fields.tm_min = minute, fields.tm_isdst = -1;
  return fields;
}

bool Shows(std::time_t when, const std::tm& wanted) {
  std::tm local{};
  localtime_r(&when, &local);
  return local.tm_year == wanted.tm_year && local.tm_yday == wanted.tm_yday && local.tm_hour == wanted.tm_hour &&
         local.tm_min == wanted.tm_min;
}

// Every half hour of some years against mktime, in zones without changes,
// with summer time in either hemisphere (one of 30 minutes) and with a change
// of standard offset. A repeated local time must give its first instant.
TEST(LocalTimeToSeconds, AgreesWithMktimeAcrossClockChanges) {
  const struct {
    const char* zone;
    int first_year, last_year;
  } zones[] = {{"UTC0", 1969, 1970},           {"Asia/Shanghai", 1986, 1991},     {"Europe/Berlin", 2020, 2021},
               {"America/New_York", 2007, 2007}, {"Australia/Lord_Howe", 2020, 2020}, {"Europe/Moscow", 2010, 2014}};
  for (const auto& zone : zones) {
    UseZone(zone.zone);
    for (std::tm at = Fields(zone.first_year, 0, 1, 0, 0); at.tm_year <= zone.last_year - 1900; at.tm_min += 30) {
      timegm(&at);  // the calendar's own fields, day of the year included
      at.tm_isdst = -1;
      std::tm copy = at;
      const std::time_t expected = std::mktime(&copy);
      const std::time_t got = orbe::LocalTimeToSeconds(at);
      if (Shows(got, at) && Shows(got + 3600, at)) continue;  // repeated: got is the first
      ASSERT_FALSE(Shows(got - 3600, at) && Shows(got, at)) << zone.zone << " " << got;
      ASSERT_EQ(got, expected) << zone.zone << " " << got;
    }
  }
  unsetenv("TZ");
  tzset();
}

TEST(LocalTimeToSeconds, FieldsOutOfRangeCarryOverAsMktimeDoes) {
  UseZone("Europe/Berlin");
  const std::tm cases[] = {Fields(2023, 12, 1, 0, 0),  Fields(2023, -1, 1, 0, 0), Fields(2023, 2, 0, 12, 0),
                           Fields(2023, 0, 400, 0, 0), Fields(2023, 5, 1, -1, 0), Fields(2023, 5, 1, 0, 1500),
                           Fields(1901, 0, 1, 0, 0),   Fields(2100, 1, 29, 0, 0)};
  for (const std::tm& wanted : cases) {
    std::tm copy = wanted;
    EXPECT_EQ(orbe::LocalTimeToSeconds(wanted), std::mktime(&copy)) << wanted.tm_mon << "/" << wanted.tm_mday;
  }
  unsetenv("TZ");
  tzset();
}

}  // namespace
