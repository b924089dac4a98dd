// What the four topic selection trees share: a title strip over a tree with
// smart check boxes (id 1888), the securities of one topic table, the
// selection the checked items make, and a message to the host after every
// click. CKvxGGztWnd, CKvxJJztWnd, CKvxQHztWnd and CKvxZQztWnd fill the tree
// of their kind (docs/topics.md).
#ifndef ORBE_TOPICS_TOPIC_TREE_WND_H_
#define ORBE_TOPICS_TOPIC_TREE_WND_H_

#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "orbe/platform/window.h"
#include "orbe/widgets/html_tree.h"
#include "orbe/widgets/switch_ex.h"

class OrbeClientSession;

namespace orbe {

// One security of a topic table as the tree sees it: code, name, and the
// keys of the items that select it.
struct TopicRow {
  std::string code;  // GBK
  std::string name;
  std::vector<std::string> keys;

  // A row of the keys that are not empty: an empty field selects nothing.
  static TopicRow WithKeys(std::string code, std::string name, std::initializer_list<std::string> keys);
};

using CodeAndName = std::pair<std::string, std::string>;

class TopicTreeWnd : public CWnd {
 public:
  static constexpr UINT kTreeId = 1888;
  static constexpr UINT kSwitchId = 1887;
  static constexpr int kHeadHeight = 18;
  // The value of a root item; every other item carries its code as a number
  // (0 when the code is not a decimal number).
  static constexpr LPARAM kRootValue = -1;
  // CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS.
  static constexpr UINT kClassStyle = 11;

  ~TopicTreeWnd() override;

  // Creates the window, the title strip and the tree, and fills the tree from
  // the global main session. FALSE when the window cannot be created.
  BOOL Create(CWnd* parent, const RECT& rect, DWORD style, UINT id);
  // Stores the title and whether the strip shows; renames the strip's label.
  void ShowHead(const std::string& title, bool show);
  // After every click on the tree, `message` is sent to `target` with both
  // parameters 0. A null target or message 0 stops the notifications.
  void RegisterCheckBoxNotify(CWnd* target, UINT message);
  // Keeps `names` as the names to check and, when there are any, checks
  // every item whose text is one of them. Nothing is unchecked.
  void SetCheckItem(std::vector<std::string> names);
  // The texts of the checked items, in the byte order of their keys.
  std::vector<std::string> GetCheckItem();

  // The name of the window class the kind registers ("CKvxGGztWnd" ...).
  const char* ClassName() const { return class_name_; }
  const std::string& TopicTitle() const { return title_; }

 protected:
  TopicTreeWnd(const char* class_name, std::string title);

  // Fills the tree from the topic table and the dictionary of `session`.
  // A kind whose table is empty leaves the tree empty.
  virtual void BuildTree(OrbeClientSession* session) = 0;
  // A double click on an item (the fund tree reports it).
  virtual void OnItemDoubleClick(HTREEITEM /*item*/) {}

  // The pieces the kinds build their trees with.
  CXHtmlTree& Tree() { return tree_; }
  void SetRows(std::vector<TopicRow> rows) { rows_ = std::move(rows); }
  bool HasRows() const { return !rows_.empty(); }
  HTREEITEM InsertRoot(const std::string& title);
  // An item that selects the rows holding `key`; an empty key selects none.
  HTREEITEM InsertKeyItem(HTREEITEM parent, const std::string& text, const std::string& key);
  // A branch of the constants of one class: a root titled `title`, then the
  // constants whose parent code is `parent_key` under it, theirs under them
  // and so on, each keyed by its code. Expanded when `expand` is set.
  void InitCLTree(OrbeClientSession* session, const char* const_class, const std::string& title,
                  const std::string& parent_key, bool expand);
  const std::string* KeyOf(HTREEITEM item) const;

  // The selection, rebuilt from the checks each time: codes in ascending
  // byte order, joined by ",".
  std::string SelectedCodes();
  std::vector<CodeAndName> SelectedCodesAndNames();

  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;

 private:
  bool RegisterWindowClass() const;
  void Layout();
  void CheckNamedItems();
  // Both selection maps from the current check marks.
  void GetCheckInfo();
  // A click: the selection again, then the host's message.
  void OnClkTree();

  const char* const class_name_;
  const std::string title_;
  CSwitchEx switch_;
  CXHtmlTree tree_;
  std::vector<TopicRow> rows_;
  std::map<HTREEITEM, std::string> item_keys_;
  std::vector<std::string> check_names_;
  std::map<std::string, std::string> checked_keys_;  // key -> item text
  std::map<std::string, std::string> selected_;      // security code -> name
  HWND notify_target_ = nullptr;
  UINT notify_message_ = 0;
  bool show_head_ = true;
  std::string head_title_;
};

}  // namespace orbe

#endif  // ORBE_TOPICS_TOPIC_TREE_WND_H_
