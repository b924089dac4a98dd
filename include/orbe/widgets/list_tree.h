// The list tree of the script container: a tree without check boxes whose
// items a script addresses by the handles it was given, each with an int of
// its own; branches open and close, one item is selected.
#ifndef ORBE_WIDGETS_LIST_TREE_H_
#define ORBE_WIDGETS_LIST_TREE_H_

#include <string>

#include "orbe/widgets/html_tree.h"

struct ListTreeColors {
  COLORREF bk = RGB(255, 255, 255);
  COLORREF selected_bk = RGB(51, 102, 204);
  COLORREF hover_bk = RGB(210, 220, 240);
  COLORREF text = RGB(0, 0, 0);
  COLORREF selected_text = RGB(255, 255, 255);
  COLORREF root_text = RGB(0, 0, 0);
  COLORREF line = RGB(192, 192, 192);
};

class TListTree : public CXHtmlTree {
 public:
  TListTree();

  // 0 when the parent is not an item.
  HTREEITEM NewRootItem(const std::string& text, LPARAM data);
  HTREEITEM AddItem(const std::string& text, HTREEITEM parent, LPARAM data);
  bool ChangeItemName(HTREEITEM item, const std::string& text) { return SetItemText(item, text); }
  bool SetSelectItem(HTREEITEM item) { return SelectItem(item); }
  HTREEITEM GetSelectItem() const { return GetSelectedItem(); }
  bool SetOpenItem(HTREEITEM item, bool open) { return Expand(item, open ? TVE_EXPAND : TVE_COLLAPSE); }

  // Background colours (normal, selected, hover) and text colours (normal,
  // selected, roots, lines).
  void SetBkColors(COLORREF bk, COLORREF selected_bk, COLORREF hover_bk);
  void SetClrAttr(COLORREF text, COLORREF selected_text, COLORREF root_text, COLORREF line);
  const ListTreeColors& GetColors() const { return colors_; }
  // The height of each item's row (at least 1; 20 at first).
  void SetItemHeight(int height) { item_height_ = height > 0 ? height : 20; }
  int GetItemHeight() const { return item_height_; }

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  ListTreeColors colors_;
  int item_height_ = 20;
};

#endif  // ORBE_WIDGETS_LIST_TREE_H_
