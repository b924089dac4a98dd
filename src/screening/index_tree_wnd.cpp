// The indicator tree window: tabs, the three trees and what a choice does.
#include "orbe/screening/index_tree_wnd.h"

#include <algorithm>

#include "orbe/platform/menu.h"
#include "orbe/platform/message_box.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/switch_ex.h"
#include "screening/control_commands.h"
#include "screening/indicator_search.h"
#include "screening/window_classes.h"

namespace {

constexpr int kTabHeight = 24;
constexpr int kSearchHeight = 22;
constexpr int kMatchesHeight = 160;
constexpr const char* kUserRoot = "我的方案";
constexpr const char* kSystemRootDefault = "系统方案";
constexpr UINT kTreeIds[] = {orbe::kCtrlIndicatorTree, orbe::kCtrlSystemTree, orbe::kCtrlUserTree};
constexpr LPARAM kSchemeRoot = -1;

}  // namespace

CIndexTreeWnd* CIndexTreeWnd::CreatIndexTreeWnd(IIndexMgr* mgr, CIndexConditionWnd* conditions, CWnd* parent,
                                                const RECT& rect, DWORD style, UINT id) {
  auto wnd = std::make_unique<CIndexTreeWnd>(mgr, nullptr, nullptr, conditions);
  if (!wnd->Create(parent, rect, style, id)) return nullptr;
  return wnd.release();
}

void CIndexTreeWnd::DeleteIndexTreeWnd(CIndexTreeWnd* wnd) { delete wnd; }

CIndexTreeWnd::CIndexTreeWnd(IIndexMgr* mgr, IndexSchemeMgr* system, IndexSchemeMgr* user,
                             CIndexConditionWnd* conditions)
    : mgr_(mgr),
      system_(system),
      user_(user),
      conditions_(conditions),
      search_index_(std::make_unique<orbe::InitialsIndex>()) {}

CIndexTreeWnd::~CIndexTreeWnd() { DestroyWindow(); }

BOOL CIndexTreeWnd::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  if (!orbe::RegisterWindowClassOnce(orbe::kTreeWindowClass)) return FALSE;
  return CWnd::Create(orbe::kTreeWindowClass, "", style, rect, parent, id);
}

int CIndexTreeWnd::OnCreate() {
  events_ = std::make_unique<orbe::CommandEvents>(*this);
  tabs_ = std::make_unique<CSwitchEx>();
  tabs_->Create(this, RECT{}, orbe::kCtrlTabs, WS_CHILD | WS_VISIBLE);
  tabs_->InsertSwitchLabel(-1, "待选指标");
  tab_trees_.push_back(kIndicators);
  if (system_ != nullptr) {
    tabs_->InsertSwitchLabel(-1, SystemRootText());
    tab_trees_.push_back(kSystemSchemes);
  }
  tabs_->InsertSwitchLabel(-1, kUserRoot);
  tab_trees_.push_back(kUserSchemes);
  tabs_->SetCurLabel(0);

  search_ = std::make_unique<CColorEdit>();
  search_->Create(this, RECT{}, orbe::kCtrlSearchEdit, WS_CHILD | WS_VISIBLE);
  search_->SetSingleLine(true);
  search_->EnableMessageNotify(this, true);
  orbe::AddControl(*this, matches_, *events_, orbe::kCtrlSearchMatches, RECT{});
  matches_->ShowWindow(SW_HIDE);
  ResetSearch();

  for (int kind = 0; kind < 3; ++kind) {
    trees_[kind] = std::make_unique<CXHtmlTree>();
    trees_[kind]->SetCheckBoxes(false);
    trees_[kind]->Create(WS_CHILD, RECT{}, this, kTreeIds[kind]);
  }
  RebuildZBTree();
  RebuildKVXTree();
  RebuildZDYTree();
  ShowTree(kIndicators);
  return 0;
}

void CIndexTreeWnd::OnSize(UINT, int width, int height) {
  if (tabs_ == nullptr) return;
  tabs_->MoveWindow(RECT{0, 0, width, kTabHeight});
  search_->MoveWindow(RECT{0, kTabHeight, width, kTabHeight + kSearchHeight});
  const int top = kTabHeight + kSearchHeight;
  matches_->MoveWindow(RECT{0, top, width, std::min(height, top + kMatchesHeight)});
  for (const auto& tree : trees_) tree->MoveWindow(RECT{0, top, width, std::max(top, height)});
}

CXHtmlTree* CIndexTreeWnd::GetTree(TreeKind kind) const {
  return kind >= kIndicators && kind <= kUserSchemes ? trees_[kind].get() : nullptr;
}

std::string CIndexTreeWnd::SystemRootText() const {
  return system_ == nullptr || system_->templatename().empty() ? kSystemRootDefault : system_->templatename();
}

void CIndexTreeWnd::ShowTree(TreeKind kind) {
  shown_ = kind;
  for (int i = 0; i < 3; ++i) trees_[i]->ShowWindow(i == kind ? SW_SHOW : SW_HIDE);
}

LRESULT CIndexTreeWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) {
    const UINT id = LOWORD(wparam);
    if (id == orbe::kCtrlSearchEdit && HIWORD(wparam) == EN_CHANGE) OnSearchChanged();
    if (id == orbe::kCtrlSearchMatches && HIWORD(wparam) == orbe::kListSelChanged) OnMatchChosen();
    return 0;
  }
  if (message == WM_NOTIFY && lparam != 0) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->idFrom == orbe::kCtrlTabs && header->code == SWN_SELCHANGED) {
      OnTabChanged(reinterpret_cast<const NM_SWITCH*>(lparam)->iNewLabel);
    }
    for (int kind = 0; kind < 3; ++kind) {
      if (header->idFrom != kTreeIds[kind]) continue;
      if (header->code == NM_DBLCLK) OnTreeDoubleClick(static_cast<TreeKind>(kind));
      if (header->code == NM_RCLICK) OnTreeRightClick(static_cast<TreeKind>(kind));
    }
    return 0;
  }
  return CWnd::WindowProc(message, wparam, lparam);
}

void CIndexTreeWnd::OnTabChanged(int label) {
  if (label >= 0 && label < static_cast<int>(tab_trees_.size())) ShowTree(tab_trees_[static_cast<std::size_t>(label)]);
}

void CIndexTreeWnd::OnTreeDoubleClick(TreeKind kind) {
  CXHtmlTree& tree = *trees_[kind];
  const HTREEITEM item = tree.GetSelectedItem();
  if (!tree.IsItem(item) || tree.GetChildItem(item) != 0 || conditions_ == nullptr) return;
  if (kind == kIndicators) {
    if (auto* index = reinterpret_cast<IndexBase*>(tree.GetItemData(item))) conditions_->AddIndex(index);
    return;
  }
  const IndexSchemeMgr* store = kind == kSystemSchemes ? system_ : user_;
  const LPARAM position = tree.GetItemData(item);
  if (store == nullptr || position == kSchemeRoot) return;
  const std::vector<IndexScheme> schemes = store->GetSchemes();
  if (position >= 0 && position < static_cast<LPARAM>(schemes.size())) {
    conditions_->ChangeScheme(schemes[static_cast<std::size_t>(position)]);
  }
}

void CIndexTreeWnd::InitSchemeTree(CXHtmlTree& tree, const IndexSchemeMgr* store, const std::string& root) {
  tree.DeleteAllItems();
  const HTREEITEM top = tree.InsertItem(root);
  tree.SetItemData(top, kSchemeRoot);
  if (store != nullptr) {
    const std::vector<IndexScheme> schemes = store->GetSchemes();
    for (std::size_t i = 0; i < schemes.size(); ++i) {
      const HTREEITEM leaf = tree.InsertItem(schemes[i].name, top);
      tree.SetItemData(leaf, static_cast<LPARAM>(i));
    }
  }
  tree.Expand(top, TVE_EXPAND);
}

void CIndexTreeWnd::RebuildKVXTree() {
  if (trees_[kSystemSchemes]) InitSchemeTree(*trees_[kSystemSchemes], system_, SystemRootText());
}

void CIndexTreeWnd::RebuildZDYTree() {
  if (trees_[kUserSchemes]) InitSchemeTree(*trees_[kUserSchemes], user_, kUserRoot);
}

void CIndexTreeWnd::DeleZDYScheme() {
  if (shown_ != kUserSchemes) {
    MessageBoxA(GetSafeHwnd(), "只允许删除自定义方案", "提示", MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (MessageBoxA(GetSafeHwnd(), "确认要删除该方案吗?", "提示", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  CXHtmlTree& tree = *trees_[kUserSchemes];
  const HTREEITEM item = tree.GetSelectedItem();
  if (!tree.IsItem(item)) {
    MessageBoxA(GetSafeHwnd(), "请先选择需要删除的方案", "提示", MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (user_ == nullptr) return;
  std::vector<IndexScheme> schemes = user_->GetSchemes();
  const std::string name = tree.GetItemText(item);
  const auto found = std::find_if(schemes.begin(), schemes.end(), [&](const IndexScheme& s) { return s.name == name; });
  if (found != schemes.end()) schemes.erase(found);
  user_->SetSchemes(schemes);
  user_->SaveSchemes();
  RebuildZDYTree();
}

void CIndexTreeWnd::OnTreeRightClick(TreeKind kind) {
  if (kind != kIndicators) return;
  CXHtmlTree& tree = *trees_[kIndicators];
  const HTREEITEM item = tree.GetSelectedItem();
  auto* index = tree.IsItem(item) ? reinterpret_cast<IndexBase*>(tree.GetItemData(item)) : nullptr;
  // Only system and query-language indicators carry a description to show.
  if (index == nullptr || (index->kind != INDEX_KIND_SYS && index->kind != INDEX_KIND_TQL)) return;
  described_ = index;
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, orbe::kCmdIndexInfo, "指标说明");
  RECT place;
  tree.GetWindowRect(&place);
  if (static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, place.left, place.top, this)) ==
      orbe::kCmdIndexInfo) {
    ShowDescription(described_);
  }
}

void CIndexTreeWnd::ShowDescription(IndexBase* index) {
  if (index == nullptr) return;
  CDlgIndexInfo dialog(this, *index);
  dialog.DoModal();
}
