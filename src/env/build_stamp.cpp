#include "env/build_stamp.h"

#include <cstdio>
#include <cstring>

#include "orbe/platform/text.h"

namespace orbe {

BuildTime ParseBuildTime(const char* date, const char* time) {
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  BuildTime when;
  char month_name[4] = {};
  if (date != nullptr && std::sscanf(date, "%3s %d %d", month_name, &when.day, &when.year) == 3) {
    for (int i = 0; i < 12; ++i) {
      if (std::strcmp(month_name, kMonths[i]) == 0) when.month = i + 1;
    }
  }
  if (time == nullptr || std::sscanf(time, "%d", &when.hour) != 1) when.hour = 0;
  return when;
}

BuildTime ModuleBuildTime() { return ParseBuildTime(__DATE__, __TIME__); }

std::string BuildStamp(const BuildTime& when) {
  return Format("%d%02d%02d%02d", when.year % 100, when.month, when.day, when.hour);
}

}  // namespace orbe
