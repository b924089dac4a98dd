// The condition window's rows: adding, deleting, numbering, the scheme they
// make and the expression that joins them.
#include <utility>

#include "orbe/platform/text.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/grid_ctrl.h"
#include "screening/condition_texts.h"

namespace {

enum Column : int { kNumber = 0, kIndicator, kParameter, kOperator, kValue, kUnit };

constexpr COLORREF kOddRow = 0xF2F2F2;
constexpr COLORREF kEvenRow = 0xFFFFFF;
constexpr COLORREF kReadOnlyOdd = 0xF7F5F5;
constexpr COLORREF kReadOnlyEven = 0xFFFFFF;

}  // namespace

int CIndexConditionWnd::AddIndex(IndexBase* index) {
  if (index == nullptr || grid_ == nullptr) return 0;
  const int row = grid_->InsertRow("");
  rows_[row] = index;
  grid_->SetItemText(row, kIndicator, index->name);
  grid_->SetItemText(row, kParameter, DefaultParameter(*index));
  grid_->SetCellReadOnly(row, kIndicator, true);
  grid_->SetCellReadOnly(row, kParameter, true);
  grid_->SetCellType(row, kOperator, GridCellType::kCombo);
  grid_->SetComboItems(row, kOperator, orbe::ConditionOperators());
  SetUnitCell(row, *index);
  NumberRows();
  GenerateExpression(and_radio_ != nullptr && and_radio_->GetCheck());
  return row;
}

void CIndexConditionWnd::SetUnitCell(int row, const IndexBase& index) {
  const std::vector<std::string>& units = orbe::ConditionUnits(index.unittype);
  if (units.empty()) {
    grid_->SetItemText(row, kUnit, "");
    grid_->SetCellReadOnly(row, kUnit, true);
    return;
  }
  grid_->SetCellType(row, kUnit, GridCellType::kCombo);
  grid_->SetComboItems(row, kUnit, units);
  grid_->SetItemText(row, kUnit, units.front());
}

int CIndexConditionWnd::DelIndex(int row) {
  if (grid_ == nullptr || rows_.count(row) == 0) return 0;
  grid_->DeleteRow(row);
  std::map<int, IndexBase*> rows;
  std::map<int, IndexSchemeItem> looks;
  for (const auto& [number, index] : rows_) {
    if (number == row) continue;
    const int renumbered = number > row ? number - 1 : number;
    rows[renumbered] = index;
    if (const auto look = row_looks_.find(number); look != row_looks_.end()) looks[renumbered] = look->second;
  }
  rows_ = std::move(rows);
  row_looks_ = std::move(looks);
  NumberRows();
  GenerateExpression(true);
  return 1;
}

void CIndexConditionWnd::ClearAllIndex() {
  rows_.clear();
  row_looks_.clear();
  if (grid_ != nullptr) grid_->DeleteNonFixedRows();
  if (expression_ != nullptr) expression_->SetText("");
  if (and_radio_ != nullptr) and_radio_->SetCheck(false);
  if (or_radio_ != nullptr) or_radio_->SetCheck(false);
  GenerateExpression(true);
}

void CIndexConditionWnd::NumberRows() {
  for (const auto& [row, index] : rows_) {
    grid_->SetItemText(row, kNumber, orbe::Format("%d", row));
    PaintRow(row);
  }
}

void CIndexConditionWnd::PaintRow(int row) {
  const bool odd = row % 2 == 1;
  for (int col = 1; col < kColumns; ++col) {
    const GridCell* cell = grid_->GetCell(row, col);
    if (cell == nullptr) continue;
    const COLORREF color = cell->read_only ? (odd ? kReadOnlyOdd : kReadOnlyEven) : (odd ? kOddRow : kEvenRow);
    grid_->SetItemBkColour(row, col, color);
  }
}

void CIndexConditionWnd::GenerateExpression(bool intersection) {
  if (and_radio_ == nullptr || or_radio_ == nullptr) return;
  and_radio_->SetCheck(intersection);
  or_radio_->SetCheck(!intersection);
  if (rows_.empty()) return;
  const char* separator = intersection ? " and " : " or ";
  std::string text = "#1";
  for (int k = 2; k <= static_cast<int>(rows_.size()); ++k) text += separator + orbe::Format("#%d", k);
  expression_->SetText(text);
}

int CIndexConditionWnd::GenScheme(IndexScheme& scheme) {
  if (grid_ == nullptr || grid_->GetRowCount() < 2 || grid_->GetColumnCount() < kColumns) return 0;
  scheme.items.clear();
  for (int row = 1; row < grid_->GetRowCount(); ++row) {
    const auto look = row_looks_.find(row);
    IndexSchemeItem item = look != row_looks_.end() ? look->second : IndexSchemeItem{};
    item.index = grid_->GetItemText(row, kIndicator);
    item.param = grid_->GetItemText(row, kParameter);
    item.op = grid_->GetItemText(row, kOperator);
    item.value = grid_->GetItemText(row, kValue);
    item.unit = grid_->GetItemText(row, kUnit);
    scheme.items.push_back(std::move(item));
  }
  const std::string text = GetEditExpressText();
  if (text != kExpressionPrompt) scheme.expression = text;
  if (scheme.expression.empty()) {
    and_radio_->SetCheck(false);
    or_radio_->SetCheck(false);
  }
  return 1;
}

void CIndexConditionWnd::ChangeScheme(const IndexScheme& scheme) {
  ClearAllIndex();
  if (expression_ != nullptr) expression_->SetText(scheme.expression);
  const std::vector<IndexBase*> catalogue = mgr_ != nullptr ? mgr_->GetAllIndexes() : std::vector<IndexBase*>{};
  bool skipped = false;
  for (const IndexSchemeItem& item : scheme.items) {
    IndexBase* found = nullptr;
    for (IndexBase* index : catalogue) {
      if (index->name == item.index) {
        found = index;
        break;
      }
    }
    const int row = AddIndex(found);
    if (row == 0) {
      skipped = true;
      continue;
    }
    grid_->SetItemText(row, kParameter, item.param);
    grid_->SetItemText(row, kOperator, item.op);
    grid_->SetItemText(row, kValue, item.value);
    grid_->SetItemText(row, kUnit, item.unit);
    row_looks_[row] = item;
  }
  // Adding the rows regenerated an "and" of all of them; the scheme's own
  // expression is what it screens by, unless a missing indicator moved the
  // rows its numbers name.
  if (!scheme.expression.empty() && !skipped && expression_ != nullptr) expression_->SetText(scheme.expression);
}
