#include "host/report_driver.h"

#include <vector>

#include "orbe/platform/text.h"
#include "orbe/reports/ini_report_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/scroll_container.h"
#include "orbe/widgets/vlist.h"
#include "orbe/widgets/web_pane.h"

namespace orbe {
namespace {

namespace ids = report_wnd;

constexpr char kConfigErrorText[] = "配置文件出错";

std::string Utf8(const std::string& gbk) { return GbkToUtf8(gbk); }

std::string Caption(const CWnd& window) {
  CString text;
  window.GetWindowText(text);
  return text;
}

void AppendTable(const Table& table, std::string& out) {
  for (const std::vector<TableCell>& row : table.rows) {
    std::string line = "    ";
    for (std::size_t i = 0; i < row.size(); ++i) line += (i == 0 ? "" : " | ") + Utf8(row[i].text);
    out += line + "\n";
  }
}

void AppendChart(const CChartBarCtrl& chart, std::string& out) {
  out += "    " + Utf8(chart.GetTitle()) + "\n";
  if (!chart.GetLeftText().empty()) out += "    " + Utf8(chart.GetLeftText()) + "\n";
  for (const ChartBar& bar : chart.GetBars()) out += "    " + Utf8(bar.label) + "\n";
}

// The shown grid rows and columns in order: the printed table's lines and
// fields map to these.
std::vector<int> ShownRows(const CGridCtrl& grid) {
  std::vector<int> rows;
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    if (grid.GetRowHeight(row) > 0) rows.push_back(row);
  }
  return rows;
}

std::vector<int> ShownColumns(const CGridCtrl& grid) {
  std::vector<int> cols;
  for (int col = 0; col < grid.GetColumnCount(); ++col) {
    if (grid.IsColumnShown(col)) cols.push_back(col);
  }
  return cols;
}

// The container's cells that show something, in page order.
std::vector<int> ShownCells(const ScrollContainer& container) {
  std::vector<int> shown;
  for (const int id : container.GetAllWndID()) {
    const RECT title = container.CellTitleRect(id);
    if (title.bottom > title.top || container.GetWnd(id)->IsWindowVisible()) shown.push_back(id);
  }
  return shown;
}

}  // namespace

CWnd* ReportDriver::Control(int id) const { return report_.GetDlgItem(id); }

ScrollContainer* ReportDriver::Container() const { return dynamic_cast<ScrollContainer*>(Control(ids::kContainer)); }

bool ReportDriver::PageComplete() const {
  const CWnd* term = Control(ids::kTermSelection);
  return term != nullptr && term->IsWindowEnabled();
}

bool ReportDriver::WaitForPage(DWORD timeout_ms) const {
  // Work already posted (a rebuild) runs first, so a page that was complete
  // before it is not taken for the new one.
  RunUntilIdle();
  return PumpUntil([this] { return PageComplete(); }, timeout_ms);
}

bool ReportDriver::ConfigurationFailed() const {
  const ScrollContainer* container = Container();
  return container == nullptr || container->GetTitle() == kConfigErrorText;
}

std::string ReportDriver::PickTerm(const std::string& term_gbk) {
  auto* term = dynamic_cast<CKvxComboBox*>(Control(ids::kTermSelection));
  if (term == nullptr || !term->IsWindowVisible()) return "the report offers no report term";
  for (int i = 0; i < term->GetCount(); ++i) {
    if (term->GetLBText(i) != term_gbk) continue;
    if (i != term->GetCurSel() && !term->PickItem(i)) return "the report term cannot be picked now";
    return WaitForPage() ? "" : "the report did not complete in time";
  }
  return "unknown report term " + Utf8(term_gbk) + " (the report offers " + Utf8(term->GetLBText(0)) + ", " +
         Utf8(term->GetLBText(1)) + ", \"" + Utf8(term->GetLBText(term->GetCount() - 1)) + "\" and the terms between)";
}

std::string ReportDriver::PickUnit(int unit) {
  auto* units = dynamic_cast<CKvxComboBox*>(Control(ids::kUnitSelection));
  if (units == nullptr || !units->IsWindowVisible()) return "the report offers no money unit";
  if (unit < 0 || unit >= units->GetCount())
    return Format("unknown money unit %d (0 to %d)", unit, units->GetCount() - 1);
  if (unit != units->GetCurSel()) units->PickItem(unit);
  RunUntilIdle();
  return "";
}

std::string ReportDriver::ClickButton(int id) {
  auto* button = dynamic_cast<CKvxButton*>(Control(id));
  if (button == nullptr) return "the report has no such button";
  if (!button->Click()) return "the button \"" + Utf8(Caption(*button)) + "\" is disabled in this report";
  RunUntilIdle();
  return "";
}

std::string ReportDriver::ClickCell(int cell, int row, int col) {
  const ScrollContainer* container = Container();
  const std::vector<int> cells = container != nullptr ? ShownCells(*container) : std::vector<int>{};
  if (cell < 1 || cell > static_cast<int>(cells.size()))
    return Format("no cell %d (the page shows %zu)", cell, cells.size());
  VList* list = container->GetList(cells[static_cast<std::size_t>(cell - 1)]);
  if (list == nullptr) return Format("cell %d is not a list", cell);
  const std::vector<int> rows = ShownRows(*list);
  const std::vector<int> cols = ShownColumns(*list);
  if (row < 1 || row > static_cast<int>(rows.size()) || col < 1 || col > static_cast<int>(cols.size()))
    return Format("cell %d has %zu rows and %zu columns", cell, rows.size(), cols.size());
  list->ClickCell(rows[static_cast<std::size_t>(row - 1)], cols[static_cast<std::size_t>(col - 1)]);
  RunUntilIdle();
  return "";
}

std::string ReportDriver::PageText() const {
  const ScrollContainer* container = Container();
  if (container == nullptr) return "";
  std::string out = Utf8(container->GetTitle()) + "\n";
  int number = 0;
  for (const int id : ShownCells(*container)) {
    out += Format("[%d] ", ++number) + Utf8(container->GetCellTitle(id)) + "\n";
    if (container->IsCollapsed(id)) continue;
    if (const VList* list = container->GetList(id)) {
      AppendTable(list->GetTable(), out);
    } else if (const CChartBarCtrl* chart = container->GetChartBar(id)) {
      AppendChart(*chart, out);
    } else if (const CWebBrowser2* web = container->GetWeb(id)) {
      out += "    " + Utf8(web->GetLocationURL()) + "\n";
    } else if (const CColorEdit* label = container->GetLabel(id)) {
      std::string text = Utf8(label->GetText());
      std::erase(text, '\r');
      for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 5) text.replace(at, 1, "\n    ");
      out += "    " + text + "\n";
    }
  }
  return out;
}

}  // namespace orbe
