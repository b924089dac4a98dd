// A scroll bar control, vertical or horizontal: a range, a page and a thumb
// position that always stays where the last page is still full. A user's
// click or drag moves the thumb and tells the parent with WM_VSCROLL or
// WM_HSCROLL, as the platform's own scroll bars do.
#ifndef ORBE_WIDGETS_SCROLL_BAR_H_
#define ORBE_WIDGETS_SCROLL_BAR_H_

#include "orbe/widgets/widget.h"

constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;

// Scroll request codes (the low word of the message's wparam).
constexpr int SB_LINEUP = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_ENDSCROLL = 8;

// Which bar an operation means.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_BOTH = 3;

// The style the quote grids give their bars; kept, not interpreted.
constexpr DWORD kXScrollBarStyle = 6192;

class CXScrollBar : public orbe::KvxWidget {
 public:
  explicit CXScrollBar(bool vertical = true);

  BOOL Create(const RECT& rect, CWnd* parent, UINT id,
              DWORD style = WS_CHILD | WS_VISIBLE | kXScrollBarStyle);

  bool IsVertical() const { return vertical_; }
  // Refused when min > max. The page and position are clamped again.
  bool SetScrollRange(int min, int max);
  int GetScrollMin() const { return min_; }
  int GetScrollMax() const { return max_; }
  // Negative pages count as 0; a page larger than the range covers it all.
  void SetPageSize(int page);
  int GetPageSize() const { return page_; }
  // Clamped into [min, GetMaxPos()]; returns the previous position.
  int SetScrollPos32(int pos);
  int GetScrollPos32() const { return pos_; }
  // The last position at which a whole page still fits: max - page + 1.
  int GetMaxPos() const;
  // A bar whose page covers the whole range cannot move.
  bool CanScroll() const { return GetMaxPos() > min_; }

  void SetBarColor(COLORREF color) { bar_color_ = color; }
  COLORREF GetBarColor() const { return bar_color_; }

  // What a user does. Each is refused (false) on a disabled bar or one that
  // cannot move; otherwise it moves the thumb and notifies the parent, even
  // when the thumb is at the end already, as the platform does.
  bool ClickArrow(bool forward);
  bool ClickTrack(bool forward);
  // A drag sends SB_THUMBTRACK for every step, then SB_THUMBPOSITION and
  // SB_ENDSCROLL on release.
  bool DragThumb(int pos);
  bool ScrollToEnd(bool bottom);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  void MoveTo(long long pos);
  void NotifyParent(int code);

  bool vertical_;
  int min_ = 0;
  int max_ = 100;
  int page_ = 0;
  int pos_ = 0;
  COLORREF bar_color_ = CLR_DEFAULT;
};

#endif  // ORBE_WIDGETS_SCROLL_BAR_H_
