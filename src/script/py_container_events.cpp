// The widget events of a container window, each turned into the call of the
// script function of its name (orbe/script/container_events.h) with its
// arguments as texts.
#include "script/py_container_wnd.h"

#include <string>

#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/plugin_wnd.h"

namespace {

std::string Number(int value) { return std::to_string(value); }

}  // namespace

void CPyContainerWnd::RaiseEvent(const char* name, const std::vector<std::string>& args) {
  CallScript(name, args);
}

void CPyContainerWnd::CellEndEdit(int id, int row, int col, const std::string& text) {
  // The text before the edit was kept from the grid's begin-edit notice.
  std::string before;
  before.swap(edit_before_);
  RaiseEvent("OnGridCellEndEdit", {Number(id), text, Number(row), Number(col), before});
}

void CPyContainerWnd::ComboCellSelChange(int id, int row, int col, int /*index*/) {
  const CGridCtrl* grid = GetGrid(id);
  RaiseEvent("OnGridComboCellSelChange",
             {Number(id), Number(row), Number(col), grid != nullptr ? grid->GetItemText(row, col) : ""});
}

void CPyContainerWnd::CheckCellClicked(int id, int row, int col, bool /*checked*/) {
  RaiseEvent("OnGridCheckCellClicked", {Number(id), Number(row), Number(col)});
}

void CPyContainerWnd::SelectChangedNotify(int id, int row, int col) {
  RaiseEvent("OnGridSelChanged", {Number(id), Number(row), Number(col)});
}

void CPyContainerWnd::LButtonDblClkNotify(int id, int row, int col) {
  RaiseEvent("OnGridLButDblClick", {Number(id), Number(row), Number(col)});
}

void CPyContainerWnd::LButtonClkNotify(int id, int row, int col) {
  RaiseEvent("OnGridLButClick", {Number(id), Number(row), Number(col)});
}

void CPyContainerWnd::OnMouseEventSeries(int id, int series, int point, ChartMouseEvent event) {
  // Where the point is drawn is where the mouse was.
  int x = 0;
  int y = 0;
  if (const CChartCtrl* chart = GetChart(id)) chart->GetPointScreenPos(series, point, &x, &y);
  RaiseEvent("OnChartMouseEventSeries", {Number(id), Number(series), Number(point),
                                         Number(static_cast<int>(event)), Number(x), Number(y)});
}

void CPyContainerWnd::OnKeyEventPlotArea(int id, UINT key) {
  RaiseEvent("OnChartKeyEventPlotArea",
             {Number(id), Number(static_cast<int>(key)), std::string(1, static_cast<char>(key))});
}

void CPyContainerWnd::PluginMessage(IPluginWnd* plugin, const std::string& name, const std::string& value) {
  const auto* window = dynamic_cast<const CWnd*>(plugin);
  RaiseEvent("OnPluginMessage", {Number(window != nullptr ? window->GetDlgCtrlID() : 0), name, value});
}

void CPyContainerWnd::OnWidgetEvent(const orbe::WidgetEvent& event) {
  std::vector<std::string> args{Number(event.id)};
  for (std::size_t i = 0; i < event.args.size(); ++i) args.push_back(event.ArgText(i));
  CallScript(event.name, args);
}
