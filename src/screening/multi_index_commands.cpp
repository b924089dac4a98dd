// The commands the screening window's panes post to it.
#include <algorithm>

#include "orbe/platform/message_box.h"
#include "orbe/screening/board_sel_wnd.h"
#include "orbe/screening/data_display_wnd.h"
#include "orbe/screening/index_condition_wnd.h"
#include "orbe/screening/index_tree_wnd.h"
#include "orbe/screening/multi_index_wnd.h"
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/screening/screening_ids.h"

namespace {

void Tell(HWND owner, const char* text) { MessageBoxA(owner, text, "提示", MB_OK | MB_ICONINFORMATION); }

}  // namespace

void CMultiIndexWnd::OnGetData() {
  if (boards_ == nullptr || conditions_ == nullptr) return;
  const std::vector<int> boards = boards_->GetBoards();
  if (boards.empty()) {
    Tell(GetSafeHwnd(), "待选板块为空");
    return;
  }
  const std::string codes = boards_->GenSqlOption(boards);
  if (codes.empty()) {
    Tell(GetSafeHwnd(), "此板块没有对应的股票");
    return;
  }
  IndexScheme scheme;
  if (conditions_->GenScheme(scheme) == 0) return;
  if (scheme.HasCondition() && scheme.expression.empty()) {
    // The default expression joins every condition.
    conditions_->SendMessage(WM_COMMAND, orbe::kCmdIntersection, 0);
    scheme.expression = conditions_->GetEditExpressText();
  }
  if (display_ == nullptr || m_bFetching) return;
  if (display_->Fetch(scheme, codes)) {
    m_bFetching = true;
    conditions_->SetProgress(0, false);
    SetTimer(kProgressTimer, kProgressMs, nullptr);
  }
}

void CMultiIndexWnd::OnTimer(UINT_PTR id) {
  if (id == kProgressTimer && m_bFetching && conditions_ != nullptr && display_ != nullptr) {
    conditions_->SetProgress(display_->GetFetchProgress(), false);
  }
}

void CMultiIndexWnd::OnAsynFinish() {
  m_bFetching = false;
  KillTimer(kProgressTimer);
  if (conditions_ != nullptr) conditions_->SetProgress(100, true);
}

void CMultiIndexWnd::OnSaveScheme() {
  if (conditions_ == nullptr || tree_ == nullptr) return;
  IndexScheme scheme;
  if (conditions_->GenScheme(scheme) == 0) {
    Tell(GetSafeHwnd(), "没有数据需要保存");
    return;
  }
  CSchemeNameDlg dialog(this);
  if (dialog.DoModal() != IDOK) return;
  scheme.name = dialog.GetName();
  if (scheme.name.empty()) {
    Tell(GetSafeHwnd(), "请填写方案名称");
    return;
  }
  if (user_ == nullptr) return;
  std::vector<IndexScheme> schemes = user_->GetSchemes();
  // Byte for byte: names that differ only in case are different names.
  if (std::any_of(schemes.begin(), schemes.end(), [&](const IndexScheme& s) { return s.name == scheme.name; })) {
    Tell(GetSafeHwnd(), "该模式板名称已存在，请重新命名!");
    return;
  }
  schemes.push_back(scheme);
  user_->SetSchemes(schemes);
  if (!user_->SaveSchemes()) MessageBoxA(GetSafeHwnd(), "方案文件不能写入", "错误", MB_OK | MB_ICONERROR);
  tree_->RebuildZDYTree();
}

void CMultiIndexWnd::OnExport() {
  if (display_ == nullptr) return;
  if (display_->GetGridRowCount() < 2) {
    Tell(GetSafeHwnd(), "没有数据需要保存");
    return;
  }
  display_->Export();
}

void CMultiIndexWnd::OnDeleScheme() {
  if (tree_ != nullptr) tree_->DeleZDYScheme();
}

void CMultiIndexWnd::OnNewScheme() {
  if (m_bFetching) return;
  if (conditions_ != nullptr) conditions_->ClearAllIndex();
  if (display_ != nullptr) display_->Clear();
}

void CMultiIndexWnd::OnSaveBlock() {
  if (display_ != nullptr) display_->SaveAsBoard();
}

void CMultiIndexWnd::OnBtnStatCal() {
  if (display_ != nullptr) display_->ShowStatistics();
}
