#include "orbe/widgets/vlist.h"

#include <algorithm>

#include "orbe/platform/text.h"

namespace {

constexpr COLORREF kRise = RGB(255, 0, 0);
constexpr COLORREF kFall = RGB(0, 128, 0);

bool IsEmptyValue(const orbe::ListValue& value) {
  if (value.invalid) return true;
  return value.kind == orbe::ListValueKind::kText ? value.text.empty() : value.number == 0;
}

bool IsNumber(const orbe::ListValue& value) {
  return value.kind != orbe::ListValueKind::kText && !value.invalid;
}

}  // namespace

VList::VList() : CGridCtrl(1, 0, 1, 0) {
  SetKind(orbe::WidgetKind::kList);
  SetEditable(false);
  SetListMode(true);
}

void VList::SetHead(const std::vector<VListHead>& heads) {
  heads_ = heads;
  hidden_.assign(heads.size(), false);
  rows_.clear();
  summaries_.clear();
  truncated_ = false;
  for (VListHead& head : heads_) head.money_unit = money_unit_;
  Rebuild();
}

const VListHead* VList::GetHead(int col) const {
  return col >= 0 && col < GetHeadCount() ? &heads_[static_cast<std::size_t>(col)] : nullptr;
}

int VList::FindColumn(const std::string& title) const {
  for (int col = 0; col < GetHeadCount(); ++col) {
    if (heads_[static_cast<std::size_t>(col)].title == title) return col;
  }
  return -1;
}

void VList::SetFixFirstCol(bool fixed) {
  fix_first_col_ = fixed;
  Rebuild();
}

int VList::AddRow() {
  Row row;
  row.values.assign(heads_.size(), orbe::ListValue::Invalid(orbe::ListValueKind::kText));
  row.colors.assign(heads_.size(), CLR_DEFAULT);
  for (std::size_t col = 0; col < heads_.size(); ++col)
    row.values[col].kind = orbe::ListValueKind(heads_[col].data_kind);
  rows_.push_back(std::move(row));
  const int index = GetDataRowCount() - 1;
  if (reversed_ || !summaries_.empty() || batch_depth_ > 0) {
    Rebuild();
  } else {
    InsertRow("", 1 + index);
    for (int col = 0; col < GetHeadCount(); ++col) FillCell(1 + index, col, index, col);
  }
  return index;
}

bool VList::SetValue(int row, int col, const orbe::ListValue& value) {
  if (row < 0 || row >= GetDataRowCount() || col < 0 || col >= GetHeadCount()) return false;
  rows_[static_cast<std::size_t>(row)].values[static_cast<std::size_t>(col)] = value;
  if (batch_depth_ > 0) {
    layout_pending_ = true;
  } else if (reversed_) {
    FillCell(col, 1 + row, row, col);
  } else {
    FillCell(1 + row, col, row, col);
  }
  return true;
}

orbe::ListValue VList::GetValue(int row, int col) const {
  const Row* list_row = row >= 0 && row < GetDataRowCount() ? RowAt(row) : nullptr;
  if (list_row == nullptr || col < 0 || col >= GetHeadCount()) return orbe::ListValue::Invalid();
  return list_row->values[static_cast<std::size_t>(col)];
}

std::string VList::GetValueText(int row, int col) const {
  const Row* list_row = RowAt(row);
  return list_row == nullptr || col < 0 || col >= GetHeadCount() ? std::string() : RowText(*list_row, col);
}

const VList::Row* VList::RowAt(int index) const {
  if (index < 0) return nullptr;
  if (index < GetDataRowCount()) return &rows_[static_cast<std::size_t>(index)];
  const int summary = index - GetDataRowCount();
  return summary < GetSummaryRowCount() ? &summaries_[static_cast<std::size_t>(summary)] : nullptr;
}

void VList::Reverse() {
  reversed_ = !reversed_;
  Rebuild();
}

void VList::SetMoneyUnit(int unit) {
  if (unit < 0 || unit >= orbe::kMoneyUnitCount) return;
  money_unit_ = unit;
  for (VListHead& head : heads_) head.money_unit = unit;
  Rebuild();
}

bool VList::SortByColumn(int col, bool ascending) {
  if (col < 0 || col >= GetHeadCount()) return false;
  const auto column = static_cast<std::size_t>(col);
  std::stable_sort(rows_.begin(), rows_.end(), [&](const Row& a, const Row& b) {
    const orbe::ListValue& x = a.values[column];
    const orbe::ListValue& y = b.values[column];
    if (x.invalid != y.invalid) return y.invalid;
    if (x.invalid) return false;
    if (x.kind == orbe::ListValueKind::kText) return ascending ? x.text < y.text : y.text < x.text;
    return ascending ? x.number < y.number : y.number < x.number;
  });
  Rebuild();
  return true;
}

bool VList::SortItems(int col, bool ascending) {
  // Turned, a grid column is a record: there is no column of values to sort.
  if (reversed_ || !SortByColumn(col, ascending)) return false;
  RememberSort(col, ascending);
  return true;
}

void VList::HideInvalidColumns() {
  if (rows_.empty()) return;
  for (std::size_t col = 0; col < heads_.size(); ++col) {
    hidden_[col] = heads_[col].hide_invalid && std::all_of(rows_.begin(), rows_.end(), [&](const Row& row) {
                     return IsEmptyValue(row.values[col]);
                   });
  }
  Rebuild();
}

bool VList::IsColumnHidden(int col) const {
  return col >= 0 && col < GetHeadCount() && hidden_[static_cast<std::size_t>(col)];
}

void VList::AddSummaryRow(SummaryKind kind, const std::vector<int>& columns) {
  static constexpr const char* kLabels[] = {"合计", "计数", "最小", "最大", "平均"};
  Row summary;
  summary.label = kLabels[static_cast<int>(kind)];
  summary.values.assign(heads_.size(), orbe::ListValue::Text(""));
  summary.colors.assign(heads_.size(), CLR_DEFAULT);
  for (const int col : columns) {
    if (col < 0 || col >= GetHeadCount()) continue;
    const auto c = static_cast<std::size_t>(col);
    std::vector<double> numbers;
    for (const Row& row : rows_) {
      if (IsNumber(row.values[c])) numbers.push_back(row.values[c].number);
    }
    if (kind == SummaryKind::kCount) {
      summary.values[c] = orbe::ListValue::Text(std::to_string(numbers.size()));
      continue;
    }
    if (numbers.empty() || heads_[c].data_kind != 1) continue;
    double result = 0;
    switch (kind) {
      case SummaryKind::kSum:
      case SummaryKind::kAvg:
        for (const double n : numbers) result += n;
        if (kind == SummaryKind::kAvg) result /= static_cast<double>(numbers.size());
        break;
      case SummaryKind::kMin:
        result = *std::min_element(numbers.begin(), numbers.end());
        break;
      case SummaryKind::kMax:
        result = *std::max_element(numbers.begin(), numbers.end());
        break;
      case SummaryKind::kCount:
        break;
    }
    summary.values[c] = orbe::ListValue::Number(result);
  }
  summaries_.push_back(std::move(summary));
  Rebuild();
}

void VList::ApplyCompareColors() {
  for (std::size_t col = 0; col < heads_.size(); ++col) {
    const int mode = heads_[col].color_mode;
    const int other = mode == 2 ? FindColumn(heads_[col].compare_title) : -1;
    for (Row& row : rows_) {
      const orbe::ListValue& value = row.values[col];
      double base = 0;
      bool comparable = IsNumber(value) && (mode == 1 || other >= 0);
      if (comparable && other >= 0) {
        const orbe::ListValue& against = row.values[static_cast<std::size_t>(other)];
        comparable = IsNumber(against);
        base = against.number;
      }
      row.colors[col] = !comparable || value.number == base ? CLR_DEFAULT
                        : value.number > base               ? kRise
                                                            : kFall;
    }
  }
  Rebuild();
}

void VList::SetTruncated(bool truncated) { truncated_ = truncated; }

orbe::ValueFormat VList::FormatOf(int col) const {
  const VListHead& head = heads_[static_cast<std::size_t>(col)];
  // 21-24 are click actions of the report: the value is shown plainly.
  const int format =
      head.data_format >= 0 && head.data_format < orbe::kValueFormatCount ? head.data_format : 0;
  return {format,         head.decimals, head.zero_format, head.invalid_format, head.head_format == 1,
          head.money_unit};
}

std::string VList::HeadingText(int col) const {
  const VListHead& head = heads_[static_cast<std::size_t>(col)];
  if (head.head_format == 1 && head.money_unit > 0)
    return head.title + "(" + orbe::MoneyUnitName(head.money_unit) + ")";
  return head.title;
}

std::string VList::RowText(const Row& row, int col) const {
  return orbe::FormatListValue(row.values[static_cast<std::size_t>(col)], FormatOf(col));
}
