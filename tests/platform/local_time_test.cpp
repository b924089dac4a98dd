#include "orbe/platform/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace {

struct ZoneCase {
  const char* zone;
  int first_year;
  int last_year;
};

// Zones with no change, with summer time (both hemispheres, one of 30
// minutes) and with a change of standard offset.
constexpr ZoneCase kZones[] = {
    {"UTC0", 1969, 1971},
    {"Asia/Shanghai", 1985, 1992},
    {"Europe/Berlin", 2019, 2022},
    {"America/New_York", 2006, 2008},
    {"Australia/Lord_Howe", 2020, 2021},
    {"Europe/Moscow", 2010, 2015},
};

class ZoneScope {
 public:
  explicit ZoneScope(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ZoneScope() {
    had_ ? setenv("TZ", old_.c_str(), 1) : unsetenv("TZ");
    tzset();
  }

 private:
  std::string old_;
  bool had_ = false;
};

std::tm Fields(int year, int month, int day, int hour, int minute) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_isdst = -1;
  return fields;
}

int DaysIn(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0) ? 366 : 365; }

bool ShowsFields(std::time_t when, const std::tm& wanted) {
  std::tm local{};
  localtime_r(&when, &local);
  return local.tm_year == wanted.tm_year && local.tm_mon == wanted.tm_mon &&
         local.tm_mday == wanted.tm_mday && local.tm_hour == wanted.tm_hour && local.tm_min == wanted.tm_min;
}

// Every half hour of the years, against mktime. A repeated local time has
// two right answers: ours must show the fields and be the earlier instant.
TEST(LocalTimeToSeconds, AgreesWithMktimeEveryHalfHourAcrossClockChanges) {
  for (const ZoneCase& zone : kZones) {
    const ZoneScope scope(zone.zone);
    int repeated = 0;
    int skipped = 0;
    for (int year = zone.first_year; year <= zone.last_year; ++year) {
      for (int day = 1; day <= DaysIn(year); ++day) {
        for (int half_hour = 0; half_hour < 48; ++half_hour) {
          std::tm wanted = Fields(year, 0, day, half_hour / 2, half_hour % 2 * 30);
          timegm(&wanted);  // the calendar's own month and day
          wanted.tm_isdst = -1;
          std::tm copy = wanted;
          const std::time_t expected = std::mktime(&copy);
          const std::time_t got = orbe::LocalTimeToSeconds(wanted);
          if (ShowsFields(got, wanted) &&
              (ShowsFields(got + 3600, wanted) || ShowsFields(got - 3600, wanted))) {
            ++repeated;
            EXPECT_TRUE(ShowsFields(expected, wanted)) << zone.zone << " " << year << " day " << day;
            EXPECT_FALSE(ShowsFields(got - 3600, wanted)) << zone.zone << " " << year << " day " << day;
            continue;
          }
          if (!ShowsFields(got, wanted)) ++skipped;
          ASSERT_EQ(got, expected) << zone.zone << " " << year << " day " << day << " " << half_hour / 2
                                   << ":" << half_hour % 2 * 30;
        }
      }
    }
    const bool changes = std::string(zone.zone) != "UTC0";
    EXPECT_EQ(skipped > 0, changes) << zone.zone;
  }
}

TEST(LocalTimeToSeconds, FieldsOutOfRangeCarryOverAsMktimeDoes) {
  const ZoneScope scope("Europe/Berlin");
  const struct {
    int year, month, day, hour, minute;
  } cases[] = {
      {2023, 12, 1, 0, 0},    // month 13
      {2023, -1, 1, 0, 0},    // month before January
      {2023, 2, 0, 12, 0},    // day 0 of March
      {2023, 0, 400, 0, 0},   // the 400th of January
      {2023, 5, 1, -1, 0},    // an hour before midnight
      {2023, 5, 1, 0, 1500},  // 25 hours of minutes
      {1901, 0, 1, 0, 0},    {2100, 1, 29, 0, 0},
  };
  for (const auto& c : cases) {
    const std::tm wanted = Fields(c.year, c.month, c.day, c.hour, c.minute);
    std::tm copy = wanted;
    EXPECT_EQ(orbe::LocalTimeToSeconds(wanted), std::mktime(&copy))
        << c.year << "-" << c.month << "-" << c.day;
  }
}

}  // namespace
