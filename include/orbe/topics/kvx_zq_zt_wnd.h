// The bond topic tree ("债券类别"): the categories of a bond category file
// (orbe/topics/bond_categories.h), then the fixed trading-market nodes.
#ifndef ORBE_TOPICS_KVX_ZQ_ZT_WND_H_
#define ORBE_TOPICS_KVX_ZQ_ZT_WND_H_

#include <string>
#include <utility>
#include <vector>

#include "orbe/topics/bond_categories.h"
#include "orbe/topics/topic_tree_wnd.h"

struct tagZQINFO;

class CKvxZQztWnd : public orbe::TopicTreeWnd {
 public:
  CKvxZQztWnd();

  // `categoryFile` is the bond category file; without a readable one the tree
  // has the fixed nodes only (GetCategoryError tells why).
  static CKvxZQztWnd* CreateZQztWnd(CWnd* parent, const RECT& rect, DWORD style, UINT id,
                                    const std::string& categoryFile);
  static void DeleteZQztWnd(CWnd* window);
  static bool InitZQSession(CWnd* parent);

  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id, const std::string& categoryFile);

  std::string GetAllSelZQCode();
  void GetAllSelZQCode(std::vector<std::string>& codes);
  void GetAllSelZQCodeAndName(std::vector<std::pair<std::string, std::string>>& pairs);
  // The name of the fixed node a bond code falls under (its trading market,
  // by the code's suffix); "" when none.
  std::string GetFixedZQNameByCode(const std::string& code) const;

  // Why the category file gave no categories; "" when it was read.
  const std::string& GetCategoryError() const { return category_error_; }

 protected:
  void BuildTree(OrbeClientSession* session) override;

 private:
  struct FixedNode {
    std::string suffix;  // ".SH" ...
    std::string name;
  };

  // Reads the categories of the file; false (and the reason) when it cannot.
  bool LoadCategoryXml(const std::string& path);
  void AddCategoryItems(HTREEITEM parent, const std::vector<orbe::BondCategory>& categories, std::size_t& number);
  // The market nodes, named by the dictionary's texts of the market codes.
  void AddFixedNode(OrbeClientSession* session);
  std::vector<std::string> KeysOf(const tagZQINFO& bond) const;

  std::string category_file_;
  std::string category_error_;
  std::vector<orbe::BondCategory> categories_;
  std::vector<const orbe::BondCategory*> numbered_;  // pre-order: the number in each key
  std::vector<FixedNode> fixed_nodes_;
};

#endif  // ORBE_TOPICS_KVX_ZQ_ZT_WND_H_
