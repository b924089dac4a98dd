// Local calendar fields to seconds since the epoch, as mktime with tm_isdst
// -1 computes them, without mktime's cost: glibc's mktime reads the zone's
// file status again on every call, which made it the largest single cost of
// building a chart of report dates.
#ifndef ORBE_PLATFORM_LOCAL_TIME_H_
#define ORBE_PLATFORM_LOCAL_TIME_H_

#include <ctime>

namespace orbe {

// Fields out of their usual range carry over as mktime's do (month 13 is
// January of the next year, day 0 the last day of the month before). A local
// time a clock change skipped moves forward by the change; one it repeated
// takes its first instant. -1 when localtime_r cannot read the result.
std::time_t LocalTimeToSeconds(const std::tm& fields);

}  // namespace orbe

#endif  // ORBE_PLATFORM_LOCAL_TIME_H_
