// The indicator tree: the catalogue laid out by each indicator's path, and
// the search by pinyin initials over the same names.
#include "orbe/platform/text.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "screening/indicator_search.h"

namespace {

constexpr const char* kUserIndicators = "我的指标";
constexpr const char* kQuoteIndicators = "即时行情";
constexpr char kPathJoint = '\\';

// The levels of a tree path: cut at "\" and "/", never inside a double-byte
// character (a trail byte may be 0x5C), empty levels left out.
std::vector<std::string> PathLevels(const std::string& path) {
  std::vector<std::string> levels;
  std::string level;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char c = path[i];
    if (orbe::IsGbkLeadByte(static_cast<unsigned char>(c)) && i + 1 < path.size()) {
      level += c;
      level += path[++i];
    } else if (c == '\\' || c == '/') {
      if (!level.empty()) levels.push_back(std::move(level));
      level.clear();
    } else {
      level += c;
    }
  }
  if (!level.empty()) levels.push_back(std::move(level));
  return levels;
}

const std::string* TreePathOf(const IndexBase& index) {
  if (const auto* sys = dynamic_cast<const SysIndex*>(&index)) return &sys->tree;
  if (const auto* tql = dynamic_cast<const SysIndexTQL*>(&index)) return &tql->tree;
  if (const auto* usr = dynamic_cast<const UsrIndex*>(&index)) return &usr->tree;
  return nullptr;
}

}  // namespace

// The node of a path, made with its missing ancestors; TVI_ROOT for no levels.
HTREEITEM CIndexTreeWnd::PathNode(const std::string& path, std::map<std::string, HTREEITEM>& nodes) {
  CXHtmlTree& tree = *trees_[kIndicators];
  HTREEITEM parent = TVI_ROOT;
  std::string prefix;
  for (const std::string& level : PathLevels(path)) {
    prefix += (prefix.empty() ? "" : std::string(1, kPathJoint)) + level;
    auto [node, made] = nodes.try_emplace(prefix, 0);
    if (made) node->second = tree.InsertItem(level, parent);
    parent = node->second;
  }
  return parent;
}

void CIndexTreeWnd::InitZBTree() {
  CXHtmlTree& tree = *trees_[kIndicators];
  tree.DeleteAllItems();
  indicator_items_.clear();
  search_index_->Clear();
  if (mgr_ == nullptr) return;
  const HTREEITEM mine = tree.InsertItem(kUserIndicators);
  HTREEITEM quotes = 0;
  std::map<std::string, HTREEITEM> nodes;
  for (IndexBase* index : mgr_->GetAllIndexes()) {
    HTREEITEM parent = TVI_ROOT;
    const std::string* path = TreePathOf(*index);
    if (index->kind == INDEX_KIND_HQ) {
      if (quotes == 0) quotes = tree.InsertItem(kQuoteIndicators);
      parent = quotes;
    } else if (index->kind == INDEX_KIND_USR && (path == nullptr || path->empty())) {
      parent = mine;
    } else if (path != nullptr) {
      parent = PathNode(*path, nodes);
    }
    const HTREEITEM leaf = tree.InsertItem(index->name, parent);
    tree.SetItemData(leaf, reinterpret_cast<LPARAM>(index));
    indicator_items_.emplace(index->name, leaf);
    search_index_->Add(index->name);
  }
  tree.Expand(mine, TVE_EXPAND);
}

void CIndexTreeWnd::RebuildZBTree() {
  if (trees_[kIndicators]) InitZBTree();
}

HTREEITEM CIndexTreeWnd::FindIndicatorItem(const std::string& name) const {
  const auto found = indicator_items_.find(name);
  return found != indicator_items_.end() ? found->second : 0;
}

void CIndexTreeWnd::ResetSearch() {
  search_->SetText(kSearchPrompt, RGB(128, 128, 128));
  matches_->ResetContent();
  matches_->ShowWindow(SW_HIDE);
}

void CIndexTreeWnd::OnSearchChanged() {
  std::string text = search_->GetText();
  const std::string prompt = kSearchPrompt;
  // Typing into the prompt replaces it.
  if (text.size() > prompt.size() && text.compare(0, prompt.size(), prompt) == 0) {
    text = text.substr(prompt.size());
    search_->SetText(text);
  }
  matches_->ResetContent();
  if (!text.empty() && text != prompt) {
    for (const std::string& name : search_index_->Find(text, kMaxMatches)) matches_->AddString(name);
  }
  matches_->ShowWindow(matches_->GetCount() > 0 ? SW_SHOW : SW_HIDE);
}

void CIndexTreeWnd::OnMatchChosen() {
  const std::string name = matches_->GetSelectedText();
  const HTREEITEM item = FindIndicatorItem(name);
  CXHtmlTree& tree = *trees_[kIndicators];
  if (tree.IsItem(item)) {
    for (HTREEITEM up = tree.GetParentItem(item); up != TVI_ROOT; up = tree.GetParentItem(up)) {
      tree.Expand(up, TVE_EXPAND);
    }
    tree.SelectItem(item);
    if (tree.GetChildItem(item) == 0 && conditions_ != nullptr) {
      if (auto* index = reinterpret_cast<IndexBase*>(tree.GetItemData(item))) conditions_->AddIndex(index);
    }
  }
  ResetSearch();
}
