// A title bar of the script container, and the navigation strip that lists
// the titles appended to it: a click on an entry scrolls the container to
// that title, and a title's "go back" mark scrolls back to the top.
#ifndef ORBE_WIDGETS_TITLE_BAR_H_
#define ORBE_WIDGETS_TITLE_BAR_H_

#include <functional>
#include <string>
#include <vector>

#include "orbe/widgets/switch_ex.h"
#include "orbe/widgets/widget_event.h"

class CKvxTitle : public orbe::EventWidget {
 public:
  CKvxTitle() : EventWidget(orbe::WidgetKind::kTitle) {}

  void SetTipText(const std::string& tip) { tip_ = tip; }
  const std::string& GetTipText() const { return tip_; }
  void HideGoBack(bool hide) { go_back_hidden_ = hide; }
  bool IsGoBackHidden() const { return go_back_hidden_; }
  void SetHotTextColor(COLORREF color) { hot_text_ = color; }
  COLORREF GetHotTextColor() const { return hot_text_; }
  void SetGoBackColors(COLORREF color, COLORREF hot) { go_back_ = color, go_back_hot_ = hot; }
  COLORREF GetGoBackColor() const { return go_back_; }
  COLORREF GetGoBackHotColor() const { return go_back_hot_; }
  // A background gradient: type 0 top to bottom, 1 left to right.
  void SetGradient(COLORREF from, COLORREF to, int type);
  bool HasGradient() const { return gradient_; }
  // Whether the navigation strip lists this title, and where (-1 last).
  void SetAppendNavigate(bool append, int order) { navigate_ = append, order_ = order; }
  bool IsAppendNavigate() const { return navigate_; }
  int GetNavigateOrder() const { return order_; }
  // The mouse over the title: the hot look.
  void SetHot(bool hot) { hot_ = hot; }

  // What the "go back" mark does (the container scrolls to its top).
  void SetGoBackAction(std::function<void()> action) { go_back_action_ = std::move(action); }
  // A user's click on the mark; refused while it is hidden or disabled.
  bool ClickGoBack();

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::string tip_;
  bool go_back_hidden_ = false;
  bool hot_ = false;
  COLORREF hot_text_ = CLR_DEFAULT;
  COLORREF go_back_ = RGB(0, 0, 255);
  COLORREF go_back_hot_ = RGB(255, 0, 0);
  bool gradient_ = false;
  COLORREF gradient_from_ = CLR_DEFAULT;
  COLORREF gradient_to_ = CLR_DEFAULT;
  int gradient_type_ = 0;
  bool navigate_ = false;
  int order_ = -1;
  std::function<void()> go_back_action_;
};

// The strip: one label per appended title, in their order; the current
// label is the title scrolled to last.
class CKvxNavigateBar : public CSwitchEx {
 public:
  CKvxNavigateBar() { EnableMsg(false); }

  // The titles the labels stand for, with their texts.
  void SetEntries(const std::vector<std::pair<int, std::string>>& titles);
  const std::vector<int>& GetTitleIds() const { return title_ids_; }
  void SetEntryAction(std::function<void(int title_id)> action) { action_ = std::move(action); }
  // A user's click on entry `index`: it becomes current and the container
  // scrolls to its title.
  bool ClickEntry(int index);

 private:
  std::vector<int> title_ids_;
  std::function<void(int)> action_;
};

#endif  // ORBE_WIDGETS_TITLE_BAR_H_
