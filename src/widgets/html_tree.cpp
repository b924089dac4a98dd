#include "orbe/widgets/html_tree.h"

#include <algorithm>
#include <cstdint>

#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/html_writer.h"

CXHtmlTree::CXHtmlTree() : KvxWidget(orbe::WidgetKind::kTree), nodes_(1) {}

BOOL CXHtmlTree::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(parent, rect, id, style);
}

CXHtmlTree::Node* CXHtmlTree::Find(HTREEITEM item) {
  if (item <= 0 || item >= static_cast<HTREEITEM>(nodes_.size())) return nullptr;
  Node& node = nodes_[static_cast<std::size_t>(item)];
  return node.alive ? &node : nullptr;
}

const CXHtmlTree::Node* CXHtmlTree::Find(HTREEITEM item) const {
  return const_cast<CXHtmlTree*>(this)->Find(item);
}

std::vector<HTREEITEM>& CXHtmlTree::ChildrenOf(HTREEITEM parent) {
  return parent == TVI_ROOT ? roots_ : Find(parent)->children;
}

const std::vector<HTREEITEM>& CXHtmlTree::ChildrenOf(HTREEITEM parent) const {
  return parent == TVI_ROOT ? roots_ : Find(parent)->children;
}

bool CXHtmlTree::IsItem(HTREEITEM item) const { return Find(item) != nullptr; }

HTREEITEM CXHtmlTree::InsertItem(const std::string& text, HTREEITEM parent, HTREEITEM after) {
  if (parent != TVI_ROOT && !IsItem(parent)) return 0;
  std::vector<HTREEITEM>& siblings = ChildrenOf(parent);
  auto at = siblings.end();
  if (after == TVI_FIRST) {
    at = siblings.begin();
  } else if (after != TVI_LAST) {
    at = std::find(siblings.begin(), siblings.end(), after);
    if (at == siblings.end()) return 0;
    ++at;
  }
  const auto item = static_cast<HTREEITEM>(nodes_.size());
  siblings.insert(at, item);  // before nodes_ grows: `siblings` may live in it
  Node node;
  node.text = text;
  node.parent = parent;
  node.alive = true;
  nodes_.push_back(std::move(node));
  UpdateAncestors(item);
  return item;
}

void CXHtmlTree::Forget(HTREEITEM item) {
  Node& node = nodes_[static_cast<std::size_t>(item)];
  for (const HTREEITEM child : node.children) Forget(child);
  node = Node{};
  if (selected_ == item) selected_ = 0;
}

bool CXHtmlTree::DeleteItem(HTREEITEM item) {
  const Node* node = Find(item);
  if (node == nullptr) return false;
  const HTREEITEM parent = node->parent;
  std::vector<HTREEITEM>& siblings = ChildrenOf(parent);
  siblings.erase(std::find(siblings.begin(), siblings.end(), item));
  Forget(item);
  if (parent != TVI_ROOT && !Find(parent)->children.empty()) UpdateAncestors(Find(parent)->children.front());
  return true;
}

void CXHtmlTree::DeleteAllItems() {
  // The slots stay, so that old handles find nothing rather than new items.
  for (Node& node : nodes_) node = Node{};
  roots_.clear();
  selected_ = 0;
}

int CXHtmlTree::GetCount() const {
  return static_cast<int>(std::count_if(nodes_.begin(), nodes_.end(), [](const Node& n) { return n.alive; }));
}

std::string CXHtmlTree::GetItemText(HTREEITEM item) const {
  const Node* node = Find(item);
  return node != nullptr ? node->text : std::string();
}

bool CXHtmlTree::SetItemText(HTREEITEM item, const std::string& text) {
  Node* node = Find(item);
  if (node == nullptr) return false;
  node->text = text;
  return true;
}

LPARAM CXHtmlTree::GetItemData(HTREEITEM item) const {
  const Node* node = Find(item);
  return node != nullptr ? node->data : 0;
}

bool CXHtmlTree::SetItemData(HTREEITEM item, LPARAM data) {
  Node* node = Find(item);
  if (node == nullptr) return false;
  node->data = data;
  return true;
}

bool CXHtmlTree::SetItemTextColor(HTREEITEM item, COLORREF color) {
  Node* node = Find(item);
  if (node == nullptr) return false;
  node->text_color = color;
  return true;
}

HTREEITEM CXHtmlTree::GetRootItem() const { return roots_.empty() ? 0 : roots_.front(); }

HTREEITEM CXHtmlTree::GetParentItem(HTREEITEM item) const {
  const Node* node = Find(item);
  return node != nullptr ? node->parent : 0;
}

HTREEITEM CXHtmlTree::GetChildItem(HTREEITEM item) const {
  if (item == TVI_ROOT) return GetRootItem();
  const Node* node = Find(item);
  return node != nullptr && !node->children.empty() ? node->children.front() : 0;
}

HTREEITEM CXHtmlTree::GetNextSiblingItem(HTREEITEM item) const {
  const Node* node = Find(item);
  if (node == nullptr) return 0;
  const std::vector<HTREEITEM>& siblings = ChildrenOf(node->parent);
  const auto at = std::find(siblings.begin(), siblings.end(), item);
  return at + 1 != siblings.end() ? *(at + 1) : 0;
}

HTREEITEM CXHtmlTree::GetNextItemInOrder(HTREEITEM item) const {
  if (item == TVI_ROOT) return GetRootItem();
  if (const HTREEITEM child = GetChildItem(item); child != 0) return child;
  for (HTREEITEM at = item; at != 0; at = GetParentItem(at)) {
    if (const HTREEITEM next = GetNextSiblingItem(at); next != 0) return next;
  }
  return 0;
}

HTREEITEM CXHtmlTree::FindItem(const std::string& text, HTREEITEM after) const {
  if (after != TVI_ROOT && !IsItem(after)) return 0;
  for (HTREEITEM item = GetNextItemInOrder(after); item != 0; item = GetNextItemInOrder(item)) {
    if (Find(item)->text == text) return item;
  }
  return 0;
}

void CXHtmlTree::CheckSubtree(HTREEITEM item, TreeCheck check) {
  Node* node = Find(item);
  node->check = check;
  if (!smart_) return;
  for (const HTREEITEM child : node->children) CheckSubtree(child, check);
}

// A parent's state follows its children: all checked, none, or mixed.
void CXHtmlTree::UpdateAncestors(HTREEITEM item) {
  if (!smart_) return;
  for (HTREEITEM parent = GetParentItem(item); parent != 0; parent = GetParentItem(parent)) {
    Node* node = Find(parent);
    const auto all = [&](TreeCheck state) {
      return std::all_of(node->children.begin(), node->children.end(),
                         [&](HTREEITEM child) { return Find(child)->check == state; });
    };
    node->check = all(TreeCheck::kChecked)     ? TreeCheck::kChecked
                  : all(TreeCheck::kUnchecked) ? TreeCheck::kUnchecked
                                               : TreeCheck::kMixed;
  }
}

bool CXHtmlTree::SetCheck(HTREEITEM item, bool checked) {
  if (!IsItem(item)) return false;
  CheckSubtree(item, checked ? TreeCheck::kChecked : TreeCheck::kUnchecked);
  UpdateAncestors(item);
  return true;
}

bool CXHtmlTree::GetCheck(HTREEITEM item) const { return GetCheckState(item) == TreeCheck::kChecked; }

TreeCheck CXHtmlTree::GetCheckState(HTREEITEM item) const {
  const Node* node = Find(item);
  return node != nullptr ? node->check : TreeCheck::kUnchecked;
}

std::vector<HTREEITEM> CXHtmlTree::GetCheckedItems() const {
  std::vector<HTREEITEM> checked;
  for (HTREEITEM item = GetRootItem(); item != 0; item = GetNextItemInOrder(item)) {
    if (GetCheck(item)) checked.push_back(item);
  }
  return checked;
}

bool CXHtmlTree::Expand(HTREEITEM item, UINT code) {
  Node* node = Find(item);
  if (node == nullptr || code < TVE_COLLAPSE || code > TVE_TOGGLE) return false;
  node->expanded = code == TVE_TOGGLE ? !node->expanded : code == TVE_EXPAND;
  return true;
}

bool CXHtmlTree::IsExpanded(HTREEITEM item) const {
  const Node* node = Find(item);
  return node != nullptr && node->expanded;
}

void CXHtmlTree::ExpandAll(bool expand) {
  for (Node& node : nodes_) {
    if (node.alive && !node.children.empty()) node.expanded = expand;
  }
}

bool CXHtmlTree::SelectItem(HTREEITEM item) {
  if (item != 0 && !IsItem(item)) return false;
  selected_ = item;
  return true;
}

bool CXHtmlTree::ClickCheckBox(HTREEITEM item) {
  if (!check_boxes_ || !IsItem(item) || !IsWindowEnabled()) return false;
  const bool checked = GetCheckState(item) != TreeCheck::kChecked;
  SetCheck(item, checked);
  CWnd* parent = GetParent();
  if (parent == nullptr) return true;
  XHTMLTREEMSGDATA data{GetSafeHwnd(), static_cast<UINT>(GetDlgCtrlID()), item};
  parent->SendMessage(RegisterWindowMessageA(kTreeCheckBoxClickedMessage), reinterpret_cast<WPARAM>(&data),
                      checked ? 1 : 0);
  return true;
}

bool CXHtmlTree::NotifyParent(UINT code) {
  const HWND self = GetSafeHwnd();
  CWnd* parent = GetParent();
  if (parent == nullptr) return true;
  NMHDR header{self, static_cast<UINT_PTR>(GetDlgCtrlID()), code};
  parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&header));
  // The parent may have taken the tree away in its handler.
  return ::IsWindow(self) && GetParent() == parent;
}

bool CXHtmlTree::ClickItem(HTREEITEM item) {
  if (!IsItem(item) || !IsWindowEnabled()) return false;
  if (selected_ != item) {
    selected_ = item;
    if (!NotifyParent(TVN_SELCHANGED)) return true;
  }
  NotifyParent(NM_CLICK);
  return true;
}

bool CXHtmlTree::DoubleClickItem(HTREEITEM item) { return ClickAndNotify(item, NM_DBLCLK); }

bool CXHtmlTree::RightClickItem(HTREEITEM item) { return ClickAndNotify(item, NM_RCLICK); }

bool CXHtmlTree::ClickAndNotify(HTREEITEM item, UINT code) {
  const HWND self = GetSafeHwnd();
  CWnd* const parent = GetParent();
  if (!ClickItem(item)) return false;
  // Only a tree still in its place, with the item, is still being clicked.
  if (::IsWindow(self) && GetParent() == parent && IsItem(item)) NotifyParent(code);
  return true;
}

void CXHtmlTree::RenderItems(const std::vector<HTREEITEM>& items, orbe::HtmlWriter& out) const {
  static constexpr const char* kBoxes[] = {"&#9744; ", "&#9745; ", "&#9635; "};
  out.Raw("<ul class=\"tree\">");
  for (const HTREEITEM item : items) {
    const Node& node = *Find(item);
    out.Raw("<li data-check=\"").Raw(std::to_string(static_cast<int>(node.check))).Raw("\"");
    if (out.Live()) out.Raw(" data-item=\"").Raw(std::to_string(item)).Raw("\"");
    if (item == selected_) out.Raw(" class=\"sel\"");
    if (node.text_color != CLR_DEFAULT)
      out.Raw(" style=\"color:").Raw(orbe::CssColor(node.text_color)).Raw("\"");
    out.Raw(">");
    // A live page tells a click on the arrow or the box from one on the text.
    if (!node.children.empty()) {
      if (out.Live()) out.Raw("<span class=\"tog\">");
      out.Raw(node.expanded ? "&#9662; " : "&#9656; ");
      if (out.Live()) out.Raw("</span>");
    }
    if (check_boxes_) {
      if (out.Live()) out.Raw("<span class=\"box\">");
      out.Raw(kBoxes[static_cast<int>(node.check)]);
      if (out.Live()) out.Raw("</span>");
    }
    out.Text(node.text);
    if (node.expanded && !node.children.empty()) RenderItems(node.children, out);
    out.Raw("</li>");
  }
  out.Raw("</ul>");
}

void CXHtmlTree::RenderHtml(orbe::HtmlWriter& out) const { RenderItems(roots_, out); }
