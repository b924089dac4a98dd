// Building one cell of a report page into the scroll container: lists and
// lists with histograms from their reply (report_wnd_list.cpp), bar charts
// (report_wnd_chart.cpp), web panes and labels (report_wnd_panes.cpp).
#ifndef ORBE_REPORTS_REPORT_WND_CELLS_H_
#define ORBE_REPORTS_REPORT_WND_CELLS_H_

#include <string>
#include <vector>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/reports/report_config.h"
#include "orbe/widgets/scroll_container.h"
#include "orbe/widgets/vlist.h"
#include "reports/report_wnd_look.h"

class OrbeClientSession;

namespace orbe {

// Cell title suffixes.
inline constexpr char kNoDataText[] = "无数据";
inline constexpr char kTruncatedText[] = "数据过大 已被截断 请正确配置";
inline constexpr char kTooManyPeriodsText[] = "数据超出显示范围 请正确配置";

struct CellBuild {
  ScrollContainer& container;
  IFetchData* reply;           // the cell's reply; null without a handle
  OrbeClientSession* session;  // gives the abbreviations of "股票简称" columns
  int money_unit;
  std::string security_code;
};

// "%s %s" of a cell title and a suffix.
std::string TitleWith(const char* title, const char* suffix);

// The heading records of a list's columns, in column order.
std::vector<VListHead> ListHeading(const ListCfg& cfg, int money_unit);
// Steps of a list cell short of the initial split: the widget, heading,
// rows, sort, hidden columns, summaries, colours, turning and the titles.
// Returns the widget id, -1 when the container refused the widget.
int BuildListCell(const CellBuild& build, const ListCfg& cfg, bool histogram);
int BuildChartCell(const CellBuild& build, const ChartCfg& cfg);
int BuildWebCell(const CellBuild& build, const WebBrowserCfg& cfg);
int BuildLabelCell(const CellBuild& build, const LabelCfg& cfg);

// Hides the flagged all-empty columns, then colours by comparison: the two
// steps every filled list (and split piece) ends with.
void FinishListLook(VList& list);

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_WND_CELLS_H_
