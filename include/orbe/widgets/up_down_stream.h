// An up-and-down-stream panel: a current item in the middle, the items of
// its upper stream above and of its lower stream below, each side scrolled
// to its newest entries when it holds more than it shows.
#ifndef ORBE_WIDGETS_UP_DOWN_STREAM_H_
#define ORBE_WIDGETS_UP_DOWN_STREAM_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

struct StreamItem {
  std::string text;  // GBK
  COLORREF color = CLR_DEFAULT;
};

// "OnUpDownStreamSelChanged"(id, text) when a user picks a stream item.
class CKvxUpDownStream : public orbe::EventWidget {
 public:
  CKvxUpDownStream() : EventWidget(orbe::WidgetKind::kUpDownStream) {}

  // How many items each side shows (>= 0).
  bool SetStreamItemNum(int up, int down);
  void SetCurSelItem(const std::string& text) { current_ = text; }
  const std::string& GetCurSelItem() const { return current_; }
  void AddUpStreamItem(const std::string& text, COLORREF color) { up_.push_back({text, color}); }
  void AddDownStreamItem(const std::string& text, COLORREF color) { down_.push_back({text, color}); }
  void RemoveAllItemInfo();
  const std::vector<StreamItem>& GetUpStream() const { return up_; }
  const std::vector<StreamItem>& GetDownStream() const { return down_; }
  // The items a side shows now: its last `num` entries.
  std::vector<StreamItem> GetShownUp() const { return Shown(up_, up_num_); }
  std::vector<StreamItem> GetShownDown() const { return Shown(down_, down_num_); }
  // Drawing paused (false) while a script fills the panel.
  void SetRedraw(bool redraw) { redraw_ = redraw; }
  bool GetRedraw() const { return redraw_; }
  SIZE GetReqSize() const;

  // A user's click on a shown item (index into GetShownUp / GetShownDown): it
  // becomes the current item.
  bool ClickItem(bool up, int index);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  static std::vector<StreamItem> Shown(const std::vector<StreamItem>& items, int num);

  std::string current_;
  std::vector<StreamItem> up_;
  std::vector<StreamItem> down_;
  int up_num_ = 3;
  int down_num_ = 3;
  bool redraw_ = true;
};

#endif  // ORBE_WIDGETS_UP_DOWN_STREAM_H_
