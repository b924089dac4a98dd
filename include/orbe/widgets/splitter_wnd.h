// A two-pane splitter. Panes are any windows the caller owns; the splitter
// lays them out on every size or split change. In single-pane mode one pane
// fills the splitter and the other is hidden.
#ifndef ORBE_WIDGETS_SPLITTER_WND_H_
#define ORBE_WIDGETS_SPLITTER_WND_H_

#include <array>

#include "orbe/widgets/widget.h"

class CStaticSplitterWnd : public orbe::KvxWidget {
 public:
  // Vertical: a vertical bar, panes left (0) and right (1). Horizontal: top and bottom.
  enum Orientation : int { kVertical = 0, kHorizontal = 1 };
  static constexpr int kBarWidth = 4;

  explicit CStaticSplitterWnd(Orientation orientation = kVertical)
      : KvxWidget(orbe::WidgetKind::kSplitter), orientation_(orientation) {}

  Orientation GetOrientation() const { return orientation_; }
  bool SetPane(int index, CWnd* pane);
  CWnd* GetPane(int index) const;
  // The first pane's width (height); kept within the splitter when laid out.
  void SetSplitPos(int pos);
  int GetSplitPos() const { return split_pos_; }
  // pane 0 or 1 shows only that pane; -1 shows both.
  bool SetSinglePaneMode(int pane);
  int GetSinglePane() const { return single_pane_; }
  // A user's drag of the bar; ignored in single-pane mode.
  bool DragBar(int pos);
  // Where the pane goes now; an empty rectangle while hidden.
  RECT PaneRect(int index) const;

  void RenderHtml(orbe::HtmlWriter& out) const override;

 protected:
  void OnSize(UINT type, int width, int height) override;

 private:
  void Layout();

  Orientation orientation_;
  std::array<HWND, 2> panes_{};
  int split_pos_ = 100;
  int single_pane_ = -1;
};

#endif  // ORBE_WIDGETS_SPLITTER_WND_H_
