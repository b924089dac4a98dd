// The result display: the fetch, the grid it fills, the chart, the layout
// with the statistics pane and the summary line.
#include "orbe/screening/data_display_wnd.h"

#include <algorithm>

#include "orbe/screening/screening_ids.h"
#include "orbe/screening/stat_calculate_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/chart_ctrl.h"
#include "orbe/widgets/grid_ctrl.h"
#include "screening/column_statistics.h"
#include "screening/control_commands.h"

namespace {

constexpr UINT kFetchDoneMessage = WM_USER + 0x320;
constexpr int kViewButtonWidth = 48;
constexpr const char* kCheckHeader = "选择";

}  // namespace

CDataDisplayWnd::CDataDisplayWnd(IIndexMgr* mgr, HWND owner, UINT doneMessage)
    : mgr_(mgr), owner_(owner), done_message_(doneMessage) {}

CDataDisplayWnd::~CDataDisplayWnd() { DestroyWindow(); }

int CDataDisplayWnd::OnCreate() {
  events_ = std::make_unique<orbe::CommandEvents>(*this);
  grid_ = std::make_unique<CGridCtrl>(1, 0, 1, kFixedColumns);
  grid_->Create(RECT{}, this, orbe::kCtrlResultGrid);
  orbe::ApplyScreeningGridLook(*grid_);
  grid_->SetEditable(false);
  grid_->SetHeaderSort(true);

  chart_ = std::make_unique<CChartCtrl>();
  chart_->Create(this, RECT{}, orbe::kCtrlResultChart, WS_CHILD);
  chart_->SetLegendVisible(true);

  stats_ = std::make_unique<CStatCalculateWnd>();
  stats_->Create(this, RECT{}, orbe::kCtrlStatistics, WS_CHILD | WS_VISIBLE);
  stats_->SetResultGrid(grid_.get());
  stats_->SetOwner(GetSafeHwnd());

  summary_ = std::make_unique<CWnd>();
  summary_->Create(this, RECT{}, orbe::kCtrlSummary, WS_CHILD | WS_VISIBLE);
  orbe::AddControl(*this, grid_button_, *events_, orbe::kCmdShowGrid, RECT{}, "表格");
  orbe::AddControl(*this, chart_button_, *events_, orbe::kCmdShowChart, RECT{}, "图表");

  fetch_ = std::make_unique<CFetchMultiProgress>(mgr_, GetSafeHwnd(), kFetchDoneMessage);
  fetch_->Create(this, RECT{}, orbe::kCtrlFetch);
  BuildHeader(IndexScheme{});
  UpdateSummary();
  return 0;
}

void CDataDisplayWnd::OnSize(UINT, int, int) { Layout(); }

// The grid (or the chart) above the statistics pane, the summary line at the bottom.
void CDataDisplayWnd::Layout() {
  if (grid_ == nullptr) return;
  RECT client;
  GetClientRect(&client);
  const int width = client.right;
  const int height = client.bottom;
  const int pane = stats_->GetPaneHeight();
  const int gridHeight = std::max(0, height - pane - kSummaryHeight);
  grid_->MoveWindow(RECT{0, 0, width, gridHeight});
  chart_->MoveWindow(RECT{0, 0, width, gridHeight});
  stats_->MoveWindow(RECT{0, gridHeight, width, gridHeight + pane});
  const int summaryTop = std::max(0, height - kSummaryHeight);
  const int buttons = 2 * kViewButtonWidth;
  summary_->MoveWindow(RECT{0, summaryTop, std::max(0, width - buttons), height});
  grid_button_->MoveWindow(RECT{width - buttons, summaryTop, width - kViewButtonWidth, height});
  chart_button_->MoveWindow(RECT{width - kViewButtonWidth, summaryTop, width, height});
  fetch_->MoveWindow(RECT{0, summaryTop, std::max(0, width - buttons), height});
}

LRESULT CDataDisplayWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kFetchDoneMessage:
      OnFetchDone();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wparam) == orbe::kCmdShowGrid) ShowGrid();
      if (LOWORD(wparam) == orbe::kCmdShowChart) ShowChart();
      return 0;
    case WM_NOTIFY:
      if (lparam != 0) {
        const auto* notify = reinterpret_cast<const NM_GRIDVIEW*>(lparam);
        if (notify->hdr.idFrom == orbe::kCtrlResultGrid && notify->hdr.code == NM_DBLCLK) SwitchToRow(notify->iRow);
      }
      return 0;
    default:
      return CWnd::WindowProc(message, wparam, lparam);
  }
}

BOOL CDataDisplayWnd::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN || msg->wParam != VK_RETURN || grid_ == nullptr || msg->hwnd != grid_->GetSafeHwnd()) {
    return FALSE;
  }
  const CCellRange selected = grid_->GetSelectedCellRange();
  if (selected.IsValid()) SwitchToRow(selected.min_row);
  return TRUE;
}

bool CDataDisplayWnd::Fetch(const IndexScheme& scheme, const std::string& codes) {
  if (fetch_ == nullptr || fetching_ || fetch_->IsBusy()) return false;
  total_ = 0;
  result_rows_ = 0;
  if (!fetch_->FetchData(scheme, codes)) return fetching_;
  scheme_ = scheme;
  BuildHeader(scheme);
  fetching_ = true;
  return fetching_;
}

void CDataDisplayWnd::BuildHeader(const IndexScheme& scheme) {
  columns_ = orbe::ScreeningColumns(mgr_, scheme);
  grid_->DeleteAllItems();
  grid_->SetRowCount(1);
  grid_->SetColumnCount(static_cast<int>(columns_.size()) + 1);
  grid_->SetFixedRowCount(1);
  grid_->SetFixedColumnCount(kFixedColumns);
  grid_->SetRowHeight(0, kHeaderHeight);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const orbe::ScreeningColumn& column = columns_[i];
    const int col = static_cast<int>(i) < kFixedColumns ? static_cast<int>(i) : static_cast<int>(i) + 1;
    grid_->SetMultiLineItemText(0, col, column.title);
    const int type = static_cast<int>(i) < kFixedColumns ? orbe::kStatText : orbe::StatColumnTypeOf(column.datatype);
    grid_->SetItemData(0, col, type);
    const bool number = type != orbe::kStatText;
    grid_->SetColumnSortKind(col, number ? GridSortKind::kNumber : GridSortKind::kText);
  }
  grid_->SetItemText(0, kResultCheckColumn, kCheckHeader);
  grid_->SetItemData(0, kResultCheckColumn, orbe::kStatText);
}

void CDataDisplayWnd::OnFetchDone() {
  fetching_ = false;
  FillGrid();
  total_ = fetch_->GetTotal();
  result_rows_ = grid_->GetRowCount() - 1;
  stats_->RefreshWeightList();
  if (chart_shown_) BuildChart();
  UpdateSummary();
  Layout();
  Invalidate();
  if (owner_ != nullptr) ::PostMessage(owner_, done_message_, 0, 0);
}

void CDataDisplayWnd::FillGrid() {
  grid_->DeleteNonFixedRows();
  const SgTable& table = fetch_->GetResultTable();
  grid_->SetRowCount(1 + static_cast<int>(table.size()));
  int row = 1;
  for (const auto& [id, cells] : table) {
    for (const auto& [col, cell] : cells) {
      const int gridCol = col < kFixedColumns ? col : col + 1;
      grid_->SetItemText(row, gridCol, cell.text);
      grid_->SetItemBkColour(row, gridCol, cell.color);
      const int type = static_cast<int>(grid_->GetItemData(0, gridCol));
      grid_->SetItemAlign(row, gridCol, type == orbe::kStatText ? CellAlign::kLeft : CellAlign::kRight);
    }
    grid_->SetCellType(row, kResultCheckColumn, GridCellType::kCheck);
    grid_->SetCheck(row, kResultCheckColumn, true);
    grid_->SetRowHeight(row, kRowHeight);
    ++row;
  }
  // Columns fit their texts unless the scheme gives a width; hidden rows get none.
  grid_->AutoSizeColumns();
  for (std::size_t i = kFixedColumns; i < columns_.size(); ++i) {
    const orbe::ScreeningColumn& column = columns_[i];
    const int col = static_cast<int>(i) + 1;
    if (!column.visible)
      grid_->SetColumnWidth(col, 0);
    else if (column.width > 0)
      grid_->SetColumnWidth(col, column.width);
  }
}

void CDataDisplayWnd::Clear() {
  BuildHeader(IndexScheme{});
  chart_->RemoveAllSeries();
  total_ = 0;
  result_rows_ = 0;
  UpdateSummary();
  Layout();
  Invalidate();
}

int CDataDisplayWnd::GetGridRowCount() const { return grid_ != nullptr ? grid_->GetRowCount() : 0; }

int CDataDisplayWnd::GetFetchProgress() const { return fetch_ != nullptr ? fetch_->GetProgress() : 0; }

std::string CDataDisplayWnd::GetSummaryText() const {
  CString text;
  if (summary_ != nullptr) summary_->GetWindowText(text);
  return text;
}

void CDataDisplayWnd::UpdateSummary() { summary_->SetWindowText(orbe::ScreeningSummary(result_rows_, total_)); }

void CDataDisplayWnd::ShowStatistics() {
  stats_->ToggleOptions();
  Layout();
}

void CDataDisplayWnd::ShowGrid() {
  chart_shown_ = false;
  chart_->ShowWindow(SW_HIDE);
  grid_->ShowWindow(SW_SHOW);
}

void CDataDisplayWnd::ShowChart() {
  BuildChart();
  chart_shown_ = true;
  grid_->ShowWindow(SW_HIDE);
  chart_->ShowWindow(SW_SHOW);
}

void CDataDisplayWnd::BuildChart() {
  chart_->RemoveAllSeries();
  const int rows = grid_->GetRowCount();
  if (rows < 2) return;
  for (int col = kResultFirstIndicator; col < grid_->GetColumnCount(); ++col) {
    const int type = static_cast<int>(grid_->GetItemData(0, col));
    if (type == orbe::kStatText) continue;
    const int series = chart_->AddSerie(ChartSeriesKind::kLine, grid_->GetItemText(0, col));
    chart_->GetSerie(series)->color = kChartColors[static_cast<std::size_t>(col) % kChartColors.size()];
    for (int row = 1; row < rows; ++row) {
      const std::string text = grid_->GetItemText(row, col);
      const std::optional<double> value = text == "--" ? std::nullopt : orbe::ParseStatValue(text, type);
      if (value) chart_->AddPoint(series, row, *value, grid_->GetItemText(row, 1));
    }
  }
}

CKvxButton* CDataDisplayWnd::GetViewButton(UINT id) const {
  if (id == orbe::kCmdShowGrid) return grid_button_.get();
  if (id == orbe::kCmdShowChart) return chart_button_.get();
  return nullptr;
}
