#include "orbe/widgets/hq_grid_ctrl.h"

#include <cmath>

#include "orbe/platform/text.h"

HQGridCtrl::HQGridCtrl() : CGridCtrl(1, 0, 1, 0) {}

int HQGridCtrl::InsertHead(int col, const HQHead& head) {
  const int count = GetHeadCount();
  if (col < 0 || col > count) col = count;
  heads_.insert(heads_.begin() + col, head);
  if (!(heads_[static_cast<std::size_t>(col)].scale > 0)) heads_[static_cast<std::size_t>(col)].scale = 1;
  for (auto& row : slots_) row.insert(row.begin() + col, Slot{});
  // The grid has no column insert: grow it and move the later cells right.
  SetColumnCount(count + 1);
  for (int row = 0; row < GetRowCount(); ++row) {
    for (int c = count; c > col; --c) SetItem(row, c, *GetCell(row, c - 1));
    SetItem(row, col, GridCell{});
  }
  for (int c = count; c > col; --c) {
    SetColumnWidth(c, GetColumnWidth(c - 1));
    SetColumnSortKind(c, GetColumnSortKind(c - 1));
  }
  SetItemText(0, col, head.title);
  SetItemAlign(0, col, CellAlign::kCenter);
  SetColumnWidth(col, head.width);
  SetColumnSortKind(col, head.numeric ? GridSortKind::kNumber : GridSortKind::kText);
  return col;
}

const HQHead* HQGridCtrl::GetHead(int col) const {
  return col >= 0 && col < GetHeadCount() ? &heads_[static_cast<std::size_t>(col)] : nullptr;
}

void HQGridCtrl::SetDataRowCount(int rows) {
  if (rows < 0) return;
  SetRowCount(rows + GetFixedRowCount());
  slots_.resize(static_cast<std::size_t>(rows), std::vector<Slot>(heads_.size()));
}

void HQGridCtrl::ClearAll() {
  heads_.clear();
  slots_.clear();
  SetColumnCount(0);
  SetRowCount(GetFixedRowCount());
}

HQGridCtrl::Slot* HQGridCtrl::SlotAt(int row, int col) {
  if (row < 0 || row >= static_cast<int>(slots_.size()) || col < 0 || col >= GetHeadCount()) return nullptr;
  return &slots_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

const HQGridCtrl::Slot* HQGridCtrl::SlotAt(int row, int col) const {
  return const_cast<HQGridCtrl*>(this)->SlotAt(row, col);
}

bool HQGridCtrl::SetCellData(int row, int col, const std::string& text, COLORREF color) {
  Slot* slot = SlotAt(row, col);
  if (slot == nullptr) return false;
  *slot = Slot{};
  const int grid_row = row + GetFixedRowCount();
  SetItemText(grid_row, col, text);
  SetItemFgColour(grid_row, col, color);
  SetItemAlign(grid_row, col, heads_[static_cast<std::size_t>(col)].align);
  return true;
}

void HQGridCtrl::ShowValue(int row, int col, double value, COLORREF color) {
  const HQHead& head = heads_[static_cast<std::size_t>(col)];
  const int grid_row = row + GetFixedRowCount();
  SetItemText(grid_row, col,
              std::isfinite(value) ? orbe::Format("%.*f", head.decimals, value / head.scale) : "--");
  SetItemFgColour(grid_row, col, color);
  SetItemAlign(grid_row, col, head.align);
}

bool HQGridCtrl::SetCellData(int row, int col, double value, COLORREF color) {
  Slot* slot = SlotAt(row, col);
  if (slot == nullptr) return false;
  *slot = Slot{true, value, false};
  ShowValue(row, col, value, color);
  return true;
}

bool HQGridCtrl::UpdateCellData(int row, int col, double value) {
  Slot* slot = SlotAt(row, col);
  if (slot == nullptr) return false;
  const int grid_row = row + GetFixedRowCount();
  COLORREF color = GetCell(grid_row, col)->text_color;
  if (slot->has_value && value > slot->value) color = up_;
  if (slot->has_value && value < slot->value) color = down_;
  slot->changed = !slot->has_value || value != slot->value;
  slot->has_value = true;
  slot->value = value;
  ShowValue(row, col, value, color);
  return true;
}

bool HQGridCtrl::GetCellValue(int row, int col, double* value) const {
  const Slot* slot = SlotAt(row, col);
  if (slot == nullptr || !slot->has_value) return false;
  *value = slot->value;
  return true;
}

bool HQGridCtrl::IsCellChanged(int row, int col) const {
  const Slot* slot = SlotAt(row, col);
  return slot != nullptr && slot->changed;
}

void HQGridCtrl::ClearChangeMarks() {
  for (auto& row : slots_) {
    for (Slot& slot : row) slot.changed = false;
  }
}

void HQGridCtrl::SetHeadColors(COLORREF bk, COLORREF text) {
  SetFixedBkColor(bk);
  SetFixedTextColor(text);
}

void HQGridCtrl::SetBodyColors(COLORREF bk, COLORREF text) {
  SetTextBkColor(bk);
  SetTextColor(text);
}

void HQGridCtrl::SetUpDownColors(COLORREF up, COLORREF down) {
  up_ = up;
  down_ = down;
}

bool HQGridCtrl::SortItems(int col, bool ascending) {
  if (GetColumnCount() == 0) return CGridCtrl::SortItems(col, ascending);
  // Tag each row through its first cell's item data, which the sort carries along.
  const int fixed = GetFixedRowCount();
  std::vector<LPARAM> saved;
  for (int row = 0; row < GetDataRowCount(); ++row) {
    saved.push_back(GetItemData(row + fixed, 0));
    SetItemData(row + fixed, 0, row);
  }
  const bool sorted = CGridCtrl::SortItems(col, ascending);
  std::vector<std::vector<Slot>> slots(slots_.size());
  for (int row = 0; row < GetDataRowCount(); ++row) {
    const auto from = static_cast<std::size_t>(GetItemData(row + fixed, 0));
    slots[static_cast<std::size_t>(row)] = std::move(slots_[from]);
    SetItemData(row + fixed, 0, saved[from]);
  }
  slots_ = std::move(slots);
  return sorted;
}
