#include "orbe/widgets/combo_tree.h"

#include <algorithm>

#include "orbe/platform/text.h"
#include "orbe/widgets/html_writer.h"

namespace orbe {

std::vector<std::string> SplitTreePath(const std::string& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (IsGbkLeadByte(static_cast<unsigned char>(c)) && i + 1 < path.size()) {
      parts.back() += path.substr(i, 2);
      ++i;
    } else if (c == '\\') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace orbe

namespace {

template <typename NodeT>
NodeT* FindChild(NodeT& parent, const std::string& label) {
  const auto at = std::find_if(parent.children.begin(), parent.children.end(),
                               [&label](const auto& n) { return n.label == label; });
  return at != parent.children.end() ? &*at : nullptr;
}

template <typename NodeT>
void CheckSubtree(NodeT& node, bool checked) {
  node.checked = checked;
  for (auto& child : node.children) CheckSubtree(child, checked);
}

// Parents follow their children, from the bottom up.
template <typename NodeT>
void Recompute(NodeT& node) {
  if (node.children.empty()) return;
  for (auto& child : node.children) Recompute(child);
  node.checked =
      std::all_of(node.children.begin(), node.children.end(), [](const auto& c) { return c.checked; });
}

bool InsideOf(const std::string& path, const std::string& ancestor) {
  return path == ancestor ||
         (path.size() > ancestor.size() && path.compare(0, ancestor.size(), ancestor) == 0 &&
          path[ancestor.size()] == '\\');
}

}  // namespace

const CKvxComboTree::Node* CKvxComboTree::Find(const std::string& path) const {
  const Node* node = &root_;
  for (const std::string& label : orbe::SplitTreePath(path)) {
    node = FindChild(*node, label);
    if (node == nullptr) return nullptr;
  }
  return node;
}

CKvxComboTree::Node* CKvxComboTree::Find(const std::string& path) {
  return const_cast<Node*>(static_cast<const CKvxComboTree*>(this)->Find(path));
}

bool CKvxComboTree::AddString(const std::string& path) {
  const std::vector<std::string> labels = orbe::SplitTreePath(path);
  if (std::any_of(labels.begin(), labels.end(), [](const std::string& l) { return l.empty(); })) return false;
  Node* node = &root_;
  for (const std::string& label : labels) {
    Node* child = FindChild(*node, label);
    if (child == nullptr) {
      node->children.push_back(Node{label, false, {}});
      child = &node->children.back();
    }
    node = child;
  }
  Recompute(root_);  // an unchecked newcomer unchecks its ancestors
  return true;
}

bool CKvxComboTree::DeleteString(const std::string& path) {
  std::vector<std::string> labels = orbe::SplitTreePath(path);
  const std::string last = labels.back();
  labels.pop_back();
  Node* parent = &root_;
  for (const std::string& label : labels) {
    if ((parent = FindChild(*parent, label)) == nullptr) return false;
  }
  const auto at = std::find_if(parent->children.begin(), parent->children.end(),
                               [&last](const Node& n) { return n.label == last; });
  if (at == parent->children.end()) return false;
  parent->children.erase(at);
  if (InsideOf(selected_, path)) selected_.clear();
  Recompute(root_);
  return true;
}

void CKvxComboTree::ResetContent() {
  root_.children.clear();
  selected_.clear();
}

bool CKvxComboTree::SelectString(const std::string& path) {
  if (Find(path) == nullptr) return false;
  selected_ = path;
  return true;
}

bool CKvxComboTree::SetCheck(const std::string& path, bool checked) {
  Node* node = Find(path);
  if (node == nullptr) return false;
  CheckSubtree(*node, checked);
  Recompute(root_);
  return true;
}

int CKvxComboTree::IsItemChecked(const std::string& path) const {
  const Node* node = Find(path);
  return node == nullptr ? -1 : (node->checked ? 1 : 0);
}

std::vector<std::string> CKvxComboTree::GetCheckedPaths() const {
  std::vector<std::string> paths;
  const auto walk = [&paths](const auto& self, const Node& node, const std::string& prefix) -> void {
    for (const Node& child : node.children) {
      const std::string path = prefix.empty() ? child.label : prefix + "\\" + child.label;
      if (child.checked) paths.push_back(path);
      self(self, child, path);
    }
  };
  walk(walk, root_, "");
  return paths;
}

bool CKvxComboTree::DoubleClickItem(const std::string& path) {
  if (!IsWindowEnabled() || !SelectString(path)) return false;
  Raise("OnComboTreeDblClk", {path});
  return true;
}

bool CKvxComboTree::ClickCheck(const std::string& path) {
  const Node* node = Find(path);
  if (!IsWindowEnabled() || node == nullptr || !check_boxes_) return false;
  const bool checked = !node->checked;
  SetCheck(path, checked);
  Raise("OnComboTreeCheck", {path, checked ? 1 : 0});
  return true;
}

void CKvxComboTree::RenderHtml(orbe::HtmlWriter& out) const {
  out.Raw("<div class=\"ctree\"");
  if (dropped_.cx > 0 || dropped_.cy > 0) {
    out.Raw(" data-dropped=\"").Raw(std::to_string(dropped_.cx) + "x" + std::to_string(dropped_.cy)).Raw("\"");
  }
  out.Raw("><div class=\"ctree-text\">").Text(selected_).Raw("</div>");
  const bool boxes = check_boxes_;
  const auto walk = [&out, boxes](const auto& self, const Node& node) -> void {
    out.Raw("<ul class=\"tree\">");
    for (const Node& child : node.children) {
      out.Raw("<li>");
      if (boxes) out.Raw("<input type=\"checkbox\" disabled").Raw(child.checked ? " checked" : "").Raw(">");
      out.Text(child.label);
      if (!child.children.empty()) self(self, child);
      out.Raw("</li>");
    }
    out.Raw("</ul>");
  };
  walk(walk, root_);
  out.Raw("</div>");
}
