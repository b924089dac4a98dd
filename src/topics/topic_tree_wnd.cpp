#include "orbe/topics/topic_tree_wnd.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/platform/text.h"
#include "orbe/platform/window_class.h"
#include "orbe/widgets/grid_notify.h"

namespace orbe {
namespace {

// A code's number for the item value: decimal digits that fit 32 bits, else 0.
LPARAM ValueOf(const std::string& code) {
  std::int32_t value = 0;
  const char* const end = code.data() + code.size();
  const auto [stop, failure] = std::from_chars(code.data(), end, value);
  return !code.empty() && code[0] != '-' && failure == std::errc() && stop == end ? value : 0;
}

// The constants of a class by parent code, each list in dictionary order.
std::map<std::string, std::vector<tagMemConstInfo>> ConstantsByParent(OrbeClientSession* session,
                                                                      const char* const_class) {
  std::vector<tagMemConstInfo> consts(kMaxConstsPerClass);
  const long count = std::clamp<long>(CwFileUtil::GetConstList(session, const_class, consts.data()), 0,
                                      kMaxConstsPerClass);
  std::map<std::string, std::vector<tagMemConstInfo>> children;
  for (long i = 0; i < count; ++i) children[FieldText(consts[i].parent_code)].push_back(consts[i]);
  return children;
}

}  // namespace

TopicRow TopicRow::WithKeys(std::string code, std::string name, std::initializer_list<std::string> keys) {
  TopicRow row{std::move(code), std::move(name), {}};
  for (const std::string& key : keys) {
    if (!key.empty()) row.keys.push_back(key);
  }
  return row;
}

TopicTreeWnd::TopicTreeWnd(const char* class_name, std::string title)
    : class_name_(class_name), title_(std::move(title)) {}

TopicTreeWnd::~TopicTreeWnd() { DestroyWindow(); }

// Registered under the class's own name on its first window: the default
// procedure, the arrow cursor, the white stock brush, redrawn on resizing
// and taking double clicks.
bool TopicTreeWnd::RegisterWindowClass() const {
  WNDCLASSA window_class;
  window_class.style = kClassStyle;
  window_class.lpfnWndProc = ::DefWindowProcA;
  window_class.hInstance = AfxGetInstanceHandle();
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  window_class.lpszClassName = class_name_;
  return AfxRegisterClass(&window_class) != FALSE;
}

BOOL TopicTreeWnd::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  if (!RegisterWindowClass()) return FALSE;
  return CWnd::Create(class_name_, nullptr, style, rect, parent, id);
}

int TopicTreeWnd::OnCreate() {
  const RECT empty{};
  if (!switch_.Create(this, empty, kSwitchId, WS_CHILD | WS_VISIBLE)) return -1;
  switch_.InsertSwitchLabel(0, head_title_.empty() ? title_ : head_title_);
  switch_.SetCurLabel(0);
  // Buttons, lines and full-row selection are how the tree always draws.
  if (!tree_.Create(WS_CHILD | WS_VISIBLE, empty, this, kTreeId)) return -1;
  tree_.SetCheckBoxes(true);
  tree_.SetSmartCheckBox(true);
  BuildTree(GetGlobalMainOrbeClientSession());
  CheckNamedItems();
  Layout();
  return 0;
}

void TopicTreeWnd::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { Layout(); }

void TopicTreeWnd::Layout() {
  if (GetSafeHwnd() == nullptr || switch_.GetSafeHwnd() == nullptr) return;
  RECT client;
  GetClientRect(&client);
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  const int head = show_head_ ? std::min(kHeadHeight, height) : 0;
  switch_.ShowWindow(show_head_ ? SW_SHOW : SW_HIDE);
  switch_.MoveWindow(0, 0, width, head);
  tree_.MoveWindow(0, head, width, height - head);
}

void TopicTreeWnd::ShowHead(const std::string& title, bool show) {
  head_title_ = title;
  show_head_ = show;
  if (switch_.GetTabNum() > 0) switch_.ModifySwitchLabel(0, title);
  Layout();
}

void TopicTreeWnd::RegisterCheckBoxNotify(CWnd* target, UINT message) {
  // The handle, not the object: a target destroyed meanwhile drops the message.
  notify_target_ = target != nullptr ? target->GetSafeHwnd() : nullptr;
  notify_message_ = message;
}

HTREEITEM TopicTreeWnd::InsertRoot(const std::string& title) {
  const HTREEITEM root = tree_.InsertItem(title);
  tree_.SetItemData(root, kRootValue);
  return root;
}

HTREEITEM TopicTreeWnd::InsertKeyItem(HTREEITEM parent, const std::string& text, const std::string& key) {
  const HTREEITEM item = tree_.InsertItem(text, parent);
  if (item == 0) return 0;
  tree_.SetItemData(item, ValueOf(key));
  if (!key.empty()) item_keys_.emplace(item, key);
  return item;
}

const std::string* TopicTreeWnd::KeyOf(HTREEITEM item) const {
  const auto found = item_keys_.find(item);
  return found != item_keys_.end() ? &found->second : nullptr;
}

// Pending nodes are taken in the byte order of their codes, each giving its
// children in dictionary order. A code is entered once: a constant file whose
// parent codes form a cycle still ends.
void TopicTreeWnd::InitCLTree(OrbeClientSession* session, const char* const_class, const std::string& title,
                              const std::string& parent_key, bool expand) {
  const HTREEITEM root = InsertRoot(title);
  const std::map<std::string, std::vector<tagMemConstInfo>> children = ConstantsByParent(session, const_class);
  std::map<std::string, HTREEITEM> pending{{parent_key, root}};
  std::set<std::string> entered{parent_key};
  while (!pending.empty()) {
    const auto [key, node] = *pending.begin();
    pending.erase(pending.begin());
    const auto found = children.find(key);
    if (found == children.end()) continue;
    for (const tagMemConstInfo& constant : found->second) {
      const std::string code = FieldText(constant.code);
      const HTREEITEM item = InsertKeyItem(node, FieldText(constant.text), code);
      if (entered.insert(code).second) pending.emplace(code, item);
    }
  }
  if (expand) tree_.Expand(root, TVE_EXPAND);
}

void TopicTreeWnd::CheckNamedItems() {
  if (check_names_.empty()) return;
  const std::set<std::string> names(check_names_.begin(), check_names_.end());
  for (HTREEITEM item = tree_.GetRootItem(); item != 0; item = tree_.GetNextItemInOrder(item)) {
    if (names.count(tree_.GetItemText(item)) != 0) tree_.SetCheck(item, true);
  }
}

void TopicTreeWnd::SetCheckItem(std::vector<std::string> names) {
  check_names_ = std::move(names);
  CheckNamedItems();
}

void TopicTreeWnd::GetCheckInfo() {
  checked_keys_.clear();
  selected_.clear();
  for (const HTREEITEM item : tree_.GetCheckedItems()) {
    if (const std::string* key = KeyOf(item)) checked_keys_.emplace(*key, tree_.GetItemText(item));
  }
  if (checked_keys_.empty()) return;
  for (const TopicRow& row : rows_) {
    if (row.code.empty()) continue;
    const bool chosen = std::any_of(row.keys.begin(), row.keys.end(),
                                    [&](const std::string& key) { return checked_keys_.count(key) != 0; });
    if (chosen) selected_.emplace(row.code, row.name);
  }
}

std::vector<std::string> TopicTreeWnd::GetCheckItem() {
  GetCheckInfo();
  std::vector<std::string> texts;
  for (const auto& [key, text] : checked_keys_) texts.push_back(text);
  return texts;
}

std::string TopicTreeWnd::SelectedCodes() {
  GetCheckInfo();
  std::string codes;
  for (const auto& [code, name] : selected_) codes += (codes.empty() ? "" : ",") + code;
  return codes;
}

std::vector<CodeAndName> TopicTreeWnd::SelectedCodesAndNames() {
  GetCheckInfo();
  return {selected_.begin(), selected_.end()};
}

void TopicTreeWnd::OnClkTree() {
  GetCheckInfo();
  if (notify_target_ != nullptr && notify_message_ != 0) ::SendMessage(notify_target_, notify_message_, 0, 0);
}

LRESULT TopicTreeWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  static const UINT check_clicked = RegisterWindowMessageA(kTreeCheckBoxClickedMessage);
  if (message == check_clicked) {
    const auto* data = reinterpret_cast<const XHTMLTREEMSGDATA*>(wparam);
    if (data != nullptr && data->nCtrlId == kTreeId) OnClkTree();
    return 0;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header != nullptr && header->idFrom == kTreeId) {
      if (header->code == TVN_SELCHANGED) OnClkTree();
      if (header->code == NM_DBLCLK) OnItemDoubleClick(tree_.GetSelectedItem());
    }
    return 0;
  }
  return CWnd::WindowProc(message, wparam, lparam);
}

}  // namespace orbe
