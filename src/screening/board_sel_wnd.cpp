// The board-selection pane: the tree of boards and industries, and the
// company codes of what is checked.
#include "orbe/screening/board_sel_wnd.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "dictionary/host_board_reader.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/dictionary/dictionary_records.h"
#include "orbe/env.h"
#include "orbe/platform/text.h"
#include "orbe/screening/screening_ids.h"
#include "screening/board_codes.h"

namespace {

constexpr const char* kQuoteRoot = "股票市场类";
constexpr const char* kConceptRoot = "概念板块";
// Top-level industries name the parent "0"; a constant file may leave it empty instead.
constexpr const char* kIndustryParent = "0";
constexpr const char* kNoParent = "";

// The quote boards a screening offers; the host's other boards are indices.
bool IsScreenedQuoteBoard(const std::string& name) {
  static const char* const kBoards[] = {"上证Ａ股", "深证Ａ股", "中小企业", "创业板", "自选股", "条件股"};
  return std::any_of(std::begin(kBoards), std::end(kBoards), [&](const char* board) { return name == board; });
}
bool IsAnyBoard(const std::string&) { return true; }
bool IsConcept(const std::string& name) { return !orbe::IsNonConceptBoard(name); }

std::string IndustryEntry(const std::string& classification, const std::string& code) {
  std::string entry = classification;
  entry.resize(CBoardSelWnd::kClassificationBytes, '\0');
  return entry + code;
}

}  // namespace

CBoardSelWnd::CBoardSelWnd() = default;

CBoardSelWnd::~CBoardSelWnd() { DestroyWindow(); }

BOOL CBoardSelWnd::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  return CWnd::Create(parent, rect, id, style);
}

int CBoardSelWnd::OnCreate() {
  caption_ = std::make_unique<CWnd>();
  caption_->Create(this, RECT{}, orbe::kCtrlBoardCaption, show_caption_ ? WS_CHILD | WS_VISIBLE : WS_CHILD);
  CString caption;
  GetWindowText(caption);
  caption_->SetWindowText(caption);
  tree_ = std::make_unique<CXHtmlTree>();
  tree_->SetCheckBoxes(true);
  tree_->SetSmartCheckBox(true);
  tree_->Create(WS_CHILD | WS_VISIBLE, RECT{}, this, orbe::kCtrlBoardTree);
  RebuildTree();
  return 0;
}

void CBoardSelWnd::OnSize(UINT, int width, int height) {
  if (tree_ == nullptr) return;
  const int top = show_caption_ ? kCaptionHeight : 0;
  caption_->MoveWindow(RECT{0, 0, width, top});
  tree_->MoveWindow(RECT{0, top, width, std::max(top, height)});
}

void CBoardSelWnd::ShowHead(bool show, const std::string& caption) {
  show_caption_ = show;
  SetWindowText(caption);
  if (caption_ == nullptr) return;
  caption_->SetWindowText(caption);
  caption_->ShowWindow(show ? SW_SHOW : SW_HIDE);
  RECT client;
  GetClientRect(&client);
  OnSize(SIZE_RESTORED, client.right, client.bottom);
}

void CBoardSelWnd::SetCheckItems(const std::vector<std::string>& names) {
  check_names_ = std::set<std::string>(names.begin(), names.end());
}

HTREEITEM CBoardSelWnd::AddItem(const std::string& text, HTREEITEM parent, LPARAM value) {
  const HTREEITEM item = tree_->InsertItem(text, parent);
  tree_->SetItemData(item, value);
  return item;
}

void CBoardSelWnd::AddBoardSet(HTREEITEM root, int request, std::size_t codeLength, bool (*keep)(const std::string&)) {
  const std::string answer = orbe::FetchHostAnswer(GetDataFunc(), request, 0);
  for (orbe::HostBoard& board : orbe::ParseBoardSet(answer, codeLength)) {
    if (!keep(board.name)) continue;
    quote_boards_.push_back(std::move(board.codes));
    AddItem(board.name, root, -2 - static_cast<LPARAM>(quote_boards_.size() - 1));
  }
}

// Every constant of the classification below parent "0", each under its parent.
void CBoardSelWnd::AddIndustryBranch(const char* caption, const char* classification) {
  std::vector<tagMemConstInfo> consts(orbe::kMaxConstsPerClass);
  const long count = CwFileUtil::GetConstList(GetGlobalMainOrbeClientSession(), classification, consts.data());
  std::multimap<std::string, const tagMemConstInfo*> children;
  for (long i = 0; i < count; ++i) {
    const tagMemConstInfo& info = consts[static_cast<std::size_t>(i)];
    children.emplace(orbe::FieldText(info.parent_code), &info);
  }
  const HTREEITEM branch = AddItem(caption, TVI_ROOT, kRootValue);
  // Depth first from the top codes; a code is entered once, so a cycle in
  // the constant file ends.
  std::set<std::string> entered;
  std::vector<std::pair<std::string, HTREEITEM>> pending = {{kNoParent, branch}, {kIndustryParent, branch}};
  while (!pending.empty()) {
    auto [parent, item] = pending.back();
    pending.pop_back();
    std::vector<std::pair<std::string, HTREEITEM>> below;
    const auto [first, last] = children.equal_range(parent);
    for (auto it = first; it != last; ++it) {
      const std::string code = orbe::FieldText(it->second->code);
      if (!entered.insert(code).second) continue;
      industries_.push_back(IndustryEntry(classification, code));
      below.emplace_back(code,
                         AddItem(orbe::FieldText(it->second->text), item, static_cast<LPARAM>(industries_.size() - 1)));
    }
    pending.insert(pending.end(), below.rbegin(), below.rend());
  }
}

void CBoardSelWnd::RebuildTree() {
  if (tree_ == nullptr) return;
  tree_->DeleteAllItems();
  quote_boards_.clear();
  industries_.clear();
  const HTREEITEM quotes = AddItem(kQuoteRoot, TVI_ROOT, kRootValue);
  AddBoardSet(quotes, orbe::kHostQuoteBoards, 0, IsScreenedQuoteBoard);
  AddBoardSet(quotes, orbe::kHostCustomBoards, orbe::kBoardStockCodeLength, IsAnyBoard);
  const HTREEITEM concepts = AddItem(kConceptRoot, TVI_ROOT, kRootValue);
  AddBoardSet(concepts, orbe::kHostConceptBoards, orbe::kBoardStockCodeLength, IsConcept);
  AddIndustryBranch("证监会行业", "997");
  AddIndustryBranch("申万行业", "966");
  // Checked once the tree stands: checking an item checks the subtree it has.
  for (HTREEITEM item = tree_->GetRootItem(); item != 0; item = tree_->GetNextItemInOrder(item)) {
    if (tree_->GetItemData(item) != kRootValue && check_names_.count(tree_->GetItemText(item)) != 0)
      tree_->SetCheck(item, true);
  }
  tree_->Expand(quotes, TVE_EXPAND);
}

std::vector<int> CBoardSelWnd::GetBoards() const {
  std::vector<int> boards;
  if (tree_ == nullptr) return boards;
  for (const HTREEITEM item : tree_->GetCheckedItems()) boards.push_back(static_cast<int>(tree_->GetItemData(item)));
  return boards;
}

std::string CBoardSelWnd::GenSqlOption(const std::vector<int>& boards) const {
  OrbeClientSession* session = GetGlobalMainOrbeClientSession();
  std::set<std::string> companies;
  for (const int board : boards) {
    if (board >= 0 && board < static_cast<int>(industries_.size())) {
      const std::string& entry = industries_[static_cast<std::size_t>(board)];
      const int classification = std::atoi(orbe::FieldText(entry.data(), kClassificationBytes).c_str());
      for (std::string& company :
           CwFileUtil::GetHyCmpCode(session, classification, entry.substr(kClassificationBytes).c_str())) {
        if (!company.empty()) companies.insert(std::move(company));
      }
    } else if (const int j = -2 - board; board <= -2 && j < static_cast<int>(quote_boards_.size())) {
      orbe::AddCompaniesOfSecurities(session, quote_boards_[static_cast<std::size_t>(j)], companies);
    }
  }
  return orbe::JoinCodeSet(companies);
}

std::vector<std::string> CBoardSelWnd::GetAllCheckNodeName() const {
  std::vector<std::string> names;
  if (tree_ == nullptr) return names;
  for (const HTREEITEM item : tree_->GetCheckedItems()) {
    std::string text = tree_->GetItemText(item);
    if (!text.empty()) names.push_back(std::move(text));
  }
  return names;
}

std::vector<std::string> CBoardSelWnd::GetAllCheckedKey() const {
  std::vector<std::string> keys;
  if (tree_ == nullptr) return keys;
  for (const HTREEITEM item : tree_->GetCheckedItems()) {
    const LPARAM value = tree_->GetItemData(item);
    if (value < 0 || value >= static_cast<LPARAM>(industries_.size())) continue;
    const std::string& entry = industries_[static_cast<std::size_t>(value)];
    keys.push_back(orbe::FieldText(entry.data(), kClassificationBytes) + entry.substr(kClassificationBytes));
  }
  return keys;
}

void CBoardSelWnd::RegisterCheckBoxNotify(HWND target, UINT message) {
  notify_target_ = target;
  notify_message_ = message;
}

LRESULT CBoardSelWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == RegisterWindowMessageA(kTreeCheckBoxClickedMessage)) {
    if (notify_target_ != nullptr) ::SendMessage(notify_target_, notify_message_, wparam, lparam);
    return 0;
  }
  return CWnd::WindowProc(message, wparam, lparam);
}
