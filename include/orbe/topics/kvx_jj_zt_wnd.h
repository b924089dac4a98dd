// The fund topic tree ("基金类别"): fund categories (class 998, expanded),
// investment types (004) and investment styles (005); checked items select
// the funds of the table with that category, type or style.
#ifndef ORBE_TOPICS_KVX_JJ_ZT_WND_H_
#define ORBE_TOPICS_KVX_JJ_ZT_WND_H_

#include <string>
#include <utility>
#include <vector>

#include "orbe/topics/topic_tree_wnd.h"

class CKvxJJztWnd : public orbe::TopicTreeWnd {
 public:
  CKvxJJztWnd();

  static CKvxJJztWnd* CreateJJztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  static void DeleteJJztWnd(CWnd* window);
  static bool InitJJSession(CWnd* parent);

  std::string GetSelJJCode();
  void GetJJCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs);
  // Hides or shows the check boxes; hidden boxes take no clicks.
  void ShowTreeCheckBox(bool show);
  // After a double click on an item, `message` is sent to `target` with the
  // item's value (its code as a number, -1 for a root) in wParam and a
  // pointer to its GBK text, valid during the call, in lParam.
  void RegisterDBClickItemNotify(CWnd* target, UINT message);

 protected:
  void BuildTree(OrbeClientSession* session) override;
  void OnItemDoubleClick(HTREEITEM item) override;

 private:
  HWND double_click_target_ = nullptr;
  UINT double_click_message_ = 0;
};

#endif  // ORBE_TOPICS_KVX_JJ_ZT_WND_H_
