// The tree with smart check boxes: checking an item checks its whole
// subtree, and a parent whose children differ shows the mixed state.
#ifndef ORBE_WIDGETS_HTML_TREE_H_
#define ORBE_WIDGETS_HTML_TREE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "orbe/widgets/widget.h"

// Items are numbered from 1 and never reused while the tree lives, so a
// stale handle finds nothing instead of another item.
using HTREEITEM = std::intptr_t;
constexpr HTREEITEM TVI_ROOT = 0;
constexpr HTREEITEM TVI_FIRST = -1;
constexpr HTREEITEM TVI_LAST = -2;

constexpr UINT TVE_COLLAPSE = 1;
constexpr UINT TVE_EXPAND = 2;
constexpr UINT TVE_TOGGLE = 3;
constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-402);

// Registered-message name of a check-box click, sent to the parent with a
// pointer to this record in wParam and the new check state in lParam.
constexpr const char kTreeCheckBoxClickedMessage[] = "WM_XHTMLTREE_CHECKBOX_CLICKED";
struct XHTMLTREEMSGDATA {
  HWND hCtrl;
  UINT nCtrlId;
  HTREEITEM hItem;
};

enum class TreeCheck : int { kUnchecked = 0, kChecked = 1, kMixed = 2 };

class CXHtmlTree : public orbe::KvxWidget {
 public:
  CXHtmlTree();

  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  void SetCheckBoxes(bool on) { check_boxes_ = on; }
  bool HasCheckBoxes() const { return check_boxes_; }
  // Off: a check changes its own item only.
  void SetSmartCheckBox(bool on) { smart_ = on; }
  bool GetSmartCheckBox() const { return smart_; }

  // 0 when parent is not an item or `after` is not one of its children.
  HTREEITEM InsertItem(const std::string& text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
  bool DeleteItem(HTREEITEM item);
  void DeleteAllItems();
  int GetCount() const;
  bool IsItem(HTREEITEM item) const;

  std::string GetItemText(HTREEITEM item) const;
  bool SetItemText(HTREEITEM item, const std::string& text);
  LPARAM GetItemData(HTREEITEM item) const;
  bool SetItemData(HTREEITEM item, LPARAM data);
  bool SetItemTextColor(HTREEITEM item, COLORREF color);

  HTREEITEM GetRootItem() const;
  HTREEITEM GetParentItem(HTREEITEM item) const;
  HTREEITEM GetChildItem(HTREEITEM item) const;
  HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
  // Pre-order successor: the walk every "all items" operation uses.
  HTREEITEM GetNextItemInOrder(HTREEITEM item) const;
  // The first item after `after` (pre-order; TVI_ROOT searches all) whose
  // text equals text; 0 when none.
  HTREEITEM FindItem(const std::string& text, HTREEITEM after = TVI_ROOT) const;

  bool SetCheck(HTREEITEM item, bool checked);
  bool GetCheck(HTREEITEM item) const;
  TreeCheck GetCheckState(HTREEITEM item) const;
  std::vector<HTREEITEM> GetCheckedItems() const;

  bool Expand(HTREEITEM item, UINT code);
  bool IsExpanded(HTREEITEM item) const;
  void ExpandAll(bool expand);
  bool SelectItem(HTREEITEM item);
  HTREEITEM GetSelectedItem() const { return selected_; }

  // What a user does; each sends what the real control sends to the parent.
  // A click on a check box toggles it (mixed becomes checked) and sends the
  // registered check-box message.
  bool ClickCheckBox(HTREEITEM item);
  // Selects the item; WM_NOTIFY TVN_SELCHANGED when the selection changed,
  // then NM_CLICK.
  bool ClickItem(HTREEITEM item);
  // A double click: selects as ClickItem, then WM_NOTIFY NM_DBLCLK (the
  // parent reads the selected item), unless the parent took the tree or the
  // item away in its click handler.
  bool DoubleClickItem(HTREEITEM item);
  // The right button: selects as ClickItem, then WM_NOTIFY NM_RCLICK.
  bool RightClickItem(HTREEITEM item);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  // WM_NOTIFY `code` to the parent; false when the tree is gone from it after.
  bool NotifyParent(UINT code);

  struct Node {
    std::string text;
    LPARAM data = 0;
    COLORREF text_color = CLR_DEFAULT;
    HTREEITEM parent = TVI_ROOT;
    std::vector<HTREEITEM> children;
    TreeCheck check = TreeCheck::kUnchecked;
    bool expanded = false;
    bool alive = false;
  };

  Node* Find(HTREEITEM item);
  const Node* Find(HTREEITEM item) const;
  std::vector<HTREEITEM>& ChildrenOf(HTREEITEM parent);
  const std::vector<HTREEITEM>& ChildrenOf(HTREEITEM parent) const;
  bool ClickAndNotify(HTREEITEM item, UINT code);
  void CheckSubtree(HTREEITEM item, TreeCheck check);
  void UpdateAncestors(HTREEITEM item);
  void Forget(HTREEITEM item);
  void RenderItems(const std::vector<HTREEITEM>& items, orbe::HtmlWriter& out) const;

  std::vector<Node> nodes_;  // index = handle; slot 0 unused
  std::vector<HTREEITEM> roots_;
  HTREEITEM selected_ = 0;
  bool check_boxes_ = true;
  bool smart_ = true;
};

#endif  // ORBE_WIDGETS_HTML_TREE_H_
