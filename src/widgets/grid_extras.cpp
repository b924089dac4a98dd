// The grid's cell extras (links, images, hidden texts, tips), merged fixed
// cells, auto-sizing and geometry (sizes, hit tests, the cells in view).
#include <algorithm>

#include "orbe/widgets/grid_ctrl.h"

namespace {

constexpr int kPixelsPerByte = 7;
constexpr int kTextPadding = 8;
constexpr int kLineHeight = 18;
constexpr int kRowPadding = 2;

int LineCount(const std::string& text) { return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

std::size_t LongestLine(const std::string& text) {
  std::size_t longest = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    longest = std::max(longest, end - start);
    start = end + 1;
  }
  return longest;
}

bool Overlap(const CCellRange& a, const CCellRange& b) {
  return a.min_row <= b.max_row && b.min_row <= a.max_row && a.min_col <= b.max_col && b.min_col <= a.max_col;
}

}  // namespace

bool CGridCtrl::SetGridLines(int lines) {
  if (lines < GVL_NONE || lines > GVL_BOTH) return false;
  look_.lines = lines;
  return true;
}

bool CGridCtrl::SetItemUrl(int row, int col, const std::string& url) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->url = url;
  cell->type = url.empty() ? GridCellType::kText : GridCellType::kUrl;
  return true;
}

bool CGridCtrl::SetItemImage(int row, int col, int image) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr || image < -1 || image >= kGridCellImageCount) return false;
  cell->image = image;
  return true;
}

bool CGridCtrl::SetItemHidden(int row, int col, const std::string& text) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->hidden = text;
  return true;
}

std::string CGridCtrl::GetItemHidden(int row, int col) const {
  const GridCell* cell = GetCell(row, col);
  return cell != nullptr ? cell->hidden : std::string();
}

bool CGridCtrl::SetItemTitleTip(int row, int col, const std::string& title, const std::string& tip) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->tip_title = title;
  cell->tip = tip;
  return true;
}

bool CGridCtrl::SetComboStyle(int row, int col, int style) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr || style < 0 || style > 1) return false;
  cell->combo_style = style;
  return true;
}

bool CGridCtrl::AddComboItem(int row, int col, const std::string& text) {
  GridCell* cell = GetCell(row, col);
  if (cell == nullptr) return false;
  cell->type = GridCellType::kCombo;
  cell->combo_items.push_back(text);
  return true;
}

void CGridCtrl::CleanNonFixedCells() {
  for (int row = fixed_rows_; row < GetRowCount(); ++row) {
    for (int col = fixed_cols_; col < cols_; ++col) *GetCell(row, col) = GridCell{};
  }
}

bool CGridCtrl::MergeFixedCells(const GridMerge& merge) {
  const CCellRange& r = merge.range;
  if (!IsValid(r.min_row, r.min_col) || !IsValid(r.max_row, r.max_col) || !r.IsValid()) return false;
  // Every cell of the range is fixed: inside the heading rows or the fixed columns.
  const bool in_fixed_rows = r.max_row < fixed_rows_;
  const bool in_fixed_cols = r.max_col < fixed_cols_;
  if (!in_fixed_rows && !in_fixed_cols) return false;
  if (r.min_row == r.max_row && r.min_col == r.max_col) return false;  // one cell merges nothing
  for (const GridMerge& other : merges_) {
    if (Overlap(other.range, r)) return false;
  }
  merges_.push_back(merge);
  return true;
}

const GridMerge* CGridCtrl::MergeAt(int row, int col) const {
  for (const GridMerge& merge : merges_) {
    if (merge.range.InRange(row, col)) return &merge;
  }
  return nullptr;
}

bool CGridCtrl::SetAutoSizeStyle(int style) {
  if (style < GVS_DEFAULT || style > GVS_BOTH) return false;
  autosize_style_ = style;
  return true;
}

std::size_t CGridCtrl::LongestText(int col, int style) const {
  if (style == GVS_DEFAULT) style = GVS_BOTH;
  std::size_t longest = 0;
  for (int row = 0; row < GetRowCount(); ++row) {
    const bool fixed = row < fixed_rows_;
    if ((fixed && (style & GVS_HEADER) == 0) || (!fixed && (style & GVS_DATA) == 0)) continue;
    longest = std::max(longest, LongestLine(GetCell(row, col)->text));
  }
  return longest;
}

bool CGridCtrl::AutoSizeColumn(int col, int style) {
  if (col < 0 || col >= cols_ || !IsColumnShown(col) || style < GVS_DEFAULT || style > GVS_BOTH) return false;
  const int arrow = header_sort_ ? look_.arrow_room : 0;
  return SetColumnWidth(col, static_cast<int>(LongestText(col, style)) * kPixelsPerByte + kTextPadding + arrow);
}

bool CGridCtrl::AutoSizeRow(int row) {
  if (row < 0 || row >= GetRowCount()) return false;
  int lines = 1;
  for (int col = 0; col < cols_; ++col) {
    const GridCell& cell = *GetCell(row, col);
    if (cell.type == GridCellType::kMultiLine) lines = std::max(lines, LineCount(cell.text));
  }
  return SetRowHeight(row, lines * kLineHeight + kRowPadding);
}

void CGridCtrl::AutoSize(int style) {
  for (int col = 0; col < cols_; ++col) AutoSizeColumn(col, style);
  for (int row = 0; row < GetRowCount(); ++row) AutoSizeRow(row);
}

SIZE CGridCtrl::GetTotalSize() const {
  SIZE size{0, 0};
  for (int col = 0; col < cols_; ++col) size.cx += GetColumnWidth(col);
  for (int row = 0; row < GetRowCount(); ++row) size.cy += GetRowHeight(row);
  return size;
}

namespace {

// The index along one axis under `offset`: the fixed part first, then the
// scrolled part from `first`; -1 past the end.
template <typename Size>
int IndexAt(int offset, int count, int fixed, int first, Size size) {
  if (offset < 0) return -1;
  int edge = 0;
  for (int i = 0; i < fixed && i < count; ++i) {
    edge += size(i);
    if (offset < edge) return i;
  }
  for (int i = std::max(first + fixed, fixed); i < count; ++i) {
    edge += size(i);
    if (offset < edge) return i;
  }
  return -1;
}

}  // namespace

CCellID CGridCtrl::GetCellFromPt(int x, int y) const {
  const int row = IndexAt(y, GetRowCount(), fixed_rows_, scroll_row_, [this](int r) { return GetRowHeight(r); });
  const int col = IndexAt(x, cols_, fixed_cols_, scroll_col_, [this](int c) { return GetColumnWidth(c); });
  if (row < 0 || col < 0) return {};
  return {row, col};
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange() const {
  if (GetRowCount() <= fixed_rows_ || cols_ <= fixed_cols_) return {};
  RECT client{};
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  // The last shown row or column that starts inside the client area is in view.
  const auto last_in_view = [](int first, int count, int fixed_extent, int room, auto size) {
    int edge = fixed_extent;
    int last = first;
    for (int i = first; i < count; ++i) {
      if (edge >= room && i > first) break;
      if (size(i) > 0 || i == first) last = i;
      edge += size(i);
    }
    return last;
  };
  int fixed_height = 0;
  for (int row = 0; row < fixed_rows_; ++row) fixed_height += GetRowHeight(row);
  int fixed_width = 0;
  for (int col = 0; col < fixed_cols_; ++col) fixed_width += GetColumnWidth(col);
  const int first_row = fixed_rows_ + scroll_row_;
  const int first_col = fixed_cols_ + scroll_col_;
  return {first_row, first_col,
          last_in_view(first_row, GetRowCount(), fixed_height, height, [this](int r) { return GetRowHeight(r); }),
          last_in_view(first_col, cols_, fixed_width, width, [this](int c) { return GetColumnWidth(c); })};
}

bool CGridCtrl::SelectRow(int row) {
  if (row < 0 || row >= GetRowCount() || cols_ == 0) return false;
  return SetSelectedRange({row, fixed_cols_ < cols_ ? fixed_cols_ : 0, row, cols_ - 1});
}

bool CGridCtrl::SelectColumn(int col) {
  if (col < 0 || col >= cols_ || GetRowCount() == 0) return false;
  return SetSelectedRange({fixed_rows_ < GetRowCount() ? fixed_rows_ : 0, col, GetRowCount() - 1, col});
}

bool CGridCtrl::SetCrossRange(const CCellRange& range, bool notify) {
  if (!range.IsValid() || !IsValid(range.max_row, range.max_col) || IsFixed(range.min_row, range.min_col)) {
    return false;
  }
  cross_ = {range.min_row, range.min_col};
  cross_range_ = range;
  CWnd* parent = GetParent();
  if (notify && cross_message_ != 0 && parent != nullptr) {
    parent->PostMessage(cross_message_, static_cast<WPARAM>(range.min_row), static_cast<LPARAM>(range.min_col));
  }
  return true;
}

bool CGridCtrl::ResizeRow(int row, int height) {
  if (!row_resize_ || !SetRowHeight(row, height)) return false;
  return true;
}
