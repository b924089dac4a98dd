// The statistics pane: its output grid, the computation over the result
// grid's checked rows and the row-selection messages.
#include "orbe/screening/stat_calculate_wnd.h"

#include <algorithm>

#include "orbe/widgets/grid_ctrl.h"
#include "screening/column_statistics.h"
#include "screening/control_commands.h"
#include "screening/window_classes.h"

namespace {

constexpr COLORREF kAlternateRow = 0xF7F3F7;
constexpr int kFixedColumns = 3;  // the label column stands for result columns 0-2
// "Arial" at 15 pixels.
const orbe::FontSpec kOutputFont{"Arial", 11, 400};

enum class CheckMode { kClear, kSet, kInvert };

}  // namespace

CStatCalculateWnd::CStatCalculateWnd() = default;

CStatCalculateWnd::~CStatCalculateWnd() { DestroyWindow(); }

BOOL CStatCalculateWnd::Create(CWnd* parent, const RECT& rect, UINT id, DWORD style) {
  if (!orbe::RegisterWindowClassOnce(orbe::kStatisticsWindowClass, kBackground)) return FALSE;
  return CWnd::Create(orbe::kStatisticsWindowClass, "", style, rect, parent, id);
}

int CStatCalculateWnd::OnCreate() {
  output_ = std::make_unique<CGridCtrl>();
  output_->Create(RECT{}, this, kOutputGridId);
  ResetOutputGrid();
  options_ = std::make_unique<CDlgCalculate>();
  options_->Create(this, RECT{}, CDlgCalculate::kDialogId, WS_CHILD);
  options_->SetPane(GetSafeHwnd());
  return 0;
}

void CStatCalculateWnd::ResetOutputGrid() {
  output_->DeleteAllItems();
  output_->SetEditable(false);
  output_->SetHeaderSort(false);
  orbe::ApplyScreeningGridLook(*output_);
  output_->SetSingleRowSelection(true);
  output_->SetFixedRowCount(0);
  output_->SetFixedColumnCount(1);
  output_->SetFont(kOutputFont);
}

void CStatCalculateWnd::OnSize(UINT, int width, int height) {
  if (output_ == nullptr) return;
  const int rows = output_->GetRowCount() * kRowHeight;
  output_->MoveWindow(RECT{0, 0, width, std::min(rows, height)});
  options_->MoveWindow(RECT{0, rows, width, rows + CDlgCalculate::kHeight});
  options_->ShowWindow(OptionsShown() ? SW_SHOW : SW_HIDE);
}

void CStatCalculateWnd::ToggleOptions() {
  ++show_count_;
  RECT client;
  GetClientRect(&client);
  OnSize(SIZE_RESTORED, client.right, client.bottom);
}

int CStatCalculateWnd::GetPaneHeight() const {
  const int rows = output_ != nullptr ? output_->GetRowCount() * kRowHeight : 0;
  return OptionsShown() ? rows + CDlgCalculate::kHeight : rows;
}

void CStatCalculateWnd::RefreshWeightList() {
  std::vector<std::string> titles;
  if (result_ != nullptr) {
    for (int col = kResultFirstIndicator; col < result_->GetColumnCount(); ++col)
      titles.push_back(result_->GetItemText(0, col));
  }
  options_->FillWeightList(titles);
}

LRESULT CStatCalculateWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  const int rows = result_ != nullptr ? result_->GetRowCount() : 0;
  switch (message) {
    case WM_STAT_COMPUTE:
      Compute();
      return 0;
    case WM_STAT_CLEAR_ABOVE:
      if (const int last = LastSelectedRow(); last > 0) SetChecks(1, last, static_cast<int>(CheckMode::kClear));
      return 0;
    case WM_STAT_CLEAR_BELOW:
      if (const int last = LastSelectedRow(); last > 0) SetChecks(last + 1, rows, static_cast<int>(CheckMode::kClear));
      return 0;
    case WM_STAT_CHECK_ALL:
      SetChecks(1, rows, static_cast<int>(CheckMode::kSet));
      return 0;
    case WM_STAT_INVERT:
      SetChecks(1, rows, static_cast<int>(CheckMode::kInvert));
      return 0;
    default:
      return CWnd::WindowProc(message, wparam, lparam);
  }
}

int CStatCalculateWnd::LastSelectedRow() const {
  const CCellRange range = result_ != nullptr ? result_->GetSelectedCellRange() : CCellRange{};
  return range.IsValid() ? range.max_row : 0;
}

void CStatCalculateWnd::SetChecks(int first, int end, int mode) {
  if (result_ == nullptr) return;
  for (int row = std::max(first, 1); row < end && row < result_->GetRowCount(); ++row) {
    const GridCell* cell = result_->GetCell(row, kResultCheckColumn);
    if (cell == nullptr || cell->type != GridCellType::kCheck) continue;
    const bool checked = static_cast<CheckMode>(mode) == CheckMode::kSet     ? true
                         : static_cast<CheckMode>(mode) == CheckMode::kClear ? false
                                                                             : !cell->checked;
    result_->SetCheck(row, kResultCheckColumn, checked);
  }
  result_->Invalidate();
}

void CStatCalculateWnd::Compute() {
  ResetOutputGrid();
  const std::vector<int> enabled = options_->EnabledStatistics();
  std::vector<orbe::Statistic> statistics;
  for (const int i : enabled) statistics.push_back(orbe::kStatistics[i].statistic);
  const int columns = result_ != nullptr ? std::max(0, result_->GetColumnCount() - kFixedColumns) : 0;
  output_->SetColumnCount(columns);
  output_->SetRowCount(static_cast<int>(enabled.size()));
  if (result_ == nullptr || columns == 0) return;
  const int rows = result_->GetRowCount();

  // Which rows count, and their weights from the column the weight list names.
  std::vector<bool> checked;
  for (int row = 1; row < rows; ++row) {
    const GridCell* cell = result_->GetCell(row, kResultCheckColumn);
    checked.push_back(cell != nullptr && cell->type == GridCellType::kCheck && cell->checked);
  }
  std::optional<orbe::StatWeights> weights;
  const std::string weightTitle = options_->GetWeightTitle();
  for (int col = kResultFirstIndicator; col < result_->GetColumnCount() && !weightTitle.empty(); ++col) {
    if (result_->GetItemText(0, col) != weightTitle) continue;
    const int type = static_cast<int>(result_->GetItemData(0, col));
    weights.emplace();
    for (int row = 1; row < rows; ++row) {
      const double weight = orbe::ParseStatValue(result_->GetItemText(row, col), type).value_or(0);
      weights->values.push_back(weight);
      if (checked[static_cast<std::size_t>(row - 1)]) weights->total += weight;
    }
    break;
  }

  int labelWidth = 0;
  for (int col = 0; col < result_->GetColumnCount(); ++col) {
    if (col < kResultCheckColumn) {
      labelWidth += result_->GetColumnWidth(col);
    } else if (col == kResultCheckColumn) {
      for (std::size_t i = 0; i < enabled.size(); ++i) {
        output_->SetItemText(static_cast<int>(i), 0, orbe::kStatistics[enabled[i]].label);
        output_->SetRowHeight(static_cast<int>(i), kRowHeight);
      }
    } else {
      orbe::StatColumn column;
      column.type = static_cast<int>(result_->GetItemData(0, col));
      for (int row = 1; row < rows; ++row) column.texts.push_back(result_->GetItemText(row, col));
      column.checked = checked;
      const std::vector<std::string> texts = orbe::ComputeStatistics(column, statistics, weights);
      const int out = col - kFixedColumns;
      for (std::size_t i = 0; i < texts.size(); ++i) output_->SetItemText(static_cast<int>(i), out, texts[i]);
      const int extra = out == 1 ? result_->GetColumnWidth(kResultCheckColumn) : 0;
      output_->SetColumnWidth(out, result_->GetColumnWidth(col) + extra);
    }
  }
  output_->SetColumnWidth(0, labelWidth);
  for (int row = 0; row < output_->GetRowCount(); ++row) {
    for (int col = 1; col < columns; ++col) {
      output_->SetItemBkColour(row, col, row % 2 == 1 ? kAlternateRow : RGB(255, 255, 255));
    }
  }
  if (owner_ != nullptr) ::PostMessage(owner_, WM_SIZE, 0, 0);
}
