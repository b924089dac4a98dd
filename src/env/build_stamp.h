// The build stamp, taken from the compiler's __DATE__ and __TIME__ at
// compile time of build_stamp.cpp.
#ifndef ORBE_ENV_BUILD_STAMP_H_
#define ORBE_ENV_BUILD_STAMP_H_

#include <string>

namespace orbe {

struct BuildTime {
  int year = 0;   // e.g. 2026
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;   // 0..23
};

// Parses the compiler's "Mmm dd yyyy" and "hh:mm:ss" texts; fields it cannot
// read stay 0.
BuildTime ParseBuildTime(const char* date, const char* time);

// The module's build time.
BuildTime ModuleBuildTime();

// "%d%02d%02d%02d" of year % 100, month, day and hour.
std::string BuildStamp(const BuildTime& when);

}  // namespace orbe

#endif  // ORBE_ENV_BUILD_STAMP_H_
