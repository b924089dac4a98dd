// A frame around a grid with scroll bars of its own: the bars follow the
// grid's top row and left column, and a user's scrolling on a bar moves the
// grid. With "use grid scroll" the grid scrolls by itself and the frame's bars
// are hidden. A corner static fills the square where the bars meet.
#ifndef ORBE_WIDGETS_GRID_SCROLL_FRAME_H_
#define ORBE_WIDGETS_GRID_SCROLL_FRAME_H_

#include <memory>

#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/scroll_bar.h"
#include "orbe/widgets/widget.h"

class GridCustomScrollFrame : public orbe::KvxWidget, public IGridScroll {
 public:
  static constexpr int kBarThickness = 17;

  GridCustomScrollFrame(int rows = 0, int cols = 0, int fixed_rows = 0, int fixed_cols = 0);
  // A frame around a grid it does not own: a sibling window under the same
  // parent, laid over the frame's own place (less the bars). The grid must
  // outlive the frame; the frame becomes its scroll listener until it goes.
  explicit GridCustomScrollFrame(CGridCtrl& external);
  ~GridCustomScrollFrame() override;

  // Creates the frame, its grid (unless external) and its bars, and lays them out.
  BOOL Create(const RECT& rect, CWnd* parent, UINT id, DWORD style = WS_CHILD | WS_VISIBLE);

  CGridCtrl& Grid() { return *grid_; }
  const CGridCtrl& Grid() const { return *grid_; }
  // The bars, for a user's scrolling on them.
  CXScrollBar& VerticalBar() { return vbar_; }
  CXScrollBar& HorizontalBar() { return hbar_; }
  const CXScrollBar& VerticalBar() const { return vbar_; }
  const CXScrollBar& HorizontalBar() const { return hbar_; }

  // The grid's first shown non-fixed column and row, kept so that the last
  // page stays full.
  void SetScrollPos32(int col, int row);
  CCellID GetScrollPos32() const { return grid_->GetScrollPos32(); }
  // bar: SB_HORZ, SB_VERT or SB_BOTH. A disabled bar is never shown.
  void EnableScrollBars(int bar, BOOL enable);
  bool IsScrollBarEnabled(int bar) const;
  // Recomputes the bars' ranges and pages from the grid's rows, columns and
  // sizes and the frame's size; call after the grid's shape changed.
  void ResetScrollBars();
  void SetUseGridScroll(bool use);
  bool GetUseGridScroll() const { return use_grid_scroll_; }

  void SetStaticColor(COLORREF color) { corner_color_ = color; }
  COLORREF GetStaticColor() const { return corner_color_; }
  void SetScrollColor(COLORREF color);

  void OnGridScrolled(int first_row, int first_col) override;
  void RenderHtml(orbe::HtmlWriter& out) const override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnSize(UINT type, int width, int height) override;

 private:
  void Layout();
  void SyncBarsFromGrid();

  // The bars come first: the grid reports scrolling to this frame from its
  // constructor on.
  CXScrollBar vbar_{true};
  CXScrollBar hbar_{false};
  std::unique_ptr<CGridCtrl> own_grid_;
  CGridCtrl* grid_;
  bool vbar_enabled_ = true;
  bool hbar_enabled_ = true;
  bool use_grid_scroll_ = false;
  COLORREF corner_color_ = RGB(0, 0, 0);
};

#endif  // ORBE_WIDGETS_GRID_SCROLL_FRAME_H_
