// The container's grid operations, its tooltip widgets and the export of
// grids to a worksheet.
#include <algorithm>
#include <sstream>

#include "kvx_ops.h"
#include "orbe/platform/file_dialog.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/grid_scroll_frame.h"
#include "orbe/widgets/table_export.h"

using orbe::WidgetKind;
using orbe::widgets::Ask;
using orbe::widgets::FontOf;
using orbe::widgets::Set;

namespace {

CellAlign AlignOf(int align) {
  return align == 1 ? CellAlign::kRight : align == 2 ? CellAlign::kCenter : CellAlign::kLeft;
}

}  // namespace

// --- Tooltips: a widget of a kind made hidden, shown where the script says ---

int CKVXContainer::AddTooltip(WidgetKind kind) {
  int id = 0;
  if (!AddWnd(0, 0, 0, 0, id, static_cast<int>(kind), "")) return 0;
  orbe::KvxWidget* widget = GetWnd(id);
  widget->SetTooltip(true);
  widget->ShowWindow(SW_HIDE);
  return id;
}

bool CKVXContainer::SetPosTooltip(int id, WidgetKind kind, int x, int y, int cx, int cy, bool show) {
  orbe::KvxWidget* widget = GetWnd(id);
  if (widget == nullptr || widget->Kind() != kind || !widget->IsTooltip() || cx < 0 || cy < 0) return false;
  widget->MoveWindow(x, y, cx, cy);
  widget->ShowWindow(show ? SW_SHOW : SW_HIDE);
  return true;
}

int CKVXContainer::Grid_AddAsTooltip() { return AddTooltip(WidgetKind::kGrid); }
bool CKVXContainer::Grid_SetPosTooltip(int id, int x, int y, int cx, int cy, bool show) {
  return SetPosTooltip(id, WidgetKind::kGrid, x, y, cx, cy, show);
}
int CKVXContainer::Chart_AddAsTooltip() { return AddTooltip(WidgetKind::kChart); }
bool CKVXContainer::Chart_SetPosTooltip(int id, int x, int y, int cx, int cy, bool show) {
  return SetPosTooltip(id, WidgetKind::kChart, x, y, cx, cy, show);
}
int CKVXContainer::Edit_AddAsTooltip() { return AddTooltip(WidgetKind::kEdit); }
bool CKVXContainer::Edit_SetPosTooltip(int id, int x, int y, int cx, int cy, bool show) {
  return SetPosTooltip(id, WidgetKind::kEdit, x, y, cx, cy, show);
}

bool CKVXContainer::Grid_SaveAsExcel(const std::string& grids, std::string& path, const std::string& title) {
  std::vector<const CGridCtrl*> chosen;
  if (grids.empty()) {
    for (const auto& [id, widget] : widgets_) {
      if (const auto* grid = dynamic_cast<const CGridCtrl*>(widget.get())) chosen.push_back(grid);
    }
  } else {
    std::stringstream list(grids);
    std::string item;
    while (std::getline(list, item, ',')) {
      const CGridCtrl* grid = GetWidget<CGridCtrl>(std::atoi(item.c_str()));
      if (grid == nullptr) return false;  // a named grid that does not exist: nothing half-written
      chosen.push_back(grid);
    }
  }
  if (chosen.empty()) return false;
  if (path.empty()) {
    orbe::FileDialogRequest request;
    request.kind = orbe::FileDialogKind::kSaveFile;
    request.filter = "Excel (*.xlsx)|*.xlsx||";
    request.default_extension = "xlsx";
    request.initial_name = title.empty() ? std::string("grid.xlsx") : title + ".xlsx";
    path = orbe::ShowFileDialog(request);
    if (path.empty()) return false;
  }
  std::vector<orbe::Table> tables;
  for (const CGridCtrl* grid : chosen) tables.push_back(grid->GetTable());
  tables.front().title = title;  // the worksheet's heading, above the first table
  return orbe::SaveTablesAsXlsx(tables, path);
}

void CKVXContainer::Grid_GetTotalSize(int id, int& cx, int& cy) const {
  if (const CGridCtrl* grid = GetWidget<CGridCtrl>(id)) {
    const SIZE size = grid->GetTotalSize();
    cx = size.cx;
    cy = size.cy;
  }
}

void CKVXContainer::Grid_InvalidateWnd(int id, bool erase) {
  if (CGridCtrl* grid = GetWidget<CGridCtrl>(id)) grid->Invalidate(erase ? TRUE : FALSE);
}

bool CKVXContainer::Grid_SetColumnType(int id, int col, int type) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (col < 0 || col >= g.GetColumnCount() || type < 0 || type > 1) return false;
    g.SetColumnSortKind(col, type == 1 ? GridSortKind::kNumber : GridSortKind::kText);
    return true;
  });
}

bool CKVXContainer::Grid_AddWnd(int x, int y, int cx, int cy, int& id, const std::string& text) {
  return AddWnd(x, y, cx, cy, id, static_cast<int>(WidgetKind::kGrid), text);
}

GridCustomScrollFrame* CKVXContainer::GetGridFrame(int id) const {
  const auto at = frames_.find(id);
  return at != frames_.end() ? at->second.get() : nullptr;
}

bool CKVXContainer::Grid_IsAppendFrame(int id, bool append) {
  CGridCtrl* grid = GetWidget<CGridCtrl>(id);
  if (grid == nullptr) return false;
  if (!append) {
    frames_.erase(id);
    return true;
  }
  if (frames_.count(id) > 0) return true;
  RECT place{};
  int x = 0, y = 0, cx = 0, cy = 0;
  GetWndRect(id, false, x, y, cx, cy);
  place = RECT{x, y, x + cx, y + cy};
  auto frame = std::make_unique<GridCustomScrollFrame>(*grid);
  if (!frame->Create(place, this, 0, WS_CHILD | (grid->IsWindowVisible() ? WS_VISIBLE : 0))) return false;
  frames_.emplace(id, std::move(frame));
  return true;
}

namespace {

template <typename Fn>
bool WithFrame(GridCustomScrollFrame* frame, Fn fn) {
  if (frame == nullptr) return false;
  fn(*frame);
  return true;
}

}  // namespace

bool CKVXContainer::Grid_Frame_UseGridScroll(int id, bool use) {
  return WithFrame(GetGridFrame(id), [&](GridCustomScrollFrame& f) { f.SetUseGridScroll(use); });
}
bool CKVXContainer::Grid_Frame_SetStaticColor(int id, COLORREF color) {
  return WithFrame(GetGridFrame(id), [&](GridCustomScrollFrame& f) { f.SetStaticColor(color); });
}
bool CKVXContainer::Grid_Frame_SetScrollColor(int id, COLORREF color) {
  return WithFrame(GetGridFrame(id), [&](GridCustomScrollFrame& f) { f.SetScrollColor(color); });
}
bool CKVXContainer::Grid_Frame_HideScrollBar(int id, int bar, bool hide) {
  if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) return false;
  return WithFrame(GetGridFrame(id), [&](GridCustomScrollFrame& f) { f.EnableScrollBars(bar, hide ? FALSE : TRUE); });
}

// A grid whose rows or columns changed: its frame recomputes the bars.
#define ORBE_GRID_SHAPE(id) \
  if (GridCustomScrollFrame* frame = GetGridFrame(id)) frame->ResetScrollBars()

bool CKVXContainer::Grid_SetGridBkColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetGridBkColor(color); });
}
bool CKVXContainer::Grid_SetGridLines(int id, int mode) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetGridLines(mode); });
}
bool CKVXContainer::Grid_SetGridLineColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetGridLineColor(color); });
}
bool CKVXContainer::Grid_SetTextColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetTextColor(color); });
}
bool CKVXContainer::Grid_SetTextBkColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetTextBkColor(color); });
}
bool CKVXContainer::Grid_SetFixedTextColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetFixedTextColor(color); });
}
bool CKVXContainer::Grid_SetFixedBkColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetFixedBkColor(color); });
}
bool CKVXContainer::Grid_SetSelColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetSelColor(color); });
}
bool CKVXContainer::Grid_SetEditable(int id, bool editable) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetEditable(editable); });
}
bool CKVXContainer::Grid_SetSortedGoHead(int id, bool go_head) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetSortedGoHead(go_head); });
}
bool CKVXContainer::Grid_SetAllCellReadOnly(int id, bool read_only) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetAllCellReadOnly(read_only); });
}
bool CKVXContainer::Grid_SetRowReadOnly(int id, int row, bool read_only) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetRowReadOnly(row, read_only); });
}
bool CKVXContainer::Grid_SetColReadOnly(int id, int col, bool read_only) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetColReadOnly(col, read_only); });
}
bool CKVXContainer::Grid_SetCellReadOnly(int id, int row, int col, bool read_only) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetCellReadOnly(row, col, read_only); });
}
bool CKVXContainer::Grid_SetFixRowGradientBK(int id, bool enable, COLORREF from, COLORREF to, bool horizontal) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    GridLook& look = g.Look();
    look.fixed_gradient = enable;
    look.gradient_from = from;
    look.gradient_to = to;
    look.gradient_horizontal = horizontal;
  });
}
bool CKVXContainer::Grid_SetArrowDisplayType(int id, int type) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (type < 0 || type > 2) return false;
    g.Look().arrow_type = type;
    return true;
  });
}
bool CKVXContainer::Grid_SetArrowDisplayRow(int id, int row) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (row < -1 || row >= std::max(g.GetFixedRowCount(), 1)) return false;
    g.Look().arrow_row = row;
    return true;
  });
}
bool CKVXContainer::Grid_SetArrowColor(int id, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.Look().arrow_color = color; });
}
void CKVXContainer::Grid_SetFixCellBordLineColor(int id, COLORREF light, COLORREF dark) {
  Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    g.Look().fixed_border_light = light;
    g.Look().fixed_border_dark = dark;
  });
}
void CKVXContainer::Grid_SetFlateHead(int id, bool flat) {
  Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.Look().flat_head = flat; });
}
bool CKVXContainer::Grid_SetHeaderSort(int id, bool enable) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetHeaderSort(enable); });
}
bool CKVXContainer::Grid_SetNonSortColWidth(int id, int width) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (width < 0) return false;
    g.Look().arrow_room = width;
    return true;
  });
}
bool CKVXContainer::Grid_EnableSelectFixedColumn(int id, bool enable) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.EnableSelectFixedColumn(enable); });
}
bool CKVXContainer::Grid_SortItems(int id, int col, bool ascending) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (!g.SortItems(col, ascending)) return false;
    if (g.GetSortedGoHead()) g.SetScrollPos32(g.GetScrollPos32().col, 0);
    return true;
  });
}
bool CKVXContainer::Grid_SetListMode(int id, bool list_mode) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetListMode(list_mode); });
}
bool CKVXContainer::Grid_SetSingleRowSelection(int id, bool single) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetSingleRowSelection(single); });
}
bool CKVXContainer::Grid_SetSingleColSelection(int id, bool single) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetSingleColSelection(single); });
}
bool CKVXContainer::Grid_EnableSelection(int id, bool enable) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.EnableSelection(enable); });
}
bool CKVXContainer::Grid_SetRowResize(int id, bool enable) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetRowResize(enable); });
}
bool CKVXContainer::Grid_SetColumnResize(int id, bool enable) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetColumnResize(enable); });
}
bool CKVXContainer::Grid_SetAutoSizeStyle(int id, int style) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetAutoSizeStyle(style); });
}
bool CKVXContainer::Grid_IsCellSelected(int id, int row, int col) const {
  return Ask<CGridCtrl>(*this, id, false, [&](const CGridCtrl& g) { return g.IsCellSelected(row, col); });
}
bool CKVXContainer::Grid_SelectRows(int id, int row) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SelectRow(row); });
}
bool CKVXContainer::Grid_SelectColumn(int id, int col) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SelectColumn(col); });
}
bool CKVXContainer::Grid_SetCrossSelected(int id, bool enable) {
  // The message stays as the grid's owner gave it (the quote grid's 1025).
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.EnableCrossSelection(enable, g.GetCrossMessage()); });
}
bool CKVXContainer::Grid_SetCrossSelectedRange(int id, int min_row, int min_col, int max_row, int max_col,
                                               bool notify) {
  return Set<CGridCtrl>(*this, id,
                        [&](CGridCtrl& g) { return g.SetCrossRange({min_row, min_col, max_row, max_col}, notify); });
}
bool CKVXContainer::Grid_SetAlternationNoFixedCellClr(int id, COLORREF even, COLORREF odd) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    g.Look().alternate_even = even;
    g.Look().alternate_odd = odd;
  });
}
bool CKVXContainer::Grid_SetRowCount(int id, int rows) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetRowCount(rows); });
  ORBE_GRID_SHAPE(id);
  return done;
}
int CKVXContainer::Grid_GetRowCount(int id) const {
  return Ask<CGridCtrl>(*this, id, 0, [](const CGridCtrl& g) { return g.GetRowCount(); });
}
bool CKVXContainer::Grid_SetColumnCount(int id, int cols) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetColumnCount(cols); });
  ORBE_GRID_SHAPE(id);
  return done;
}
int CKVXContainer::Grid_GetColumnCount(int id) const {
  return Ask<CGridCtrl>(*this, id, 0, [](const CGridCtrl& g) { return g.GetColumnCount(); });
}
bool CKVXContainer::Grid_SetFixedRowCount(int id, int rows) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetFixedRowCount(rows); });
  ORBE_GRID_SHAPE(id);
  return done;
}
int CKVXContainer::Grid_GetFixedRowCount(int id) const {
  return Ask<CGridCtrl>(*this, id, 0, [](const CGridCtrl& g) { return g.GetFixedRowCount(); });
}
bool CKVXContainer::Grid_SetFixedColumnCount(int id, int cols) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetFixedColumnCount(cols); });
  ORBE_GRID_SHAPE(id);
  return done;
}
int CKVXContainer::Grid_GetFixedColumnCount(int id) const {
  return Ask<CGridCtrl>(*this, id, 0, [](const CGridCtrl& g) { return g.GetFixedColumnCount(); });
}
bool CKVXContainer::Grid_SetRowHeight(int id, int row, int height) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetRowHeight(row, height); });
  ORBE_GRID_SHAPE(id);
  return done;
}
int CKVXContainer::Grid_GetRowHeight(int id, int row) const {
  return Ask<CGridCtrl>(*this, id, 0, [&](const CGridCtrl& g) { return g.GetRowHeight(row); });
}
bool CKVXContainer::Grid_SetColumnWidth(int id, int col, int width) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetColumnWidth(col, width); });
  ORBE_GRID_SHAPE(id);
  return done;
}
int CKVXContainer::Grid_GetColumnWidth(int id, int col) const {
  return Ask<CGridCtrl>(*this, id, 0, [&](const CGridCtrl& g) { return g.GetColumnWidth(col); });
}
bool CKVXContainer::Grid_Clean(int id) {
  const bool done = Set<CGridCtrl>(*this, id, [](CGridCtrl& g) { g.DeleteAllItems(); });
  ORBE_GRID_SHAPE(id);
  return done;
}
bool CKVXContainer::Grid_CleanNonFixedCell(int id) {
  return Set<CGridCtrl>(*this, id, [](CGridCtrl& g) { g.CleanNonFixedCells(); });
}
bool CKVXContainer::Grid_AutoSize(int id, int style) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (style < GVS_DEFAULT || style > GVS_BOTH) return false;
    g.AutoSize(style);
    return true;
  });
  ORBE_GRID_SHAPE(id);
  return done;
}
bool CKVXContainer::Grid_AutoSizeColumn(int id, int col, int style, bool reset_scroll) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (!g.AutoSizeColumn(col, style)) return false;
    if (reset_scroll) g.SetScrollPos32(0, g.GetScrollPos32().row);
    return true;
  });
  ORBE_GRID_SHAPE(id);
  return done;
}
bool CKVXContainer::Grid_AutoSizeColumns(int id, int style) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (style < GVS_DEFAULT || style > GVS_BOTH) return false;
    for (int col = 0; col < g.GetColumnCount(); ++col) g.AutoSizeColumn(col, style);
    return true;
  });
  ORBE_GRID_SHAPE(id);
  return done;
}
bool CKVXContainer::Grid_AutoSizeRow(int id, int row, bool reset_scroll) {
  const bool done = Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (!g.AutoSizeRow(row)) return false;
    if (reset_scroll) g.SetScrollPos32(g.GetScrollPos32().col, 0);
    return true;
  });
  ORBE_GRID_SHAPE(id);
  return done;
}
bool CKVXContainer::Grid_MergeFixedCells(int id, int min_row, int min_col, int max_row, int max_col, int align,
                                         COLORREF bk) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    return g.MergeFixedCells({{min_row, min_col, max_row, max_col}, AlignOf(align), bk});
  });
}
bool CKVXContainer::Grid_UnMergeAllFixedCells(int id) {
  return Set<CGridCtrl>(*this, id, [](CGridCtrl& g) { g.UnMergeAllFixedCells(); });
}
bool CKVXContainer::Grid_SetCellType(int id, int row, int col, int type) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    if (type < 0 || type > static_cast<int>(GridCellType::kImage)) return false;
    return g.SetCellType(row, col, static_cast<GridCellType>(type));
  });
}
bool CKVXContainer::Grid_CellCheck_SetCheck(int id, int row, int col, bool checked) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetCheck(row, col, checked); });
}
bool CKVXContainer::Grid_CellCheck_GetCheck(int id, int row, int col) const {
  return Ask<CGridCtrl>(*this, id, false, [&](const CGridCtrl& g) { return g.GetCheck(row, col); });
}
bool CKVXContainer::Grid_CellCombo_SetStyle(int id, int row, int col, int style) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetComboStyle(row, col, style); });
}
bool CKVXContainer::Grid_CellCombo_AddItem(int id, int row, int col, const std::string& text) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.AddComboItem(row, col, text); });
}
bool CKVXContainer::Grid_CellCombo_ResetContent(int id, int row, int col) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    GridCell* cell = g.GetCell(row, col);
    if (cell == nullptr) return false;
    cell->combo_items.clear();
    return true;
  });
}
bool CKVXContainer::Grid_SetImage(int id, int row, int col, int image) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetItemImage(row, col, image); });
}
bool CKVXContainer::Grid_SetHideStr(int id, int row, int col, const std::string& text) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetItemHidden(row, col, text); });
}
std::string CKVXContainer::Grid_GetHideStr(int id, int row, int col) const {
  return Ask<CGridCtrl>(*this, id, std::string(), [&](const CGridCtrl& g) { return g.GetItemHidden(row, col); });
}

namespace {

bool SetLookedItem(CGridCtrl& g, int row, int col, COLORREF text_color, COLORREF bk_color, const std::string& text,
                   int align, bool multi_line) {
  GridCell* cell = g.GetCell(row, col);
  if (cell == nullptr) return false;
  if (multi_line) cell->type = GridCellType::kMultiLine;
  cell->text = text;
  cell->text_color = text_color;
  cell->bk_color = bk_color;
  cell->align = AlignOf(align);
  return true;
}

}  // namespace

bool CKVXContainer::Grid_SetItem(int id, int row, int col, COLORREF text_color, COLORREF bk_color,
                                 const std::string& text, int align) {
  return Set<CGridCtrl>(*this, id,
                        [&](CGridCtrl& g) { return SetLookedItem(g, row, col, text_color, bk_color, text, align, false); });
}
bool CKVXContainer::Grid_SetItemUrl(int id, int row, int col, const std::string& url) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetItemUrl(row, col, url); });
}
bool CKVXContainer::Grid_SetMultiLineItem(int id, int row, int col, COLORREF text_color, COLORREF bk_color,
                                          const std::string& text, int align) {
  return Set<CGridCtrl>(*this, id,
                        [&](CGridCtrl& g) { return SetLookedItem(g, row, col, text_color, bk_color, text, align, true); });
}
bool CKVXContainer::Grid_SetItemText(int id, int row, int col, const std::string& text) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetItemText(row, col, text); });
}
bool CKVXContainer::Grid_SetItemText2(int id, int row, int col, const std::string& text, COLORREF color) {
  return Set<CGridCtrl>(*this, id,
                        [&](CGridCtrl& g) { return g.SetItemText(row, col, text) && g.SetItemFgColour(row, col, color); });
}
bool CKVXContainer::Grid_SetMultiLineItemText2(int id, int row, int col, const std::string& text, COLORREF color) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    return g.SetMultiLineItemText(row, col, text) && g.SetItemFgColour(row, col, color);
  });
}
std::string CKVXContainer::Grid_GetItemText(int id, int row, int col) const {
  return Ask<CGridCtrl>(*this, id, std::string(), [&](const CGridCtrl& g) { return g.GetItemText(row, col); });
}
bool CKVXContainer::Grid_SetItemTitleTip(int id, int row, int col, const std::string& title, const std::string& tip) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetItemTitleTip(row, col, title, tip); });
}
bool CKVXContainer::Grid_SetFixedRowFont(int id, int size, const std::string& face) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetFixedRowFont(FontOf(size, face)); });
}
bool CKVXContainer::Grid_SetNonFixedRowFont(int id, int size, const std::string& face) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { g.SetFont(FontOf(size, face)); });
}
bool CKVXContainer::Grid_SetCellFont(int id, int row, int col, int size, const std::string& face, int weight,
                                     bool italic, bool underline) {
  return Set<CGridCtrl>(*this, id,
                        [&](CGridCtrl& g) { return g.SetItemFont(row, col, FontOf(size, face, weight, italic, underline)); });
}
bool CKVXContainer::Grid_SetFocusCell(int id, int row, int col) {
  return Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) { return g.SetFocusCell(row, col); });
}
void CKVXContainer::Grid_GetFocusCell(int id, int& row, int& col) const {
  if (const CGridCtrl* grid = GetWidget<CGridCtrl>(id)) {
    row = grid->GetFocusCell().row;
    col = grid->GetFocusCell().col;
  }
}
void CKVXContainer::Grid_GetCellFromPt(int id, int x, int y, int& row, int& col) const {
  if (const CGridCtrl* grid = GetWidget<CGridCtrl>(id)) {
    const CCellID cell = grid->GetCellFromPt(x, y);
    row = cell.row;
    col = cell.col;
  }
}
void CKVXContainer::Grid_GetVisibleNonFixed(int id, int& min_row, int& min_col, int& max_row, int& max_col) const {
  if (const CGridCtrl* grid = GetWidget<CGridCtrl>(id)) {
    const CCellRange range = grid->GetVisibleNonFixedCellRange();
    min_row = range.min_row;
    min_col = range.min_col;
    max_row = range.max_row;
    max_col = range.max_col;
  }
}
void CKVXContainer::Grid_SetGridFrameColor(int id, COLORREF color, int width) {
  Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    g.Look().frame_color = color;
    g.Look().frame_width = std::max(width, 0);
  });
}
void CKVXContainer::Grid_SetFixedTopLeftColor(int id, COLORREF bk, COLORREF text) {
  Set<CGridCtrl>(*this, id, [&](CGridCtrl& g) {
    g.Look().top_left_bk = bk;
    g.Look().top_left_text = text;
  });
}
