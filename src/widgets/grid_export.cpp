#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/value_format.h"

bool CGridCtrl::IsNumberCell(int row, int col) const {
  return !IsFixed(row, col) && GetColumnSortKind(col) == GridSortKind::kNumber;
}

orbe::Table CGridCtrl::GetTable() const {
  orbe::Table table;
  for (int row = 0; row < GetRowCount(); ++row) {
    if (GetRowHeight(row) <= 0) continue;
    if (row < fixed_rows_) ++table.header_rows;
    auto& cells = table.rows.emplace_back();
    for (int col = 0; col < cols_; ++col) {
      if (!IsColumnShown(col)) continue;
      orbe::TableCell cell{GetItemText(row, col)};
      cell.is_number = IsNumberCell(row, col) && orbe::ParseShownNumber(cell.text, &cell.number);
      cells.push_back(std::move(cell));
    }
  }
  return table;
}

bool CGridCtrl::SaveAsExcel(const std::string& path) const {
  return orbe::SaveTablesAsXlsx({GetTable()}, path);
}

bool CGridCtrl::SaveAsCsv(const std::string& path) const { return orbe::SaveTablesAsCsv({GetTable()}, path); }
