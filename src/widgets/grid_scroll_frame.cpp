#include "orbe/widgets/grid_scroll_frame.h"

#include <algorithm>
#include <string>
#include <vector>

#include "orbe/widgets/html_writer.h"

namespace {

// How many of the trailing sizes fit into `room`: the page of a bar whose
// last page is full. Zero sizes (hidden rows or columns) always fit.
int TrailingFit(const std::vector<int>& sizes, int room) {
  int fit = 0;
  long long used = 0;
  for (auto it = sizes.rbegin(); it != sizes.rend(); ++it) {
    used += std::max(*it, 0);
    if (used > room) break;
    ++fit;
  }
  return std::max(fit, sizes.empty() ? 0 : 1);
}

struct Axis {
  std::vector<int> sizes;  // of the non-fixed rows or columns
  int fixed_extent = 0;    // of the fixed ones
};

Axis RowAxis(const CGridCtrl& grid) {
  Axis axis;
  for (int row = 0; row < grid.GetRowCount(); ++row) {
    if (row < grid.GetFixedRowCount()) {
      axis.fixed_extent += grid.GetRowHeight(row);
    } else {
      axis.sizes.push_back(grid.GetRowHeight(row));
    }
  }
  return axis;
}

Axis ColumnAxis(const CGridCtrl& grid) {
  Axis axis;
  for (int col = 0; col < grid.GetColumnCount(); ++col) {
    if (col < grid.GetFixedColumnCount()) {
      axis.fixed_extent += grid.GetColumnWidth(col);
    } else {
      axis.sizes.push_back(grid.GetColumnWidth(col));
    }
  }
  return axis;
}

void SetBarAxis(CXScrollBar& bar, const Axis& axis, int extent) {
  const int count = static_cast<int>(axis.sizes.size());
  bar.SetScrollRange(0, std::max(count - 1, 0));
  bar.SetPageSize(TrailingFit(axis.sizes, extent - axis.fixed_extent));
}

}  // namespace

GridCustomScrollFrame::GridCustomScrollFrame(int rows, int cols, int fixed_rows, int fixed_cols)
    : KvxWidget(orbe::WidgetKind::kGeneric),
      own_grid_(std::make_unique<CGridCtrl>(rows, cols, fixed_rows, fixed_cols, this)),
      grid_(own_grid_.get()) {}

GridCustomScrollFrame::GridCustomScrollFrame(CGridCtrl& external)
    : KvxWidget(orbe::WidgetKind::kGeneric), grid_(&external) {
  grid_->SetScrollListener(this);
}

GridCustomScrollFrame::~GridCustomScrollFrame() {
  if (own_grid_ == nullptr) grid_->SetScrollListener(nullptr);
  DestroyWindow();
}

BOOL GridCustomScrollFrame::Create(const RECT& rect, CWnd* parent, UINT id, DWORD style) {
  if (!CWnd::Create(parent, rect, id, style)) return FALSE;
  const RECT none{0, 0, 0, 0};
  const bool grid_made = own_grid_ == nullptr || grid_->Create(none, this, 1);
  if (!grid_made || !vbar_.Create(none, this, 2) || !hbar_.Create(none, this, 3)) {
    DestroyWindow();
    return FALSE;
  }
  Layout();
  return TRUE;
}

void GridCustomScrollFrame::SetScrollPos32(int col, int row) {
  // The bars hold the limits that keep the last page full.
  grid_->SetScrollPos32(std::clamp(col, 0, hbar_.GetMaxPos()), std::clamp(row, 0, vbar_.GetMaxPos()));
}

void GridCustomScrollFrame::EnableScrollBars(int bar, BOOL enable) {
  if (bar == SB_VERT || bar == SB_BOTH) vbar_enabled_ = enable != FALSE;
  if (bar == SB_HORZ || bar == SB_BOTH) hbar_enabled_ = enable != FALSE;
  Layout();
}

bool GridCustomScrollFrame::IsScrollBarEnabled(int bar) const {
  if (bar == SB_VERT) return vbar_enabled_;
  if (bar == SB_HORZ) return hbar_enabled_;
  return bar == SB_BOTH && vbar_enabled_ && hbar_enabled_;
}

void GridCustomScrollFrame::ResetScrollBars() {
  Layout();
  const CCellID pos = grid_->GetScrollPos32();
  SetScrollPos32(pos.col, pos.row);
}

void GridCustomScrollFrame::SetUseGridScroll(bool use) {
  use_grid_scroll_ = use;
  Layout();
}

void GridCustomScrollFrame::SetScrollColor(COLORREF color) {
  vbar_.SetBarColor(color);
  hbar_.SetBarColor(color);
}

void GridCustomScrollFrame::OnGridScrolled(int first_row, int first_col) {
  vbar_.SetScrollPos32(first_row);
  hbar_.SetScrollPos32(first_col);
}

LRESULT GridCustomScrollFrame::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_VSCROLL || message == WM_HSCROLL) {
    const HWND from = reinterpret_cast<HWND>(lparam);
    if (from == vbar_.GetSafeHwnd() || from == hbar_.GetSafeHwnd()) {
      if (LOWORD(wparam) != SB_ENDSCROLL) {
        grid_->SetScrollPos32(hbar_.GetScrollPos32(), vbar_.GetScrollPos32());
      }
      return 0;
    }
  }
  return KvxWidget::WindowProc(message, wparam, lparam);
}

void GridCustomScrollFrame::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { Layout(); }

void GridCustomScrollFrame::Layout() {
  if (grid_->GetSafeHwnd() == nullptr) return;
  RECT client{};
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  const Axis rows = RowAxis(*grid_);
  const Axis cols = ColumnAxis(*grid_);
  const bool own_bars = !use_grid_scroll_;
  bool show_v = false;
  bool show_h = false;
  // A shown bar takes room from the other direction, which may then need its
  // bar too; two rounds settle it.
  for (int round = 0; round < 2; ++round) {
    SetBarAxis(vbar_, rows, height - (show_h ? kBarThickness : 0));
    SetBarAxis(hbar_, cols, width - (show_v ? kBarThickness : 0));
    show_v = own_bars && vbar_enabled_ && vbar_.CanScroll();
    show_h = own_bars && hbar_enabled_ && hbar_.CanScroll();
  }
  const int grid_w = std::max(width - (show_v ? kBarThickness : 0), 0);
  const int grid_h = std::max(height - (show_h ? kBarThickness : 0), 0);
  // An external grid is a sibling: it takes the frame's place in the parent.
  POINT origin{0, 0};
  if (own_grid_ == nullptr && GetParent() != nullptr) {
    RECT mine{}, parent{};
    GetWindowRect(&mine);
    GetParent()->GetWindowRect(&parent);
    origin = {mine.left - parent.left, mine.top - parent.top};
  }
  grid_->MoveWindow(origin.x, origin.y, grid_w, grid_h);
  vbar_.MoveWindow(grid_w, 0, show_v ? kBarThickness : 0, grid_h);
  hbar_.MoveWindow(0, grid_h, grid_w, show_h ? kBarThickness : 0);
  vbar_.ShowWindow(show_v ? SW_SHOW : SW_HIDE);
  hbar_.ShowWindow(show_h ? SW_SHOW : SW_HIDE);
  OnGridScrolled(grid_->GetScrollPos32().row, grid_->GetScrollPos32().col);
}

void GridCustomScrollFrame::RenderHtml(orbe::HtmlWriter& out) const {
  // Only the corner is the frame's own; the grid and bars render as children.
  if (!vbar_.IsWindowVisible() || !hbar_.IsWindowVisible()) return;
  out.Raw("<div class=\"corner\" style=\"position:absolute;right:0;bottom:0;width:")
      .Raw(std::to_string(kBarThickness)).Raw("px;height:").Raw(std::to_string(kBarThickness))
      .Raw("px;background:").Raw(orbe::CssColor(corner_color_)).Raw("\"></div>");
}
