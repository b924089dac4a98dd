#include "orbe/widgets/grid_ctrl.h"

#include <algorithm>

CGridCtrl::CGridCtrl(int rows, int cols, int fixed_rows, int fixed_cols, IGridScroll* scroll)
    : KvxWidget(orbe::WidgetKind::kGrid), scroll_(scroll) {
  SetColumnCount(cols);
  SetRowCount(rows);
  SetFixedRowCount(fixed_rows);
  SetFixedColumnCount(fixed_cols);
}

BOOL CGridCtrl::Create(const RECT& rect, CWnd* parent, UINT id, DWORD style) {
  return CWnd::Create(parent, rect, id, style);
}

bool CGridCtrl::SetRowCount(int rows) {
  if (rows < 0 || rows > kMaxRows || static_cast<long long>(rows) * cols_ > kMaxCells) return false;
  cells_.resize(static_cast<std::size_t>(rows));
  for (Row& row : cells_) row.cells.resize(static_cast<std::size_t>(cols_));
  ClampState();
  return true;
}

bool CGridCtrl::SetColumnCount(int cols) {
  if (cols < 0 || cols > kMaxColumns || static_cast<long long>(cols) * GetRowCount() > kMaxCells) return false;
  cols_ = cols;
  for (Row& row : cells_) row.cells.resize(static_cast<std::size_t>(cols));
  col_widths_.resize(static_cast<std::size_t>(cols), 80);
  sort_kinds_.resize(static_cast<std::size_t>(cols), GridSortKind::kText);
  ClampState();
  return true;
}

bool CGridCtrl::SetFixedRowCount(int rows) {
  if (rows < 0) return false;
  if (rows > GetRowCount() && !SetRowCount(rows)) return false;
  fixed_rows_ = rows;
  ClampState();
  return true;
}

bool CGridCtrl::SetFixedColumnCount(int cols) {
  if (cols < 0) return false;
  if (cols > cols_ && !SetColumnCount(cols)) return false;
  fixed_cols_ = cols;
  ClampState();
  return true;
}

int CGridCtrl::InsertRow(const std::string& heading, int before) {
  if (before < -1 || before > GetRowCount() || GetRowCount() >= kMaxRows) return -1;
  const int at = before == -1 ? GetRowCount() : before;
  Row row;
  row.cells.resize(static_cast<std::size_t>(cols_));
  if (cols_ > 0) row.cells[0].text = heading;
  cells_.insert(cells_.begin() + at, std::move(row));
  return at;
}

bool CGridCtrl::DeleteRow(int row) {
  if (row < 0 || row >= GetRowCount()) return false;
  cells_.erase(cells_.begin() + row);
  if (row < fixed_rows_) --fixed_rows_;
  ClampState();
  return true;
}

void CGridCtrl::DeleteNonFixedRows() { SetRowCount(fixed_rows_); }

void CGridCtrl::DeleteAllItems() {
  cells_.clear();
  cols_ = 0;
  col_widths_.clear();
  sort_kinds_.clear();
  fixed_rows_ = fixed_cols_ = 0;
  ClampState();
}

void CGridCtrl::ClampState() {
  fixed_rows_ = std::min(fixed_rows_, GetRowCount());
  fixed_cols_ = std::min(fixed_cols_, cols_);
  if (!IsValid(focus_.row, focus_.col)) focus_ = {};
  if (!IsValid(cross_.row, cross_.col) || IsFixed(cross_.row, cross_.col) ||
      !IsValid(cross_range_.max_row, cross_range_.max_col)) {
    cross_ = {};
    cross_range_ = {};
  }
  // A merge that no longer lies inside the fixed cells goes.
  std::erase_if(merges_, [this](const GridMerge& m) {
    return !IsValid(m.range.max_row, m.range.max_col) ||
           (m.range.max_row >= fixed_rows_ && m.range.max_col >= fixed_cols_);
  });
  selection_.max_row = std::min(selection_.max_row, GetRowCount() - 1);
  selection_.max_col = std::min(selection_.max_col, cols_ - 1);
  if (!selection_.IsValid()) selection_ = {};
  if (sort_col_ >= cols_) sort_col_ = -1;
  // A shrunk grid never keeps a scroll position past its last row or column.
  scroll_row_ = std::clamp(scroll_row_, 0, std::max(0, GetRowCount() - 1));
  scroll_col_ = std::clamp(scroll_col_, 0, std::max(0, cols_ - 1));
}

bool CGridCtrl::IsValid(int row, int col) const {
  return row >= 0 && col >= 0 && row < GetRowCount() && col < cols_;
}

GridCell* CGridCtrl::GetCell(int row, int col) {
  return IsValid(row, col) ? &cells_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)]
                           : nullptr;
}

const GridCell* CGridCtrl::GetCell(int row, int col) const {
  return IsValid(row, col) ? &cells_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(col)]
                           : nullptr;
}

bool CGridCtrl::SetItem(int row, int col, const GridCell& cell) {
  GridCell* target = GetCell(row, col);
  if (target == nullptr) return false;
  *target = cell;
  return true;
}

bool CGridCtrl::SetItemText(int row, int col, const std::string& text) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->text = text;
  return true;
}

std::string CGridCtrl::GetItemText(int row, int col) const {
  const GridCell* cell = GetCell(row, col);
  return cell == nullptr ? std::string() : cell->text;
}

bool CGridCtrl::SetItemData(int row, int col, LPARAM data) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->data = data;
  return true;
}

LPARAM CGridCtrl::GetItemData(int row, int col) const {
  const GridCell* cell = GetCell(row, col);
  return cell == nullptr ? 0 : cell->data;
}

bool CGridCtrl::SetItemBkColour(int row, int col, COLORREF color) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->bk_color = color;
  return true;
}

bool CGridCtrl::SetItemFgColour(int row, int col, COLORREF color) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->text_color = color;
  return true;
}

bool CGridCtrl::SetItemFont(int row, int col, const orbe::FontSpec& font) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->font = font;
  return true;
}

bool CGridCtrl::SetItemAlign(int row, int col, CellAlign align) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->align = align;
  return true;
}

bool CGridCtrl::SetCellType(int row, int col, GridCellType type) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->type = type;
  return true;
}

bool CGridCtrl::SetCheck(int row, int col, bool checked) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr || cell->type != GridCellType::kCheck) return false;
  cell->checked = checked;
  return true;
}

bool CGridCtrl::GetCheck(int row, int col) const {
  const GridCell* cell = GetCell(row, col);
  return cell != nullptr && cell->type == GridCellType::kCheck && cell->checked;
}

bool CGridCtrl::SetComboItems(int row, int col, const std::vector<std::string>& items) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->type = GridCellType::kCombo;
  cell->combo_items = items;
  return true;
}

bool CGridCtrl::SetMultiLineItemText(int row, int col, const std::string& text) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->type = GridCellType::kMultiLine;
  cell->text = text;
  return true;
}

bool CGridCtrl::SetCellReadOnly(int row, int col, bool read_only) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->read_only = read_only;
  return true;
}

bool CGridCtrl::SetRowReadOnly(int row, bool read_only) {
  if (row < 0 || row >= GetRowCount()) return false;
  for (GridCell& cell : cells_[static_cast<std::size_t>(row)].cells) cell.read_only = read_only;
  return true;
}

bool CGridCtrl::SetColReadOnly(int col, bool read_only) {
  if (col < 0 || col >= cols_) return false;
  for (Row& row : cells_) row.cells[static_cast<std::size_t>(col)].read_only = read_only;
  return true;
}

void CGridCtrl::SetAllCellReadOnly(bool read_only) {
  for (Row& row : cells_) {
    for (GridCell& cell : row.cells) cell.read_only = read_only;
  }
}

bool CGridCtrl::IsCellEditable(int row, int col) const {
  const GridCell* cell = GetCell(row, col);
  return cell != nullptr && editable_ && !IsFixed(row, col) && !cell->read_only &&
         (cell->type == GridCellType::kText || cell->type == GridCellType::kMultiLine);
}

bool CGridCtrl::SetColumnWidth(int col, int width) {
  if (col < 0 || col >= cols_ || width < 0) return false;
  col_widths_[static_cast<std::size_t>(col)] = width;
  return true;
}

int CGridCtrl::GetColumnWidth(int col) const {
  return col >= 0 && col < cols_ ? col_widths_[static_cast<std::size_t>(col)] : 0;
}

bool CGridCtrl::SetRowHeight(int row, int height) {
  if (row < 0 || row >= GetRowCount() || height < 0) return false;
  cells_[static_cast<std::size_t>(row)].height = height;
  return true;
}

int CGridCtrl::GetRowHeight(int row) const {
  return row >= 0 && row < GetRowCount() ? cells_[static_cast<std::size_t>(row)].height : 0;
}

void CGridCtrl::AutoSizeColumns() {
  constexpr int kPixelsPerByte = 7;
  constexpr int kPadding = 8;
  for (int col = 0; col < cols_; ++col) {
    if (!IsColumnShown(col)) continue;
    std::size_t longest = 0;
    for (const Row& row : cells_) {
      const std::string& text = row.cells[static_cast<std::size_t>(col)].text;
      std::size_t line_start = 0;
      // A multi-line cell is as wide as its longest line.
      while (line_start <= text.size()) {
        const std::size_t line_end = std::min(text.find('\n', line_start), text.size());
        longest = std::max(longest, line_end - line_start);
        line_start = line_end + 1;
      }
    }
    SetColumnWidth(col, static_cast<int>(longest) * kPixelsPerByte + kPadding);
  }
}

bool CGridCtrl::SetSelectedRange(const CCellRange& range) {
  if (!range.IsValid()) {
    selection_ = {};
    return true;
  }
  if (!IsValid(range.min_row, range.min_col) || !IsValid(range.max_row, range.max_col)) return false;
  selection_ = range;
  return true;
}

bool CGridCtrl::SetFocusCell(int row, int col) {
  if (row == -1 && col == -1) {
    focus_ = {};
    return true;
  }
  if (!IsValid(row, col)) return false;
  focus_ = {row, col};
  return true;
}

void CGridCtrl::EnableCrossSelection(bool enable, UINT message) {
  cross_enabled_ = enable;
  cross_message_ = message;
}

bool CGridCtrl::SetCrossCell(int row, int col) {
  if (row == -1 && col == -1) {
    cross_ = {};
    cross_range_ = {};
    return true;
  }
  if (!IsValid(row, col) || IsFixed(row, col)) return false;
  cross_ = {row, col};
  cross_range_ = {row, col, row, col};
  return true;
}

bool CGridCtrl::IsCellCrossSelected(int row, int col) const {
  if (!cross_enabled_ || !cross_range_.IsValid() || !IsValid(row, col) || IsFixed(row, col)) return false;
  return (row >= cross_range_.min_row && row <= cross_range_.max_row) ||
         (col >= cross_range_.min_col && col <= cross_range_.max_col);
}

void CGridCtrl::SetColumnSortKind(int col, GridSortKind kind) {
  if (col >= 0 && col < cols_) sort_kinds_[static_cast<std::size_t>(col)] = kind;
}

GridSortKind CGridCtrl::GetColumnSortKind(int col) const {
  return col >= 0 && col < cols_ ? sort_kinds_[static_cast<std::size_t>(col)] : GridSortKind::kText;
}

void CGridCtrl::SetScrollPos32(int col, int row) {
  scroll_col_ = std::clamp(col, 0, std::max(0, cols_ - fixed_cols_ - 1));
  scroll_row_ = std::clamp(row, 0, std::max(0, GetRowCount() - fixed_rows_ - 1));
  if (scroll_ != nullptr) scroll_->OnGridScrolled(scroll_row_, scroll_col_);
}

LRESULT CGridCtrl::Notify(UINT code, int row, int col) {
  CWnd* parent = GetParent();
  if (parent == nullptr) return 0;
  NM_GRIDVIEW record{{m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), code}, row, col};
  return parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()),
                             reinterpret_cast<LPARAM>(&record));
}
