// The in-memory configuration of an INI-configured report: the root, one
// object per cell and the column records of lists. Plain data with fixed
// text capacities, zero-filled, as the report window and its pop-ups read
// them. Built and freed by CIniReportUtil (cini_report_util.h).
#ifndef ORBE_REPORTS_REPORT_CONFIG_H_
#define ORBE_REPORTS_REPORT_CONFIG_H_

#include <cstdint>
#include <map>
#include <vector>

#include "orbe/platform/types.h"

// The kind of a cell, as the TYPE key of its section names it.
enum EWndType : std::int32_t {
  kWndList = 0,           // "LIST"
  kWndChart = 1,          // "CHART"
  kWndWebBrowser = 2,     // "IE"
  kWndLabel = 3,          // "LABEL"
  kWndListHistogram = 4,  // "LISTHISTOGRAM"
  kWndNone = 6,           // anything else: no cell
};

class CellWndCfgBase {
 public:
  virtual ~CellWndCfgBase() = default;

  char sql_statement[1024] = {};
  // The value clicked to open this cell as a pop-up; empty otherwise.
  char parameter[1024] = {};
  EWndType type = kWndNone;
  char title[128] = {};
  std::int32_t title_high = 30;
  std::int32_t control_high = -1;
  std::int32_t control_width = 0;
};

class ListColCfg {
 public:
  virtual ~ListColCfg() = default;

  char data_type = 'C';
  char name[32] = {};
  char title[128] = {};
  char compare_title[128] = {};
  std::int16_t width = 0;
  char data_align = 'C';
  char head_align = 'C';
  std::int16_t head_format = 0;
  std::int16_t decimal_bits = 2;
  std::int16_t data_format = 0;
  std::int16_t color_mode = 0;
  std::int16_t zero_format = 0;
  std::int16_t invalid_format = 0;
  // Kept for the list widget's use; the reader leaves it empty.
  char spare_text[1024] = {};
  bool hide_invalid_col = true;
  bool summary_sum = false;
  bool summary_count = false;
  bool summary_min = false;
  bool summary_max = false;
  bool summary_avg = false;
  // Owned by the report's cell map, never by the column.
  CellWndCfgBase* pop_cell = nullptr;
  char pop_param[256] = {};
};

class ListCfg : public CellWndCfgBase {
 public:
  // The reader replaces these object defaults with the INI defaults.
  bool horizontal = true;
  bool enable_reverse = true;
  bool splittable = false;
  char split_title[128] = {};
  char init_sort_title[128] = {};
  bool init_sort_ascending = false;
  bool init_split = false;
  bool fix_first_col = false;
  std::int32_t max_row = 3000;
  std::vector<ListColCfg> columns;
};

class ListHistogramCfg : public ListCfg {};

// REPORT_TYPE of a chart: the period that groups its points.
enum ChartReportType : std::int32_t { kChartYear = 0, kChartQuarter = 1, kChartMonth = 2, kChartDate = 3 };
// DATACOMBINATION of a chart: how the values of one period combine.
enum ChartCombination : std::int32_t {
  kCombineAdd = 0,
  kCombineMax = 1,
  kCombineMin = 2,
  kCombineAvg = 3,
  kCombineDefault = 4,
};

class ChartCfg : public CellWndCfgBase {
 public:
  char x_name[32] = {};
  char y_name[32] = {};
  char x_type = 'D';
  char y_type = 'D';
  double y_scale = 1.0;
  double y_max = 2.0;
  char begin_date[9] = {};
  char end_date[9] = {};
  std::int32_t report_type = kChartYear;
  std::int32_t data_combination = kCombineDefault;
};

class WebBrowserCfg : public CellWndCfgBase {
 public:
  char url[1024] = {};
};

class LabelCfg : public CellWndCfgBase {
 public:
  char label_text[4096] = {};
};

// The root. The cell map holds every cell read, shown ones and pop-ups
// alike; its pointers are freed only by CIniReportUtil::DestroyScrollWndCfg,
// because a child configuration (GenerateChildScrollWndCfg) copies the map
// and shares the cells with its parent.
class ScrollWndCfg {
 public:
  virtual ~ScrollWndCfg() = default;

  char ini_path[MAX_PATH] = {};
  char title[128] = {};
  std::int32_t title_high = 30;
  bool adopt_money_format = false;
  bool adopt_report_term = false;
  // Section names of the cells shown, in CONTROL order.
  std::vector<CString> display_order;
  std::map<CString, CellWndCfgBase*> cell_map;
};

#endif  // ORBE_REPORTS_REPORT_CONFIG_H_
