// Drop-down lists of the script container: the combo box (one selection) and
// the check combo (a check box per entry).
#ifndef ORBE_WIDGETS_COMBOS_H_
#define ORBE_WIDGETS_COMBOS_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

constexpr int CB_ERR = -1;

// "OnComboSelChanged"(id, index, text) when a user's pick changes the
// selection; "OnComboFocus"(id, 1 | 0) when enabled.
class CKvxComboBox : public orbe::EventWidget {
 public:
  CKvxComboBox() : EventWidget(orbe::WidgetKind::kCombo) {}

  // Each gives the new entry's index, CB_ERR when refused.
  int AddString(const std::string& text);
  int InsertString(int index, const std::string& text);  // -1 appends
  // Gives the remaining count. The selection follows its entry; deleting the
  // selected entry leaves none selected.
  int DeleteString(int index);
  void ResetContent();
  // First entry after `start` (-1: from the beginning), wrapping around, that
  // starts with `prefix` (ASCII letters without case); CB_ERR for none.
  int FindString(int start, const std::string& prefix) const;
  // Selects what FindString finds; silent like SetCurSel.
  int SelectString(int start, const std::string& prefix);
  int GetCurSel() const { return cur_sel_; }
  // -1 clears; an index out of range gives CB_ERR and clears, as Win32 does.
  int SetCurSel(int index);
  int GetCount() const { return static_cast<int>(items_.size()); }
  std::string GetLBText(int index) const;
  // The shown text: the selected entry's, "" for none.
  std::string GetSelectedText() const { return GetLBText(cur_sel_); }
  void EnableFocusMsg(bool enable) { focus_msg_ = enable; }
  bool IsFocusMsgEnabled() const { return focus_msg_; }
  void SetDroppedWidth(int width) { dropped_width_ = width; }
  int GetDroppedWidth() const { return dropped_width_; }
  // The open list's height in pixels; 0 fits the entries.
  void SetDroppedHeight(int height) { dropped_height_ = height < 0 ? 0 : height; }
  int GetDroppedHeight() const { return dropped_height_; }
  // index -1 is the edit part's height, others the list entries'.
  void SetItemHeight(int index, int height);
  int GetItemHeight(int index) const { return index < 0 ? edit_height_ : item_height_; }

  // User actions.
  bool PickItem(int index);
  void SetFocusState(bool focused);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  std::vector<std::string> items_;
  int cur_sel_ = CB_ERR;
  bool focus_msg_ = false;
  int dropped_width_ = 0;
  int dropped_height_ = 0;
  int edit_height_ = 20;
  int item_height_ = 18;
};

// "OnCheckComboItemCheck"(id, index, text, checked) for a user's check click;
// the shown text lists the checked entries, joined by ",".
class CKvxCheckCombo : public orbe::EventWidget {
 public:
  CKvxCheckCombo() : EventWidget(orbe::WidgetKind::kCheckCombo) {}

  int AddString(const std::string& text);
  void ResetContent();
  int GetCount() const { return static_cast<int>(items_.size()); }
  std::string GetLBText(int index) const;
  int GetCurSel() const { return cur_sel_; }
  int SetCurSel(int index);
  bool SetCheck(int index, bool checked);
  // 1 checked, 0 unchecked, CB_ERR for no such entry.
  int GetCheck(int index) const;
  void CheckAll(bool checked);
  void SetItemHeight(int index, int height);
  int GetItemHeight(int index) const { return index < 0 ? edit_height_ : item_height_; }
  std::string GetCheckedText() const;

  bool ClickItemCheck(int index);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  struct Item {
    std::string text;
    bool checked = false;
  };
  std::vector<Item> items_;
  int cur_sel_ = CB_ERR;
  int edit_height_ = 20;
  int item_height_ = 18;
};

#endif  // ORBE_WIDGETS_COMBOS_H_
