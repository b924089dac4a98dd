// The local date the report macros and the report-term list read. One
// replaceable source, so a test (or a host replaying a past day) fixes the
// date instead of depending on today.
#ifndef ORBE_REPORTS_REPORT_CLOCK_H_
#define ORBE_REPORTS_REPORT_CLOCK_H_

#include <optional>

namespace orbe {

struct ReportDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

class ReportClock {
 public:
  ReportClock() = delete;
  // The fixed date when one is set, else today on the local clock.
  static ReportDate Today();
  // nullopt returns to the local clock.
  static void Fix(std::optional<ReportDate> date);
  static std::optional<ReportDate> Fixed();
};

// Fixes the report date for one scope, then restores the previous source.
class ScopedReportDate {
 public:
  explicit ScopedReportDate(ReportDate date);
  ~ScopedReportDate();
  ScopedReportDate(const ScopedReportDate&) = delete;
  ScopedReportDate& operator=(const ScopedReportDate&) = delete;

 private:
  std::optional<ReportDate> previous_;
};

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_CLOCK_H_
