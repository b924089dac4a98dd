#include "orbe/reports/report_clock.h"

#include <ctime>
#include <mutex>

namespace orbe {
namespace {

struct ClockState {
  std::mutex mutex;
  std::optional<ReportDate> fixed;
};

ClockState& State() {
  static ClockState state;
  return state;
}

ReportDate LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return ReportDate{1970, 1, 1};
  return ReportDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace

ReportDate ReportClock::Today() {
  if (const std::optional<ReportDate> fixed = Fixed()) return *fixed;
  return LocalToday();
}

void ReportClock::Fix(std::optional<ReportDate> date) {
  ClockState& state = State();
  const std::lock_guard lock(state.mutex);
  state.fixed = date;
}

std::optional<ReportDate> ReportClock::Fixed() {
  ClockState& state = State();
  const std::lock_guard lock(state.mutex);
  return state.fixed;
}

ScopedReportDate::ScopedReportDate(ReportDate date) : previous_(ReportClock::Fixed()) {
  ReportClock::Fix(date);
}

ScopedReportDate::~ScopedReportDate() { ReportClock::Fix(previous_); }

}  // namespace orbe
