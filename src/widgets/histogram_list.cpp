#include "orbe/widgets/histogram_list.h"

#include <algorithm>
#include <limits>

#include "orbe/widgets/grid_notify.h"

int KVXHistogramList::OnCreate() {
  const RECT empty{0, 0, 0, 0};
  if (!list_.Create(empty, this, kListId, WS_CHILD | WS_VISIBLE)) return -1;
  if (!histogram_.Create(this, empty, kHistogramId, WS_CHILD | WS_VISIBLE)) return -1;
  histogram_.SetSelectMessage(this, kBarSelectedMessage);
  return 0;
}

void KVXHistogramList::SetHistogramPercent(int percent) {
  percent_ = std::clamp(percent, 0, 90);
  RECT client;
  GetClientRect(&client);
  OnSize(SIZE_RESTORED, client.right, client.bottom);
}

void KVXHistogramList::OnSize(UINT /*type*/, int width, int height) {
  const int histogram_height = height * percent_ / 100;
  list_.MoveWindow(0, 0, width, height - histogram_height);
  histogram_.MoveWindow(0, height - histogram_height, width, histogram_height);
}

void KVXHistogramList::SetHistogramColumn(int col) {
  const int selected = histogram_.GetSelectedItem();
  histogram_.ClearAll();
  column_ = col;
  if (list_.IsReversed() || col < 0 || col >= list_.GetHeadCount()) return;
  for (int row = 0; row < list_.GetDataRowCount(); ++row) {
    const orbe::ListValue value = list_.GetValue(row, col);
    const bool number = value.kind == orbe::ListValueKind::kNumber && !value.invalid;
    histogram_.AddItem(number ? value.number : std::numeric_limits<double>::quiet_NaN(),
                       list_.GetValueText(row, 0));
  }
  histogram_.SetSelectedItem(selected < histogram_.GetItemCount() ? selected : -1);
}

void KVXHistogramList::OnListSelection(int grid_row, int col) {
  const int record = grid_row - list_.GetFixedRowCount();
  if (col != column_ && col >= 0) SetHistogramColumn(col);
  histogram_.SetSelectedItem(record >= 0 && record < histogram_.GetItemCount() ? record : -1);
}

void KVXHistogramList::OnBarSelected(int record) {
  const int grid_row = record + list_.GetFixedRowCount();
  if (!list_.IsValid(grid_row, 0)) return;
  list_.SetSelectedRange(CCellRange{grid_row, 0, grid_row, list_.GetColumnCount() - 1});
  list_.SetFocusCell(grid_row, std::max(column_, 0));
  if (CWnd* parent = GetParent(); parent != nullptr) {
    NM_GRIDVIEW note{
        {GetSafeHwnd(), static_cast<UINT_PTR>(GetDlgCtrlID()), HLN_BARSELECTED}, grid_row, column_};
    parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&note));
  }
}

LRESULT KVXHistogramList::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kBarSelectedMessage) {
    OnBarSelected(static_cast<int>(wparam));
    return 0;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->idFrom == kListId && header->code == GVN_SELCHANGED) {
      const auto* note = reinterpret_cast<const NM_GRIDVIEW*>(lparam);
      OnListSelection(note->iRow, note->iColumn);
    }
    // The list's own notifications go on to whoever owns this window.
    CWnd* parent = GetParent();
    return parent != nullptr ? parent->SendMessage(message, wparam, lparam) : 0;
  }
  return KvxWidget::WindowProc(message, wparam, lparam);
}
