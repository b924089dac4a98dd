// The futures topic tree ("期货专题"): one branch per market, each with the
// varieties the futures table lists on it and their contracts.
#ifndef ORBE_TOPICS_KVX_QH_ZT_WND_H_
#define ORBE_TOPICS_KVX_QH_ZT_WND_H_

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "orbe/topics/topic_tree_wnd.h"

class CKvxQHztWnd : public orbe::TopicTreeWnd {
 public:
  // A branch: its text and the market key the contracts carry.
  struct Market {
    const char* text;
    const char* key;
  };
  static std::span<const Market> Markets();

  CKvxQHztWnd();

  static CKvxQHztWnd* CreateQHztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  static void DeleteQHztWnd(CWnd* window);
  static bool InitQHSession(CWnd* parent);

  // Contract codes; the name of a contract is its variety name and month.
  std::string GetAllSelQHCode();
  void GetQHCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs);

 protected:
  void BuildTree(OrbeClientSession* session) override;
};

#endif  // ORBE_TOPICS_KVX_QH_ZT_WND_H_
