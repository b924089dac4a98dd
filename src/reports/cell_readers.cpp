// The keys of each cell type. Texts are read straight into their fixed
// fields, so each is cut at its capacity as the INI functions cut it.
#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "reports/cell_reading.h"
#include "reports/ini_values.h"

namespace orbe {
namespace {

// The default page of a web pane without URL: the local machine.
constexpr char kDefaultUrl[] = "http://127.0.0.1/";

// The accessors of one section of one file, found once for all its keys.
class SectionKeys {
 public:
  SectionKeys(const std::string& section, const std::string& path) : reader_(path, section) {}

  template <std::size_t N>
  void Text(std::string_view key, char (&field)[N], const char* def = "") const {
    for (char& c : field) c = '\0';
    reader_.String(key, def, field, N);
  }
  int Int(std::string_view key, int def) const { return reader_.Int(key, def); }
  std::int16_t Int16(std::string_view key, int def) const { return static_cast<std::int16_t>(Int(key, def)); }
  bool Bool(std::string_view key, bool def) const {
    char value[kIniBoolBuffer] = {};
    Text(key, value);
    return IniBool(value, def);
  }
  char Char(std::string_view key, char def) const {
    char value[kIniCharBuffer] = {};
    Text(key, value);
    return IniChar(value, def);
  }
  double Double(std::string_view key, const char* def) const {
    char value[64] = {};
    Text(key, value, def);
    return std::strtod(value, nullptr);
  }
  // The index of the value in `words`, else def.
  template <std::size_t N>
  std::int32_t Word(std::string_view key, const char* const (&words)[N], std::int32_t def) const {
    char value[32] = {};
    Text(key, value);
    for (std::size_t i = 0; i < N; ++i) {
      if (std::string_view(value) == words[i]) return static_cast<std::int32_t>(i);
    }
    return def;
  }
  // Column keys are numbered from 1: "COL_NAME3".
  std::string Numbered(const char* key, int k) const { return key + std::to_string(k); }

 private:
  const ProfileSectionReader reader_;
};

void ReadCommonKeys(CellWndCfgBase& cell, const SectionKeys& keys, bool with_statement) {
  if (with_statement) keys.Text("SQLSTATEMENT", cell.sql_statement);
  keys.Text("TITLE", cell.title);
  cell.title_high = keys.Int("TITLE_HIGH", 30);
  cell.control_high = keys.Int("CONTROL_HIGH", -1);
  cell.control_width = keys.Int("CONTROL_WIDTH", 0);
}

ListColCfg ReadColumn(const SectionKeys& keys, int k, CellReading& reading) {
  ListColCfg col;
  const auto key = [&](const char* name) { return keys.Numbered(name, k); };
  col.data_type = keys.Char(key("COL_DATA_TYPE"), 'C');
  keys.Text(key("COL_NAME"), col.name);
  keys.Text(key("COL_TITLE"), col.title);
  keys.Text(key("COL_COMPARE_TITLE"), col.compare_title);
  col.width = keys.Int16(key("COL_WIDTH"), 0);
  col.data_align = keys.Char(key("COL_DATA_ALIGN"), 'C');
  col.head_align = keys.Char(key("COL_HEAD_ALIGN"), 'C');
  col.head_format = keys.Int16(key("COL_HEAD_FORMAT"), 0);
  col.decimal_bits = keys.Int16(key("COL_DATA_DECBIT"), 2);
  col.data_format = keys.Int16(key("COL_DATA_FORMAT"), 0);
  col.zero_format = keys.Int16(key("COL_DATA_FORMAT_ZERO"), 0);
  col.invalid_format = keys.Int16(key("COL_DATA_FORMAT_INVALID"), 0);
  col.color_mode = keys.Int16(key("COL_DATA_COLOR_MOD"), 0);
  char pop_section[256] = {};
  keys.Text(key("COL_POP_CTRL"), pop_section);
  if (pop_section[0] != '\0') {
    keys.Text(key("COL_POP_PARAM"), col.pop_param);
    col.pop_cell = reading.ClaimPopup(pop_section);
  }
  col.hide_invalid_col = keys.Bool(key("COL_HIDE_INVALIDCOL"), true);
  col.summary_sum = keys.Bool(key("COL_SUMARY_SUM"), false);
  col.summary_count = keys.Bool(key("COL_SUMARY_COUNT"), false);
  col.summary_min = keys.Bool(key("COL_SUMARY_MIN"), false);
  col.summary_max = keys.Bool(key("COL_SUMARY_MAX"), false);
  col.summary_avg = keys.Bool(key("COL_SUMARY_AVG"), false);
  return col;
}

void ReadListKeys(ListCfg& list, const SectionKeys& keys, CellReading& reading, bool histogram) {
  list.type = histogram ? kWndListHistogram : kWndList;
  ReadCommonKeys(list, keys, true);
  list.horizontal = keys.Bool("LIST_HORIZONTAL", false);
  list.enable_reverse = keys.Bool("LIST_ENABLE_REVERSE", true);
  list.init_split = keys.Bool("LIST_INIT_SPLIT", false);
  keys.Text("LIST_SPLIT_TITLE", list.split_title);
  list.splittable = list.split_title[0] != '\0';
  list.max_row = keys.Int("LIST_MAX_ROW", 3000);
  keys.Text("LIST_INIT_SORT_TITLE", list.init_sort_title);
  if (list.init_sort_title[0] != '\0')
    list.init_sort_ascending = keys.Bool("LIST_INIT_SORT_ASCENDING", false);
  if (!histogram) list.fix_first_col = keys.Bool("LIST_FIX_FIRST_COL", false);
  const int count = keys.Int("LIST_COL_NUM", 0);
  if (count > kMaxListColumns) throw std::bad_alloc();
  list.columns.clear();
  list.columns.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int k = 1; k <= count; ++k) list.columns.push_back(ReadColumn(keys, k, reading));
}

void ReadChartKeys(ChartCfg& chart, const SectionKeys& keys) {
  static constexpr const char* kReportTypes[] = {"YEAR", "QUARTER", "MONTH", "DATE"};
  static constexpr const char* kCombinations[] = {"ADD", "MAX", "MIN", "AVG", "DEFAULT"};
  chart.type = kWndChart;
  ReadCommonKeys(chart, keys, true);
  keys.Text("XNAME", chart.x_name);
  keys.Text("YNAME", chart.y_name);
  chart.y_max = keys.Double("YMAX", "2.0");
  chart.y_scale = keys.Double("YSCALE", "1.0");
  chart.x_type = keys.Char("XTYPE", 'D');
  chart.y_type = keys.Char("YTYPE", 'D');
  keys.Text("BEGIN_DATE", chart.begin_date);
  keys.Text("END_DATE", chart.end_date);
  chart.report_type = keys.Word("REPORT_TYPE", kReportTypes, kChartYear);
  chart.data_combination = keys.Word("DATACOMBINATION", kCombinations, kCombineDefault);
}

void ReadWebBrowserKeys(WebBrowserCfg& web, const SectionKeys& keys) {
  web.type = kWndWebBrowser;
  ReadCommonKeys(web, keys, false);
  keys.Text("URL", web.url, kDefaultUrl);
}

// Authors write line breaks as the four characters \r\n.
void ExpandLineBreaks(char* text) {
  char* out = text;
  for (const char* in = text; *in != '\0';) {
    if (std::string_view(in).starts_with("\\r\\n")) {
      *out++ = '\r';
      *out++ = '\n';
      in += 4;
    } else {
      *out++ = *in++;
    }
  }
  *out = '\0';
}

void ReadLabelKeys(LabelCfg& label, const SectionKeys& keys) {
  label.type = kWndLabel;
  ReadCommonKeys(label, keys, false);
  keys.Text("LABEL_TEXT", label.label_text);
  ExpandLineBreaks(label.label_text);
}

}  // namespace

void ReadCellKeys(CellWndCfgBase& cell, const std::string& section, CellReading& reading) {
  const SectionKeys keys(section, reading.path());
  if (auto* histogram = dynamic_cast<ListHistogramCfg*>(&cell)) {
    ReadListKeys(*histogram, keys, reading, true);
  } else if (auto* list = dynamic_cast<ListCfg*>(&cell)) {
    ReadListKeys(*list, keys, reading, false);
  } else if (auto* chart = dynamic_cast<ChartCfg*>(&cell)) {
    ReadChartKeys(*chart, keys);
  } else if (auto* web = dynamic_cast<WebBrowserCfg*>(&cell)) {
    ReadWebBrowserKeys(*web, keys);
  } else if (auto* label = dynamic_cast<LabelCfg*>(&cell)) {
    ReadLabelKeys(*label, keys);
  }
}

}  // namespace orbe
