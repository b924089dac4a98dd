// The Hong Kong stock topic tree ("港股专题"): the industries of class 809
// and the boards of the Hong Kong stock table; checked items select stocks.
#ifndef ORBE_TOPICS_KVX_GG_ZT_WND_H_
#define ORBE_TOPICS_KVX_GG_ZT_WND_H_

#include <string>
#include <utility>
#include <vector>

#include "orbe/dictionary/reference_records.h"
#include "orbe/topics/topic_tree_wnd.h"

class CKvxGGztWnd : public orbe::TopicTreeWnd {
 public:
  CKvxGGztWnd();

  // The window, or null when it cannot be created. Delete it with
  // DeleteGGztWnd, which refuses a window of another class.
  static CKvxGGztWnd* CreateGGztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  static void DeleteGGztWnd(CWnd* window);
  // Loads the Hong Kong stock table into the global main session once per
  // process; true when it is loaded.
  static bool InitGGSession(CWnd* parent);

  // Codes of the selected stocks in ascending byte order, joined by ","; ""
  // when nothing is selected.
  std::string GetAllSelStockCode();
  // (code, abbreviation) of the selected stocks, in the same order.
  void GetGGCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs);

 protected:
  void BuildTree(OrbeClientSession* session) override;

 private:
  void InitGGBkTree(const std::vector<tagGGINFO>& rows);
};

#endif  // ORBE_TOPICS_KVX_GG_ZT_WND_H_
