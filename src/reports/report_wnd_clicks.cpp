// Clicks in a list cell: the clicked column's data format decides (a link, a
// mail address, nothing, the host), else the column's pop-up cell opens.
#include "orbe/platform/shell.h"
#include "orbe/platform/text.h"
#include "reports/ini_report_pop_dlg.h"

namespace {

// What a pop-up statement and the host receive of a clicked value: the value
// as the data service gave it (a date as yyyymmdd), not its shown form.
std::string ParameterText(const orbe::ListValue& value) {
  if (value.invalid) return {};
  switch (value.kind) {
    case orbe::ListValueKind::kText: return value.text;
    case orbe::ListValueKind::kDate: return orbe::Format("%d", static_cast<int>(value.number));
    case orbe::ListValueKind::kNumber: return orbe::Format("%.15g", value.number);
  }
  return {};
}

// The record and column of a list that a grid cell shows; false for headings
// and summary rows.
bool ListCellAt(const VList& list, int row, int col, int* record, int* column) {
  *record = list.IsReversed() ? col - 1 : row - 1;
  *column = list.IsReversed() ? row : col;
  return *record >= 0 && *record < list.GetDataRowCount() && *column >= 0 && *column < list.GetHeadCount();
}

}  // namespace

void CIniReportWnd::OnGridClick(CGridCtrl& grid, int row, int col) {
  if (popup_open_) return;
  for (const auto& [id, cell] : cells_) {
    VList* list = container_.GetList(id);
    if (list != &grid) continue;
    const auto* cfg = dynamic_cast<const ListCfg*>(cell);
    int record = 0;
    int column = 0;
    if (cfg == nullptr || !ListCellAt(*list, row, col, &record, &column) ||
        static_cast<std::size_t>(column) >= cfg->columns.size()) {
      return;
    }
    const ListColCfg& column_cfg = cfg->columns[static_cast<std::size_t>(column)];
    const std::string value = ParameterText(list->GetValue(record, column));
    switch (column_cfg.data_format) {
      case orbe::kClickOpenLink:
        OpenWithShell(value);
        return;
      case orbe::kClickMailTo:
        OpenWithShell("mailto:" + value);
        return;
      case orbe::kClickNothing:
        return;
      case orbe::kClickNotifyHost:
        NotifyHost(id, value, orbe::FieldText(column_cfg.title));
        return;
      default:  // a rendering: the column's pop-up cell, when it has one
        if (column_cfg.pop_cell != nullptr) OpenPopup(*column_cfg.pop_cell, value);
        return;
    }
  }
}

void CIniReportWnd::OpenWithShell(const std::string& target) {
  ShellExecuteA(GetSafeHwnd(), "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CIniReportWnd::NotifyHost(int cell_id, const std::string& value, const std::string& column_title) {
  if (host_window_ == nullptr) return;
  const IniReportHostNotice notice{value.c_str(), column_title.c_str(), security_code_.c_str(), host_text_.c_str(),
                                   {host_values_[0], host_values_[1], host_values_[2]}};
  ::SendMessage(host_window_, host_message_, reinterpret_cast<WPARAM>(&notice), cell_id);
}

void CIniReportWnd::OpenPopup(CellWndCfgBase& popup, const std::string& value) {
  ScrollWndCfg child = CIniReportUtil::GenerateChildScrollWndCfg(cfg_, &popup);
  if (child.display_order.empty()) return;
  orbe::CopyToField(popup.parameter, value);
  popup_open_ = true;
  const std::weak_ptr<int> alive = alive_;
  {
    CIniReportPopDlg dialog(child, orbe::ReportStart{title_bar_.Unit(), title_bar_.Term()}, security_code_, *this);
    popup_ = &dialog;
    dialog.DoModal();
  }
  // The host may have destroyed the report from inside the dialog's loop.
  if (alive.expired()) return;
  popup_ = nullptr;
  popup.parameter[0] = '\0';
  popup_open_ = false;
  if (deferred_message_ != 0) {
    PostMessage(deferred_message_);
    deferred_message_ = 0;
  }
}
