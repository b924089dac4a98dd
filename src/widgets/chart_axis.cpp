// The ticks of the chart's axes: number steps of 1, 2 or 5 times a power of
// ten, decades of a logarithmic axis, calendar steps of a time axis, the
// whole steps of a discrete axis and the custom ticks of a series.
#include <algorithm>
#include <cmath>
#include <ctime>

#include "axis_steps.h"
#include "orbe/platform/local_time.h"
#include "orbe/platform/text.h"
#include "orbe/widgets/chart_ctrl.h"

namespace {

constexpr int kMaxTicks = 200;  // a range too wide for its step shows no more than this

// Moments a calendar can name: about 30000 years each way.
constexpr double kMaxSeconds = 1e12;

std::tm LocalTime(double seconds) {
  const std::time_t t = static_cast<std::time_t>(std::floor(std::clamp(std::isfinite(seconds) ? seconds : 0.0,
                                                                       -kMaxSeconds, kMaxSeconds)));
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm;
}

double FromLocal(const std::tm& tm) { return static_cast<double>(orbe::LocalTimeToSeconds(tm)); }

double UnitSeconds(ChartTimeUnit unit) {
  switch (unit) {
    case ChartTimeUnit::kSecond:
      return 1;
    case ChartTimeUnit::kMinute:
      return 60;
    case ChartTimeUnit::kHour:
      return 3600;
    case ChartTimeUnit::kDay:
      return 86400;
    case ChartTimeUnit::kWeek:
      return 7 * 86400;
    case ChartTimeUnit::kMonth:
      return 30.44 * 86400;
    case ChartTimeUnit::kYear:
      return 365.25 * 86400;
  }
  return 86400;
}

// The unit and multiple an automatic time axis takes for its span: about
// five to ten ticks.
std::pair<ChartTimeUnit, int> AutomaticTimeStep(double span) {
  struct Choice {
    ChartTimeUnit unit;
    int multiple;
  };
  static constexpr Choice kChoices[] = {
      {ChartTimeUnit::kSecond, 1},  {ChartTimeUnit::kSecond, 10}, {ChartTimeUnit::kMinute, 1},
      {ChartTimeUnit::kMinute, 10}, {ChartTimeUnit::kHour, 1},    {ChartTimeUnit::kHour, 6},
      {ChartTimeUnit::kDay, 1},     {ChartTimeUnit::kWeek, 1},    {ChartTimeUnit::kMonth, 1},
      {ChartTimeUnit::kMonth, 3},   {ChartTimeUnit::kYear, 1},    {ChartTimeUnit::kYear, 10},
  };
  for (const Choice& choice : kChoices) {
    if (span / (UnitSeconds(choice.unit) * choice.multiple) <= 10) return {choice.unit, choice.multiple};
  }
  const double years = std::ceil(span / UnitSeconds(ChartTimeUnit::kYear) / 10);
  return {ChartTimeUnit::kYear, static_cast<int>(std::clamp(std::isfinite(years) ? years : 1.0, 1.0, 1e6))};
}

const char* AutomaticTimeFormat(ChartTimeUnit unit) {
  switch (unit) {
    case ChartTimeUnit::kSecond:
      return "%H:%M:%S";
    case ChartTimeUnit::kMinute:
    case ChartTimeUnit::kHour:
      return "%H:%M";
    case ChartTimeUnit::kDay:
    case ChartTimeUnit::kWeek:
      return "%m-%d";
    case ChartTimeUnit::kMonth:
      return "%Y-%m";
    case ChartTimeUnit::kYear:
      return "%Y";
  }
  return "%Y-%m-%d";
}

std::string TimeText(double seconds, const std::string& format) {
  const std::tm tm = LocalTime(seconds);
  char buffer[128];
  const std::size_t n = std::strftime(buffer, sizeof buffer, format.c_str(), &tm);
  return std::string(buffer, n);
}

// The next tick after `at` by calendar for months and years, by seconds otherwise.
double NextTime(double at, ChartTimeUnit unit, int multiple) {
  if (unit != ChartTimeUnit::kMonth && unit != ChartTimeUnit::kYear) return at + UnitSeconds(unit) * multiple;
  std::tm tm = LocalTime(at);
  if (unit == ChartTimeUnit::kMonth) {
    tm.tm_mon += multiple;
  } else {
    tm.tm_year += multiple;
  }
  return FromLocal(tm);
}

// The first tick at or after `min`, counted from the reference (or from the
// start of the unit containing `min` when there is no reference).
double FirstTime(double min, double reference, ChartTimeUnit unit, int multiple) {
  if (reference == 0) {
    std::tm tm = LocalTime(min);
    if (unit >= ChartTimeUnit::kMinute) tm.tm_sec = 0;
    if (unit >= ChartTimeUnit::kHour) tm.tm_min = 0;
    if (unit >= ChartTimeUnit::kDay) tm.tm_hour = 0;
    if (unit >= ChartTimeUnit::kMonth) tm.tm_mday = 1;
    if (unit == ChartTimeUnit::kYear) tm.tm_mon = 0;
    reference = FromLocal(tm);
  }
  if (unit == ChartTimeUnit::kMonth || unit == ChartTimeUnit::kYear) {
    double at = reference;
    // Walk back from the reference, then forward to the range.
    for (int guard = 0; at > min && guard < 100000; ++guard) {
      std::tm tm = LocalTime(at);
      (unit == ChartTimeUnit::kMonth ? tm.tm_mon : tm.tm_year) -= multiple;
      at = FromLocal(tm);
    }
    for (int guard = 0; at < min && guard < 100000; ++guard) at = NextTime(at, unit, multiple);
    return at;
  }
  const double step = UnitSeconds(unit) * multiple;
  return reference + std::ceil((min - reference) / step) * step;
}

}  // namespace

double CChartCtrl::GetTickIncrement(ChartAxisPos pos) const {
  const ChartAxis& axis = GetAxis(pos);
  double min = 0, max = 0;
  GetAxisMinMax(pos, &min, &max);
  switch (axis.type) {
    case ChartAxisType::kDateTime: {
      if (!axis.time_auto) return UnitSeconds(axis.time_unit) * std::max(axis.time_multiple, 1);
      const auto [unit, multiple] = AutomaticTimeStep(max - min);
      return UnitSeconds(unit) * multiple;
    }
    case ChartAxisType::kLogarithmic:
      return 1;
    case ChartAxisType::kStandard:
      break;
  }
  if (axis.discrete) return axis.tick > 0 ? std::max(1.0, std::round(axis.tick)) : 1;
  return axis.tick > 0 ? axis.tick : orbe::NiceAxisStep(max - min);
}

std::vector<ChartTick> CChartCtrl::GetTicks(ChartAxisPos pos) const {
  const ChartAxis& axis = GetAxis(pos);
  std::vector<ChartTick> ticks;
  if (!axis.visible) return ticks;
  double min = 0, max = 0;
  GetAxisMinMax(pos, &min, &max);
  const auto unit = [&](std::string text) {
    return axis.unit_position == 0 && !axis.unit.empty() ? text + axis.unit : text;
  };
  if (axis.custom_ticks) {
    if (const ChartSeries* series = GetSerie(axis.active_series)) {
      const bool horizontal = pos == ChartAxisPos::kBottom || pos == ChartAxisPos::kTop;
      for (const ChartPoint& point : series->points) {
        const double value = horizontal ? point.x : point.y;
        if (value >= min && value <= max) ticks.push_back({value, point.user_data});
      }
    }
    return ticks;
  }
  switch (axis.type) {
    case ChartAxisType::kDateTime: {
      auto [time_unit, multiple] = AutomaticTimeStep(max - min);
      if (!axis.time_auto) time_unit = axis.time_unit, multiple = std::max(axis.time_multiple, 1);
      const std::string format = axis.time_format_auto || axis.time_format.empty() ? AutomaticTimeFormat(time_unit)
                                                                                    : axis.time_format;
      for (double at = FirstTime(min, axis.time_reference, time_unit, multiple);
           at <= max && static_cast<int>(ticks.size()) < kMaxTicks; at = NextTime(at, time_unit, multiple)) {
        ticks.push_back({at, unit(TimeText(at, format))});
      }
      return ticks;
    }
    case ChartAxisType::kLogarithmic: {
      for (double decade = std::floor(std::log10(min)); decade <= std::log10(max) + 1e-9 &&
                                                          static_cast<int>(ticks.size()) < kMaxTicks;
           decade += 1) {
        const double value = std::pow(10.0, decade);
        if (value >= min * (1 - 1e-9)) ticks.push_back({value, unit(orbe::Format("%g", value))});
      }
      return ticks;
    }
    case ChartAxisType::kStandard:
      break;
  }
  const double step = GetTickIncrement(pos);
  for (double at = std::ceil(min / step - 1e-9) * step; at <= max + step * 1e-9 &&
                                                       static_cast<int>(ticks.size()) < kMaxTicks;
       at += step) {
    ticks.push_back({at, unit(orbe::AxisNumberText(at, step))});
  }
  return ticks;
}

namespace orbe {

double NiceAxisStep(double span) {
  if (!(span > 0) || !std::isfinite(span)) return 1;
  const double raw = span / 5;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  const double fraction = raw / power;
  return (fraction < 1.5 ? 1 : fraction < 3.5 ? 2 : fraction < 7.5 ? 5 : 10) * power;
}

std::string AxisNumberText(double value, double step) {
  int decimals = 0;
  while (decimals < 10) {
    const double scaled = step * std::pow(10.0, decimals);
    if (std::abs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, std::abs(scaled))) break;
    ++decimals;
  }
  std::string text = orbe::Format("%.*f", decimals, value);
  if (text == "-0" || text.rfind("-0.", 0) == 0) {
    if (std::abs(value) < step / 2) text.erase(0, 1);
  }
  return text;
}

}  // namespace orbe
