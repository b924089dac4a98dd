// Page bars: numbered page links with "previous" and "next". Two looks share
// the model: the plain pager and the extended one (per-state item colours, a
// page-number input box).
#ifndef ORBE_WIDGETS_PAGER_H_
#define ORBE_WIDGETS_PAGER_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

// Item states for the extended pager's colours.
enum class PageItemState : int { kNormal = 0, kHot = 1, kCurrent = 2 };

// Pages count from 1; a pager without pages has current page 0. A user's
// change raises "OnPagingIndexChanged" (plain) or "OnXPagingIndexChanged"
// (extended) with (id, page).
class CKvxPager : public orbe::EventWidget {
 public:
  explicit CKvxPager(bool extended = false)
      : EventWidget(extended ? orbe::WidgetKind::kXPaging : orbe::WidgetKind::kPaging) {}

  // Negative counts are refused; the current page is kept inside 1..count.
  bool SetTotalPageNum(int count);
  int GetTotalPageNum() const { return total_; }
  // Silent; refused outside 1..count.
  bool SetCurPageNo(int page);
  int GetCurPageNo() const { return current_; }
  static constexpr int kMaxShownPages = 200;
  // How many page numbers the bar shows at once (1..kMaxShownPages).
  bool SetMaxPageNumber(int count);
  int GetMaxPageNumber() const { return max_shown_; }
  // The page numbers shown: a window of GetMaxPageNumber pages around the
  // current one.
  std::vector<int> GetShownPages() const;

  // Plain pager look.
  void SetHotTextColor(COLORREF color) { hot_text_ = color; }
  COLORREF GetHotTextColor() const { return hot_text_; }
  void EnableBoldHotText(bool bold) { bold_hot_ = bold; }
  bool IsBoldHotText() const { return bold_hot_; }
  void EnableShowHandCursor(bool hand) { hand_cursor_ = hand; }
  bool IsHandCursor() const { return hand_cursor_; }
  // Extended look, per item state.
  void SetTotalPageTextColor(COLORREF color) { total_text_ = color; }
  COLORREF GetTotalPageTextColor() const { return total_text_; }
  void SetItemColors(PageItemState state, COLORREF border, COLORREF bk, COLORREF text);
  void SetItemBorderColor(PageItemState state, COLORREF color);
  void SetItemBkColor(PageItemState state, COLORREF color);
  void SetItemTextColor(PageItemState state, COLORREF color);
  COLORREF GetItemBorderColor(PageItemState state) const;
  COLORREF GetItemBkColor(PageItemState state) const;
  COLORREF GetItemTextColor(PageItemState state) const;
  // The width and height the bar needs to show all its items.
  SIZE GetReqSize() const;

  // User actions. Each returns whether the page changed.
  bool ClickPage(int page);
  bool ClickPrevious() { return ClickPage(current_ - 1); }
  bool ClickNext() { return ClickPage(current_ + 1); }
  // The extended pager's input box: typed digits, then "go".
  void TypePageInput(const std::string& text) { input_ = text; }
  const std::string& GetPageInput() const { return input_; }
  void ClearPageInputInfo() { input_.clear(); }
  bool GoToTypedPage();

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  struct ItemColors {
    COLORREF border = CLR_DEFAULT;
    COLORREF bk = CLR_DEFAULT;
    COLORREF text = CLR_DEFAULT;
  };
  const ItemColors& Colors(PageItemState state) const;
  ItemColors& Colors(PageItemState state);

  int total_ = 0;
  int current_ = 0;
  int max_shown_ = 10;
  std::string input_;
  COLORREF hot_text_ = CLR_DEFAULT;
  COLORREF total_text_ = CLR_DEFAULT;
  bool bold_hot_ = false;
  bool hand_cursor_ = true;
  ItemColors items_[3];
};

#endif  // ORBE_WIDGETS_PAGER_H_
