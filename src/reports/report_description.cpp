// Text for report authors. Labels are English (the program's own words);
// every text taken from the report stays GBK until the caller converts it.
#include "orbe/reports/report_description.h"

#include <memory>
#include <optional>
#include <string_view>

#include "orbe/platform/file.h"
#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_lookups.h"
#include "orbe/reports/report_terms.h"
#include "reports/report_words.h"
#include "reports/sql_macros.h"

namespace orbe {
namespace {

// A pop-up's statement is shown with this in place of the clicked value.
constexpr char kClickedValue[] = "?";

struct ConfigDestroyer {
  void operator()(ScrollWndCfg* cfg) const { CIniReportUtil::DestroyScrollWndCfg(cfg); }
};

const char* YesNo(bool value) { return value ? "yes" : "no"; }

std::string Quoted(const char* field, std::size_t size) { return "\"" + FieldText(field, size) + "\""; }
template <std::size_t N>
std::string Quoted(const char (&field)[N]) {
  return Quoted(field, N);
}

const char* TypeName(EWndType type) {
  switch (type) {
    case kWndList: return "LIST";
    case kWndChart: return "CHART";
    case kWndWebBrowser: return "IE";
    case kWndLabel: return "LABEL";
    case kWndListHistogram: return "LISTHISTOGRAM";
    case kWndNone: break;
  }
  return "none";
}

class Describer {
 public:
  Describer(const ScrollWndCfg& cfg, const ReportDescriptionRequest& request)
      : cfg_(cfg), request_(request) {}

  std::string Run() {
    Line(0, "report: " + request_.ini_path);
    Line(0, Format("title: %s (title bar %d px)", Quoted(cfg_.title).c_str(), cfg_.title_high));
    Line(0, Format("money unit selection: %s, report term selection: %s", YesNo(cfg_.adopt_money_format),
                   YesNo(cfg_.adopt_report_term)));
    Line(0, "security: " + request_.security_code +
                ", company code: " + (CompanyCode().empty() ? std::string("(unknown)") : CompanyCode()) +
                ", report term: " + Term());
    Line(0, Format("cells shown: %zu", cfg_.display_order.size()));
    int position = 0;
    for (const CString& section : cfg_.display_order) Cell(Format("%d. ", ++position), section, false);
    std::size_t popups = 0;
    for (const auto& [section, cell] : cfg_.cell_map) popups += IsShown(section) ? 0 : 1;
    Line(0, Format("pop-up cells: %zu", popups));
    for (const auto& [section, cell] : cfg_.cell_map) {
      if (!IsShown(section)) Cell("- ", section, true);
    }
    return out_;
  }

 private:
  void Line(int indent, const std::string& text) {
    out_.append(static_cast<std::size_t>(indent) * 2, ' ').append(text).append("\n");
  }

  std::string Term() const {
    return request_.report_term.empty() ? report_words::kRecentTwoYears : request_.report_term;
  }
  // Looked up once: the security master may be a remote table.
  const std::string& CompanyCode() {
    if (!company_code_) {
      company_code_ = request_.company_code.empty() ? CompanyCodeForReport(request_.security_code)
                                                    : request_.company_code;
    }
    return *company_code_;
  }
  bool IsShown(const CString& section) const {
    for (const CString& shown : cfg_.display_order) {
      if (shown == section) return true;
    }
    return false;
  }

  std::string Expanded(const CellWndCfgBase& cell, bool popup) {
    const std::string parameter = popup ? kClickedValue : FieldText(cell.parameter);
    const std::string sql = ExpandSecurityMacros(FieldText(cell.sql_statement), parameter, CompanyCode());
    return CIniReportUtil::ReplaceTimeInSql(sql, Term());
  }

  void Cell(const std::string& prefix, const CString& section, bool popup) {
    const CellWndCfgBase* cell = CIniReportUtil::GetCfgBase(&cfg_, section);
    if (cell == nullptr) {
      Line(1, prefix + section + ": (no cell)");
      return;
    }
    Line(1, prefix + section + " " + TypeName(cell->type) + " " + Quoted(cell->title) +
                Format(": height %d, width %d, title bar %d px", cell->control_high, cell->control_width,
                       cell->title_high));
    if (const auto* list = dynamic_cast<const ListCfg*>(cell)) {
      Statement(*cell, popup);
      List(*list);
    } else if (const auto* chart = dynamic_cast<const ChartCfg*>(cell)) {
      Statement(*cell, popup);
      Chart(*chart);
    } else if (const auto* web = dynamic_cast<const WebBrowserCfg*>(cell)) {
      Line(2, "url: " + FieldText(web->url));
      Line(2, "opens: " + CIniReportUtil::GenerateUrl(FieldText(web->url), request_.security_code));
    } else if (const auto* label = dynamic_cast<const LabelCfg*>(cell)) {
      Label(*label);
    }
  }

  void Statement(const CellWndCfgBase& cell, bool popup) {
    Line(2, "statement: " + FieldText(cell.sql_statement));
    Line(2, std::string(popup ? "sent as (clicked value ?): " : "sent as: ") + Expanded(cell, popup));
  }

  void List(const ListCfg& list) {
    Line(2, Format("max rows %d, horizontal %s, reversible %s, initial split %s, split title %s",
                   list.max_row, YesNo(list.horizontal), YesNo(list.enable_reverse), YesNo(list.init_split),
                   Quoted(list.split_title).c_str()));
    Line(2, Format("initial sort %s %s, fixed first column %s", Quoted(list.init_sort_title).c_str(),
                   list.init_sort_ascending ? "ascending" : "descending", YesNo(list.fix_first_col)));
    Line(2, Format("columns: %zu", list.columns.size()));
    int k = 0;
    for (const ListColCfg& col : list.columns) Column(++k, col);
  }

  void Column(int k, const ListColCfg& col) {
    Line(3, Format("%d. %s %s (compare %s): kind %c, width %d, align data %c head %c, head format %d", k,
                   FieldText(col.name).c_str(), Quoted(col.title).c_str(), Quoted(col.compare_title).c_str(),
                   col.data_type, col.width, col.data_align, col.head_align, col.head_format));
    Line(4,
         Format("decimals %d, format %d %s, zero %d, invalid %d, colour mode %d, hide invalid %s%s",
                col.decimal_bits, col.data_format, ValueFormatName(col.data_format).c_str(), col.zero_format,
                col.invalid_format, col.color_mode, YesNo(col.hide_invalid_col), Summaries(col).c_str()));
    if (col.pop_cell != nullptr) {
      Line(4, "pop-up: " + CIniReportUtil::GetCacheKey(&cfg_, col.pop_cell) + ", parameter " +
                  Quoted(col.pop_param));
    }
  }

  static std::string Summaries(const ListColCfg& col) {
    std::string text;
    const std::pair<bool, const char*> flags[] = {{col.summary_sum, "sum"},
                                                  {col.summary_count, "count"},
                                                  {col.summary_min, "min"},
                                                  {col.summary_max, "max"},
                                                  {col.summary_avg, "avg"}};
    for (const auto& [on, name] : flags) {
      if (on) text += text.empty() ? std::string(", summary ") + name : std::string(" ") + name;
    }
    return text;
  }

  void Chart(const ChartCfg& chart) {
    static constexpr const char* kPeriods[] = {"YEAR", "QUARTER", "MONTH", "DATE"};
    static constexpr const char* kCombinations[] = {"ADD", "MAX", "MIN", "AVG", "DEFAULT"};
    const auto word = [](const auto& words, std::int32_t index) {
      return index >= 0 && static_cast<std::size_t>(index) < std::size(words) ? words[index] : "?";
    };
    Line(2, Format("x %s kind %c, y %s kind %c, y max %g, y scale %g", FieldText(chart.x_name).c_str(),
                   chart.x_type, FieldText(chart.y_name).c_str(), chart.y_type, chart.y_max, chart.y_scale));
    Line(2, Format("dates %s to %s, period %s, combination %s", Quoted(chart.begin_date).c_str(),
                   Quoted(chart.end_date).c_str(), word(kPeriods, chart.report_type),
                   word(kCombinations, chart.data_combination)));
  }

  void Label(const LabelCfg& label) {
    const std::string text = FieldText(label.label_text);
    std::size_t start = 0;
    while (start <= text.size()) {
      const std::size_t end = text.find("\r\n", start);
      Line(2, "| " + text.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 2;
    }
  }

  const ScrollWndCfg& cfg_;
  const ReportDescriptionRequest& request_;
  std::optional<std::string> company_code_;
  std::string out_;
};

}  // namespace

std::string DescribeIniReport(const ReportDescriptionRequest& request) {
  const std::unique_ptr<ScrollWndCfg, ConfigDestroyer> cfg(
      CIniReportUtil::GetScrollWndCfgFromINI(request.ini_path.c_str()));
  if (cfg == nullptr) return "report: " + request.ini_path + "\n(the path is too long to be a report path)\n";
  return Describer(*cfg, request).Run();
}

}  // namespace orbe

bool DescribeIniReportConfig(const std::string& iniPath, const std::string& securityCode,
                             const std::string& reportTerm, const std::string& companyCode,
                             std::string& text) {
  try {
    text.clear();
    if (iniPath.empty() || !orbe::FileExists(iniPath)) return false;
    text = orbe::DescribeIniReport(
        orbe::ReportDescriptionRequest{iniPath, securityCode, reportTerm, companyCode});
    return true;
  } catch (const std::exception&) {
    return false;
  }
}
