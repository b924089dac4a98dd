// Lays the list's records out on the grid, plain or turned.
#include <algorithm>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"
#include "orbe/widgets/vlist.h"

// Every value of every list passes here: the grid cell is found once and the
// value's text moved into it.
void VList::FillCell(int grid_row, int grid_col, int list_row, int col) {
  const Row* row = RowAt(list_row);
  GridCell* cell = GetCell(grid_row, grid_col);
  if (row == nullptr || cell == nullptr) return;
  const VListHead& head = heads_[static_cast<std::size_t>(col)];
  cell->text = RowText(*row, col);
  cell->align = static_cast<CellAlign>(head.data_align >= 0 && head.data_align <= 2 ? head.data_align : 2);
  cell->text_color = row->colors[static_cast<std::size_t>(col)];
}

VList::Batch::~Batch() {
  if (--list_.batch_depth_ == 0 && list_.layout_pending_) list_.Rebuild();
}

void VList::Rebuild() {
  if (batch_depth_ > 0) {
    layout_pending_ = true;
    return;
  }
  layout_pending_ = false;
  const int heads = GetHeadCount();
  const int records = GetDataRowCount() + GetSummaryRowCount();
  DeleteAllItems();
  if (!reversed_) {
    SetColumnCount(heads);
    SetRowCount(1 + records);
    SetFixedRowCount(1);
    SetFixedColumnCount(fix_first_col_ && heads > 0 ? 1 : 0);
    for (int col = 0; col < heads; ++col) {
      const VListHead& head = heads_[static_cast<std::size_t>(col)];
      SetItemText(0, col, HeadingText(col));
      SetItemAlign(
          0, col, static_cast<CellAlign>(head.head_align >= 0 && head.head_align <= 2 ? head.head_align : 2));
      SetColumnWidth(col, IsColumnHidden(col) ? 0 : head.width);
      SetColumnSortKind(col, head.data_kind == 0 ? GridSortKind::kText : GridSortKind::kNumber);
      for (int r = 0; r < records; ++r) FillCell(1 + r, col, r, col);
    }
    for (int s = 0; s < GetSummaryRowCount(); ++s) {
      if (heads > 0 && summaries_[static_cast<std::size_t>(s)].values[0].text.empty()) {
        SetItemText(1 + GetDataRowCount() + s, 0, summaries_[static_cast<std::size_t>(s)].label);
      }
    }
  } else {
    // Turned: one grid row per column, one grid column per record, headings
    // down the first column; with a fixed first column its values head the grid.
    SetColumnCount(1 + records);
    SetRowCount(heads);
    SetFixedColumnCount(1);
    SetFixedRowCount(fix_first_col_ && heads > 0 ? 1 : 0);
    for (int col = 0; col < heads; ++col) {
      SetItemText(col, 0, HeadingText(col));
      SetRowHeight(col, IsColumnHidden(col) ? 0 : 20);
      for (int r = 0; r < records; ++r) FillCell(col, 1 + r, r, col);
    }
    for (int s = 0; s < GetSummaryRowCount(); ++s) {
      const int grid_col = 1 + GetDataRowCount() + s;
      if (heads > 0 && GetItemText(0, grid_col).empty())
        SetItemText(0, grid_col, summaries_[static_cast<std::size_t>(s)].label);
    }
    for (int c = 0; c < GetColumnCount(); ++c) SetColumnWidth(c, 0);
  }
  ResizeZeroWidthColumns();
}

void VList::ResizeZeroWidthColumns() {
  // Hidden columns keep width 0: only unhidden ones are fitted.
  std::vector<int> fitted;
  for (int col = 0; col < GetColumnCount(); ++col) {
    const bool hidden = !reversed_ && IsColumnHidden(col);
    if (GetColumnWidth(col) == 0 && !hidden) {
      SetColumnWidth(col, 1);
      fitted.push_back(col);
    }
  }
  if (fitted.empty()) return;
  std::vector<int> kept(static_cast<std::size_t>(GetColumnCount()));
  for (int col = 0; col < GetColumnCount(); ++col) kept[static_cast<std::size_t>(col)] = GetColumnWidth(col);
  AutoSizeColumns();
  for (int col = 0; col < GetColumnCount(); ++col) {
    if (std::find(fitted.begin(), fitted.end(), col) == fitted.end())
      SetColumnWidth(col, kept[static_cast<std::size_t>(col)]);
  }
}

bool VList::IsNumberCell(int row, int col) const {
  const int list_row = reversed_ ? col - 1 : row - 1;
  const int head = reversed_ ? row : col;
  if (list_row < 0 || head < 0 || head >= GetHeadCount() || IsFixed(row, col)) return false;
  const Row* record = RowAt(list_row);
  const int format = FormatOf(head).format;
  if (record == nullptr) return false;
  const orbe::ListValue& value = record->values[static_cast<std::size_t>(head)];
  return value.kind != orbe::ListValueKind::kText && !value.invalid &&
         heads_[static_cast<std::size_t>(head)].data_kind == 1 && format <= 10;
}

void VList::RenderHtml(orbe::HtmlWriter& out) const {
  CGridCtrl::RenderHtml(out);
  if (truncated_) out.Raw("<div class=\"trunc\">&#8230;</div>");
}
