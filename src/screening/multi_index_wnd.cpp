// The screening window: creation, layout, the exports and what a host asks.
#include "orbe/screening/multi_index_wnd.h"

#include <cstring>
#include <filesystem>

#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/screening/board_sel_wnd.h"
#include "orbe/screening/data_display_wnd.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/widgets/splitter_wnd.h"
#include "screening/window_classes.h"

namespace {

constexpr int kNarrowWidth = 251;
constexpr int kTreeWidth = 250;
constexpr DWORD kCheckItemsBytes = 8192;
constexpr const char* kAutoSection = "自动提取";

std::unique_ptr<IndexSchemeMgr> LoadStore(const char* path) {
  if (path == nullptr) return nullptr;
  auto store = std::make_unique<IndexSchemeMgr>();
  store->LoadSchemes(path);
  return store;
}

}  // namespace

CMultiIndexWnd::CMultiIndexWnd(IIndexMgr* mgr, const char* sysSchemePath, const char* userSchemePath,
                               bool showBoardPane, bool resultOnly)
    : mgr_(mgr),
      system_(LoadStore(sysSchemePath)),
      user_(LoadStore(userSchemePath)),
      m_bShowBoardPane(showBoardPane),
      m_bResultOnly(resultOnly),
      m_strSelFile(userSchemePath != nullptr ? userSchemePath : "") {}

CMultiIndexWnd::~CMultiIndexWnd() { DestroyWindow(); }

int CMultiIndexWnd::OnCreate() {
  main_splitter_ = std::make_unique<CStaticSplitterWnd>(CStaticSplitterWnd::kVertical);
  left_splitter_ = std::make_unique<CStaticSplitterWnd>(CStaticSplitterWnd::kHorizontal);
  right_splitter_ = std::make_unique<CStaticSplitterWnd>(CStaticSplitterWnd::kHorizontal);
  boards_ = std::make_unique<CBoardSelWnd>();
  conditions_ = std::make_unique<CIndexConditionWnd>(mgr_);
  display_ = std::make_unique<CDataDisplayWnd>(mgr_, GetSafeHwnd(), orbe::kMsgScreeningFinished);
  tree_ = std::make_unique<CIndexTreeWnd>(mgr_, system_.get(), user_.get(), conditions_.get());
  if (mgr_ != nullptr) previous_notify_ = mgr_->SetNotify(this);

  const RECT none{};
  const DWORD pane = WS_CHILD | WS_VISIBLE;
  main_splitter_->Create(this, none, orbe::kCtrlMainSplitter, pane);
  left_splitter_->Create(main_splitter_.get(), none, orbe::kCtrlLeftSplitter, pane);
  tree_->Create(left_splitter_.get(), none, pane | WS_TABSTOP, orbe::kCtrlIndexTree);
  boards_->ShowHead(true, "待选范围");
  const std::string userPath = m_strSelFile;
  if (!userPath.empty()) m_strSelFile = SelectionFileFor(userPath);
  boards_->SetCheckItems(userPath.empty() ? ReadSelectionFile("") : ReadSelectionFile(m_strSelFile));
  boards_->Create(left_splitter_.get(), none, pane | WS_BORDER | WS_TABSTOP, orbe::kCtrlBoardPane);
  left_splitter_->SetPane(0, tree_.get());
  left_splitter_->SetPane(1, boards_.get());
  if (!m_bShowBoardPane) left_splitter_->SetSinglePaneMode(0);

  right_splitter_->Create(main_splitter_.get(), none, orbe::kCtrlRightSplitter, pane);
  conditions_->Create(right_splitter_.get(), none, pane, orbe::kCtrlConditionPane);
  conditions_->SetMsgHwnd(GetSafeHwnd());
  conditions_->SetProgress(0, true);
  display_->Create(right_splitter_.get(), none, orbe::kCtrlResultPane, pane);
  right_splitter_->SetPane(0, conditions_.get());
  right_splitter_->SetPane(1, display_.get());
  if (m_bResultOnly) right_splitter_->SetSinglePaneMode(1);

  main_splitter_->SetPane(0, left_splitter_.get());
  main_splitter_->SetPane(1, right_splitter_.get());
  if (m_bResultOnly) main_splitter_->SetSinglePaneMode(1);
  return 0;
}

void CMultiIndexWnd::OnDestroy() {
  WriteSelectionFile();
  KillTimer(kProgressTimer);
  // Hand the catalogue's notifications back, unless someone took them over since.
  if (mgr_ != nullptr) {
    INotifyIndexMgr* current = mgr_->SetNotify(previous_notify_);
    if (current != this) mgr_->SetNotify(current);
  }
  display_.reset();
  conditions_.reset();
  boards_.reset();
  tree_.reset();
  right_splitter_.reset();
  left_splitter_.reset();
  main_splitter_.reset();
}

void CMultiIndexWnd::OnSize(UINT, int width, int height) {
  if (main_splitter_ == nullptr) return;
  main_splitter_->MoveWindow(RECT{0, 0, width, height});
  main_splitter_->SetSplitPos(width < kNarrowWidth ? width / 5 : kTreeWidth);
  left_splitter_->SetSplitPos((height / 3) * 2 - 50);
  right_splitter_->SetSplitPos(height / 2 - 80);
}

void CMultiIndexWnd::ReSize(const RECT* rect, int repaint) {
  if (rect != nullptr) MoveWindow(*rect, repaint);
}

LRESULT CMultiIndexWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case orbe::kCmdRunScreening:
      OnGetData();
      return -1;
    case orbe::kCmdSaveScheme:
      OnSaveScheme();
      return -1;
    case orbe::kCmdExport:
      OnExport();
      return -1;
    case orbe::kCmdDeleteScheme:
      OnDeleScheme();
      return -1;
    case orbe::kCmdNewScheme:
      OnNewScheme();
      return -1;
    case orbe::kCmdSaveBoard:
      OnSaveBlock();
      return -1;
    case orbe::kCmdStatistics:
      OnBtnStatCal();
      return -1;
    case orbe::kMsgScreeningFinished:
      OnAsynFinish();
      return -1;
    default:
      return CWnd::WindowProc(message, wparam, lparam);
  }
}

std::string CMultiIndexWnd::SelectionFileFor(const std::string& userSchemePath) {
  const std::size_t cut = userSchemePath.find_last_of("\\/");
  if (cut == std::string::npos) return kSelectionFile;
  return userSchemePath.substr(0, cut + 1) + kSelectionFile;
}

std::vector<std::string> CMultiIndexWnd::ReadSelectionFile(const std::string& path) {
  std::vector<std::string> names = {"上证Ａ股", "深证Ａ股"};
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) < 1) {
    return names;
  }
  names.clear();
  const int count = static_cast<int>(GetPrivateProfileIntA("MAIN", "个数", 0, path.c_str()));
  for (int i = 1; i <= count; ++i) {
    char value[256] = {};
    GetPrivateProfileStringA("MAIN", orbe::Format("分类%d", i).c_str(), "", value, sizeof value, path.c_str());
    names.emplace_back(value);
  }
  return names;
}

void CMultiIndexWnd::WriteSelectionFile() const {
  if (boards_ == nullptr || m_strSelFile.empty()) return;
  const std::vector<std::string> names = boards_->GetAllCheckNodeName();
  std::string bytes = "[MAIN]\r\n" + orbe::Format("个数=%d", static_cast<int>(names.size())) + "\r\n";
  for (std::size_t i = 0; i < names.size(); ++i) {
    bytes += orbe::Format("分类%d=", static_cast<int>(i + 1)) + names[i] + "\r\n";
  }
  orbe::WriteFileAtomically(m_strSelFile, bytes);
}

void CMultiIndexWnd::SingleListFetchData(const CString& iniPath) {
  std::string items(kCheckItemsBytes, '\0');
  GetPrivateProfileStringA(kAutoSection, "CHECKITEMS", "", items.data(), kCheckItemsBytes, iniPath.c_str());
  items.resize(strnlen(items.data(), items.size()));
  const int index = static_cast<int>(GetPrivateProfileIntA(kAutoSection, "SCHEMEINDEX", 0, iniPath.c_str()));
  SingleListFetchData(CwFileUtil::SplitStr(items, ","), index);
}

void CMultiIndexWnd::SingleListFetchData(const std::vector<std::string>& checkItems, int schemeIndex) {
  if (m_bFetching || user_ == nullptr || conditions_ == nullptr || boards_ == nullptr) return;
  const std::vector<IndexScheme> schemes = user_->GetSchemes();
  if (schemeIndex < 0 || schemeIndex >= static_cast<int>(schemes.size())) return;
  conditions_->ChangeScheme(schemes[static_cast<std::size_t>(schemeIndex)]);
  boards_->SetCheckItems(checkItems);
  boards_->RebuildTree();
  PostMessage(orbe::kCmdRunScreening, 0, 0);
}

void CMultiIndexWnd::ReloadIni(CString hqFile, CString sysFile, CString usrFile, CString sysSchemes,
                               CString usrSchemes) {
  if (m_bFetching) return;
  if (mgr_ != nullptr) mgr_->ReloadIndexes(hqFile, sysFile, usrFile);
  if (system_ != nullptr) system_->ReloadSchemes(sysSchemes);
  if (user_ != nullptr) user_->ReloadSchemes(usrSchemes);
  if (tree_ != nullptr) {
    tree_->RebuildZBTree();
    tree_->RebuildKVXTree();
    tree_->RebuildZDYTree();
  }
  if (conditions_ != nullptr) conditions_->ClearAllIndex();
  if (display_ != nullptr) display_->Clear();
}

std::vector<std::string> CMultiIndexWnd::GetBoardSelWndCheckedKey() {
  return boards_ != nullptr ? boards_->GetAllCheckedKey() : std::vector<std::string>{};
}

void CMultiIndexWnd::Notify(int code, const std::string&, const std::string&) {
  if (code == orbe::kNotifyRebuildBoards && boards_ != nullptr) boards_->RebuildTree();
}

void CMultiIndexWnd::ReloadedIndexNotify() {
  if (tree_ != nullptr) tree_->RebuildZBTree();
  if (conditions_ != nullptr) conditions_->ClearAllIndex();
  Invalidate();
}

void CMultiIndexWnd::LoadProcessNotify(float, float) {}

IMultiIndexWnd* Creat3X1TWnd(IIndexMgr* mgr, const char* sysSchemePath, const char* userSchemePath, bool showBoardPane,
                             bool resultOnly, CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  auto wnd = std::make_unique<CMultiIndexWnd>(mgr, sysSchemePath, userSchemePath, showBoardPane, resultOnly);
  if (!orbe::RegisterWindowClassOnce(orbe::kScreeningWindowClass) ||
      !wnd->Create(orbe::kScreeningWindowClass, "", style | WS_CHILD, rect, parent, id)) {
    return nullptr;
  }
  return wnd.release();
}

void Delete3X1TWnd(IMultiIndexWnd* wnd) {
  auto* window = dynamic_cast<CMultiIndexWnd*>(wnd);
  if (window == nullptr) return;
  window->DestroyWindow();
  delete window;
}
