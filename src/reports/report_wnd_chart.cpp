// Bar-chart cells: one bar per period of a date series. The reply's records
// become (date, value) points; the points inside the period range are grouped
// by year, quarter, month or day, each group's values are combined, missing
// periods are filled with 0, and the groups become bars.
#include <array>
#include <charconv>
#include <cstdlib>
#include <map>
#include <vector>

#include "orbe/platform/text.h"
#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/kvx_functions.h"
#include "reports/report_wnd_cells.h"

namespace orbe {
namespace {

constexpr int kMaxBars = 31;
constexpr int kFieldTextSize = 256;
constexpr int kDefaultYear = 2008;
constexpr COLORREF kPaletteColor = 0xFFFFFFFF;
constexpr char kTitleFace[] = "Times New Roman";
constexpr int kTitleFontSize = 120;

// Dates are compared as yyyymmdd numbers: valid ones order as their local
// midnights do, and a point's period needs no zone reading.
struct ChartPoint {
  unsigned date = 0;
  double value = 0;
};

// Period number -> the values of its points, in record order.
using PeriodGroups = std::map<int, std::vector<double>>;

// yyyymmdd, both ends included.
struct PeriodRange {
  unsigned begin = 0;
  unsigned end = 0;
};

int YearOf(unsigned date) { return static_cast<int>(date / 10000); }
int MonthOf(unsigned date) { return static_cast<int>(date / 100 % 100); }

// The decimal number a text starts with, as the date of an x value.
unsigned LeadingNumber(const char* text) {
  unsigned number = 0;
  for (const char* c = text; *c >= '0' && *c <= '9'; ++c) number = number * 10 + static_cast<unsigned>(*c - '0');
  return number;
}

bool ReadText(IFetchData& reply, int record, const tagMemFieldInfo& field, char (&text)[kFieldTextSize]) {
  for (char& c : text) c = '\0';
  return reply.GetRecordAsString(record, &field, text, kFieldTextSize) != FALSE;
}

bool ReadDate(IFetchData& reply, int record, const tagMemFieldInfo& field, char kind, ChartPoint* point) {
  unsigned date = 0;
  if (kind == 'D') {
    int value = 0;
    if (!reply.GetRecordAsInt(record, &field, &value)) return false;
    date = static_cast<unsigned>(value);
  } else if (kind == 'C') {
    char text[kFieldTextSize];
    if (!ReadText(reply, record, field, text)) return false;
    date = LeadingNumber(text);
  } else {
    return false;
  }
  point->date = date;
  return IsRealDwTime(date);
}

bool ReadNumber(IFetchData& reply, int record, const tagMemFieldInfo& field, char kind, double* value) {
  switch (kind) {
    case 'F':
      return reply.GetRecordAsDouble(record, &field, value) != FALSE;
    case 'D': {
      int number = 0;
      if (!reply.GetRecordAsInt(record, &field, &number)) return false;
      *value = number;
      return true;
    }
    case 'C': {
      char text[kFieldTextSize];
      if (!ReadText(reply, record, field, text)) return false;
      *value = std::strtod(text, nullptr);
      return true;
    }
    default:
      return false;
  }
}

std::vector<ChartPoint> CollectPoints(IFetchData* reply, const ChartCfg& cfg) {
  std::vector<ChartPoint> points;
  tagMemFieldInfo x{};
  tagMemFieldInfo y{};
  if (reply == nullptr || reply->GetRecordCount() < 1 || !reply->GetFieldInfo(FieldText(cfg.x_name).c_str(), &x) ||
      !reply->GetFieldInfo(FieldText(cfg.y_name).c_str(), &y)) {
    return points;
  }
  for (int record = 0; record < reply->GetRecordCount(); ++record) {
    ChartPoint point;
    if (ReadDate(*reply, record, x, cfg.x_type, &point) && ReadNumber(*reply, record, y, cfg.y_type, &point.value))
      points.push_back(point);
  }
  return points;
}

unsigned DateNumberOf(const char* text, std::size_t capacity) {
  return static_cast<unsigned>(std::strtoul(FieldText(text, capacity).c_str(), nullptr, 10));
}

CTime DateOf(const char* text, std::size_t capacity) { return DwTime2CTime(DateNumberOf(text, capacity)); }

unsigned LastDayOfYear(int year) { return static_cast<unsigned>(year) * 10000 + 1231; }

PeriodRange RangeOf(const ChartCfg& cfg) {
  const unsigned begin = DateNumberOf(cfg.begin_date, sizeof cfg.begin_date);
  if (!IsRealDwTime(begin))
    return {static_cast<unsigned>(kDefaultYear) * 10000 + 101, LastDayOfYear(kDefaultYear)};
  const unsigned end = DateNumberOf(cfg.end_date, sizeof cfg.end_date);
  return {begin, IsRealDwTime(end) ? end : LastDayOfYear(YearOf(begin))};
}

// The period a point belongs to, or 0 when the period type leaves it out.
int PeriodOf(unsigned date, int begin_year, int begin_month, int report_type) {
  const int year = YearOf(date);
  const int month = MonthOf(date);
  switch (report_type) {
    case kChartYear:
      return year;
    case kChartQuarter:
      return year == begin_year ? (month - 1) / 3 + 1 : 0;
    case kChartMonth:
      return year == begin_year ? month : 0;
    case kChartDate:
      return year == begin_year && month == begin_month ? static_cast<int>(date % 100) : 0;
    default:
      return 0;
  }
}

PeriodGroups GroupPoints(const std::vector<ChartPoint>& points, const PeriodRange& range, int report_type) {
  PeriodGroups groups;
  const int begin_year = YearOf(range.begin);
  const int begin_month = MonthOf(range.begin);
  for (const ChartPoint& point : points) {
    if (point.date < range.begin || range.end < point.date) continue;
    const int period = PeriodOf(point.date, begin_year, begin_month, report_type);
    if (period != 0) groups[period].push_back(point.value);
  }
  return groups;
}

double Combine(const std::vector<double>& values, int combination) {
  double result = values.front();
  switch (combination) {
    case kCombineAdd:
      result = 0;
      for (const double value : values) result += value;
      return result;
    case kCombineMax:
      for (const double value : values) result = value > result ? value : result;
      return result;
    case kCombineMin:
      for (const double value : values) result = value < result ? value : result;
      return result;
    case kCombineAvg:
      result = 0;
      for (const double value : values) result += value / static_cast<double>(values.size());
      return result;
    default:
      return values.back();
  }
}

// Missing quarters and months of the year are shown as 0, and so are the
// first and last day of a month of days.
void FillMissing(std::map<int, double>& periods, const PeriodRange& range, int report_type) {
  const auto fill = [&](int period) { periods.try_emplace(period, 0.0); };
  switch (report_type) {
    case kChartQuarter:
      for (int quarter = 1; quarter <= 4; ++quarter) fill(quarter);
      break;
    case kChartMonth:
      for (int month = 1; month <= 12; ++month) fill(month);
      break;
    case kChartDate:
      fill(1);
      fill(GetLastDay(YearOf(range.begin), MonthOf(range.begin)));
      break;
    default:
      break;
  }
}

// "2019年: 12.500", "第3季度: 7.000", "03月: 1.250", "05日: 2": printf's
// "%d"/"%02d" and "%.0f"/"%.3f" digits, without printf for every bar.
std::string BarLabel(int report_type, int period, double value, char y_type) {
  struct Label {
    const char* before;
    const char* after;
    bool two_digits;
  };
  static constexpr Label kLabels[] = {{"", "年:", false}, {"第", "季度:", false}, {"", "月:", true}, {"", "日:", true}};
  const Label& label = kLabels[report_type >= kChartYear && report_type <= kChartDate ? report_type : 0];
  std::array<char, 352> digits;  // the largest double has 309 integer digits
  std::string text = label.before;
  if (label.two_digits && period >= 0 && period < 10) text += '0';
  text.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), period).ptr);
  text += label.after;
  text += ' ';
  const int decimals = y_type == 'D' ? 0 : 3;
  text.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                           std::chars_format::fixed, decimals)
                                 .ptr);
  return text;
}

std::string ChartTitle(const ChartCfg& cfg) {
  const std::string title = FieldText(cfg.title);
  const CTime begin = DateOf(cfg.begin_date, sizeof cfg.begin_date);
  const CTime end = DateOf(cfg.end_date, sizeof cfg.end_date);
  switch (cfg.report_type) {
    case kChartQuarter:
    case kChartMonth:
      return Format("%s %d年度", title.c_str(), begin.GetYear());
    case kChartDate:
      return Format("%s %d年%d月", title.c_str(), begin.GetYear(), begin.GetMonth());
    default:
      return Format("%s %d年-%d年", title.c_str(), begin.GetYear(), end.GetYear());
  }
}

std::string ScaleText(double scale) {
  if (scale >= 1.0) return Format("比例尺 1:%d", static_cast<int>(scale));
  if (scale != 0) return Format("比例尺 %d:1", static_cast<int>(1 / scale));
  return {};
}

}  // namespace

int BuildChartCell(const CellBuild& build, const ChartCfg& cfg) {
  ScrollContainer& container = build.container;
  const std::string title = FieldText(cfg.title);
  const PeriodRange range = RangeOf(cfg);
  const std::vector<ChartPoint> points = CollectPoints(build.reply, cfg);
  std::map<int, double> periods;
  for (const auto& [period, values] : GroupPoints(points, range, cfg.report_type))
    periods[period] = Combine(values, cfg.data_combination);
  // A reply without points shows no data; points outside the periods still
  // give the filled periods of the range.
  if (!points.empty()) FillMissing(periods, range, cfg.report_type);

  const int id = container.AddWnd(title, static_cast<int>(ScrollCellType::kChartBar), cfg.title_high,
                                  cfg.control_high, cfg.control_width);
  CChartBarCtrl* chart = id >= 0 ? container.GetChartBar(id) : nullptr;
  if (chart == nullptr) return -1;

  double top = 0.0;
  int bars = 0;
  for (const auto& [period, value] : periods) {
    if (++bars > kMaxBars) break;
    if (cfg.y_scale <= 0) continue;
    const double scaled = value / cfg.y_scale;
    chart->AddBar(period, scaled, BarLabel(cfg.report_type, period, value, cfg.y_type), kPaletteColor, false);
    top = scaled > top ? scaled : top;
  }
  if (periods.empty()) {
    container.SetCellTitle(id, TitleWith(title.c_str(), kNoDataText));
    container.SetWndHigth(id, 0, true);
  } else if (periods.size() > static_cast<std::size_t>(kMaxBars)) {
    container.SetCellTitleColor(id, kWarningColor);
    container.SetCellTitle(id, TitleWith(title.c_str(), kTooManyPeriodsText));
  }
  chart->SetTitleColor(0);
  chart->SetTitleFont(kTitleFontSize, kTitleFace);
  chart->SetLegendVisible(true);
  chart->SetLeftMinMax(0.0, cfg.y_max > top ? cfg.y_max : top);
  chart->SetPanEnabled(false);
  chart->SetZoomEnabled(false);
  chart->SetBottomTickIncrement(false, 1.0);
  chart->SetTitle(ChartTitle(cfg));
  chart->SetLeftText(ScaleText(cfg.y_scale));
  return id;
}

}  // namespace orbe
