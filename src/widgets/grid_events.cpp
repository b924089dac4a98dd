// What a user does to a grid, and the notifications that follow.
#include "orbe/platform/shell.h"
#include "orbe/widgets/grid_ctrl.h"

void CGridCtrl::SelectClickedCell(int row, int col) {
  const bool row_head = select_fixed_column_ && row >= fixed_rows_ && col < fixed_cols_;
  if (!selection_enabled_ || (IsFixed(row, col) && !row_head)) return;
  const CCellRange before = selection_;
  focus_ = {row, col};
  if (list_mode_ || single_row_ || row_head) {
    selection_ = CCellRange{row, fixed_cols_ < cols_ ? fixed_cols_ : 0, row, cols_ - 1};
  } else if (single_col_) {
    selection_ = CCellRange{fixed_rows_, col, GetRowCount() - 1, col};
  } else {
    selection_ = CCellRange{row, col, row, col};
  }
  if (!(before == selection_)) {
    Notify(GVN_SELCHANGED, row, col);
    if (listener_ != nullptr) listener_->OnGridSelChanged(*this, row, col);
  }
}

// Each callback may change the grid or take it from its owner (a script that
// clears or deletes the grid it was told about): the notifications after it
// are sent only while the grid keeps its window, its listener and the cell.
bool CGridCtrl::StillShowing(HWND self, const IGridNotifyMsg* listener, int row, int col) const {
  return ::IsWindow(self) && listener_ == listener && IsValid(row, col);
}

bool CGridCtrl::ClickCell(int row, int col) {
  if (!IsValid(row, col)) return false;
  const HWND self = GetSafeHwnd();
  IGridNotifyMsg* const listener = listener_;
  if (row < fixed_rows_ && col >= fixed_cols_ && header_sort_) {
    SortItems(col, sort_col_ == col ? !sort_ascending_ : true);
    if (sorted_go_head_) SetScrollPos32(scroll_col_, 0);
    Notify(GVN_COLUMNCLICK, row, col);
  } else {
    SelectClickedCell(row, col);
    if (!StillShowing(self, listener, row, col)) return true;
  }
  if (cross_enabled_ && !IsFixed(row, col) && !(cross_range_ == CCellRange{row, col, row, col})) {
    cross_ = {row, col};
    cross_range_ = {row, col, row, col};
    CWnd* parent = GetParent();
    if (cross_message_ != 0 && parent != nullptr) {
      parent->PostMessage(cross_message_, static_cast<WPARAM>(row), static_cast<LPARAM>(col));
    }
  }
  GridCell& cell = *GetCell(row, col);
  if (cell.type == GridCellType::kCheck && !cell.read_only && !IsFixed(row, col)) {
    cell.checked = !cell.checked;
    Notify(GVN_CHECKCLICKED, row, col);
    if (listener != nullptr) listener->OnGridCheckClicked(*this, row, col, cell.checked);
    if (!StillShowing(self, listener, row, col)) return true;
  }
  // A link opens its address with the desktop's "open" action.
  if (cell.type == GridCellType::kUrl && !cell.url.empty() && !IsFixed(row, col)) {
    ShellExecuteA(GetSafeHwnd(), "open", cell.url.c_str(), nullptr, nullptr, SW_SHOW);
  }
  Notify(NM_CLICK, row, col);
  if (listener != nullptr) listener->OnGridClick(*this, row, col);
  return true;
}

bool CGridCtrl::DoubleClickCell(int row, int col) {
  const HWND self = GetSafeHwnd();
  IGridNotifyMsg* const listener = listener_;
  // The button goes down twice: the first press is an ordinary click, whose
  // handlers may have taken the grid away; a grid no longer shown is not
  // double-clicked.
  if (!ClickCell(row, col)) return false;
  if (!StillShowing(self, listener, row, col)) return true;
  Notify(NM_DBLCLK, row, col);
  if (listener != nullptr) listener->OnGridDblClick(*this, row, col);
  return true;
}

bool CGridCtrl::RightClickCell(int row, int col) {
  if (!IsValid(row, col)) return false;
  SelectClickedCell(row, col);
  Notify(NM_RCLICK, row, col);
  return true;
}

bool CGridCtrl::EditCell(int row, int col, const std::string& text) {
  if (!IsCellEditable(row, col)) return false;
  if (Notify(GVN_BEGINLABELEDIT, row, col) < 0) return false;
  GetCell(row, col)->text = text;
  Notify(GVN_ENDLABELEDIT, row, col);
  if (listener_ != nullptr) listener_->OnGridEndEdit(*this, row, col, text);
  return true;
}

bool CGridCtrl::PickComboEntry(int row, int col, int index) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr || cell->type != GridCellType::kCombo || cell->read_only || IsFixed(row, col) ||
      index < 0 || index >= static_cast<int>(cell->combo_items.size())) {
    return false;
  }
  cell->text = cell->combo_items[static_cast<std::size_t>(index)];
  Notify(GVN_COMBOSELCHANGE, row, col);
  if (listener_ != nullptr) listener_->OnGridComboSelChange(*this, row, col, index);
  return true;
}

bool CGridCtrl::ResizeColumn(int col, int width) {
  if (!col_resize_ || !SetColumnWidth(col, width)) return false;
  Notify(GVN_COLUMNRESIZED, -1, col);
  if (listener_ != nullptr) listener_->OnGridColumnResized(*this, col, width);
  return true;
}

bool CGridCtrl::Scroll(int rows) {
  const CCellID before = GetScrollPos32();
  SetScrollPos32(scroll_col_, scroll_row_ + rows);
  return !(before == GetScrollPos32());
}
