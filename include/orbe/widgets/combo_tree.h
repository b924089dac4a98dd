// A drop-down holding a tree with check boxes. Items are named by their path,
// the labels from the root joined by a backslash ("行业\银行"), the form in
// which a script adds, selects, checks and deletes them.
#ifndef ORBE_WIDGETS_COMBO_TREE_H_
#define ORBE_WIDGETS_COMBO_TREE_H_

#include <string>
#include <vector>

#include "orbe/widgets/widget_event.h"

// "OnComboTreeDblClk"(id, path) for a double-click on an item, which selects
// it; "OnComboTreeCheck"(id, path, checked) for a click on its check box.
class CKvxComboTree : public orbe::EventWidget {
 public:
  CKvxComboTree() : EventWidget(orbe::WidgetKind::kComboTree) {}

  // Adds the path's missing items; refused for an empty path or label. True
  // also when the item exists already (adding is idempotent).
  bool AddString(const std::string& path);
  // Removes the item and its subtree; a selection inside it is cleared.
  bool DeleteString(const std::string& path);
  void ResetContent();
  bool SelectString(const std::string& path);
  std::string GetCurrentTreePath() const { return selected_; }
  // Sets the item's whole subtree; each ancestor is then checked exactly when
  // all its children are.
  bool SetCheck(const std::string& path, bool checked);
  // 1 checked, 0 unchecked, -1 no such item.
  int IsItemChecked(const std::string& path) const;
  bool HasItem(const std::string& path) const { return Find(path) != nullptr; }
  std::vector<std::string> GetCheckedPaths() const;
  // Without check boxes a click on an item's box does nothing.
  void SetCheckBoxes(bool check_boxes) { check_boxes_ = check_boxes; }
  bool HasCheckBoxes() const { return check_boxes_; }
  void SetDroppedSize(int cx, int cy) { dropped_ = SIZE{cx, cy}; }
  SIZE GetDroppedSize() const { return dropped_; }

  bool DoubleClickItem(const std::string& path);
  bool ClickCheck(const std::string& path);

  void RenderHtml(orbe::HtmlWriter& out) const override;

 private:
  struct Node {
    std::string label;
    bool checked = false;
    std::vector<Node> children;
  };
  const Node* Find(const std::string& path) const;
  Node* Find(const std::string& path);

  Node root_;
  std::string selected_;
  SIZE dropped_{};
  bool check_boxes_ = true;
};

namespace orbe {
// Splits a GBK path at its backslashes; a backslash that is the second byte
// of a double-byte character does not split.
std::vector<std::string> SplitTreePath(const std::string& path);
}  // namespace orbe

#endif  // ORBE_WIDGETS_COMBO_TREE_H_
