// The condition window: its controls, their layout and its commands.
#include "orbe/screening/index_condition_wnd.h"

#include <algorithm>
#include <ctime>

#include "env/module_state.h"
#include "orbe/env.h"
#include "orbe/platform/menu.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/text.h"
#include "orbe/screening/scheme_name_dlg.h"
#include "orbe/screening/screening_ids.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/grid_ctrl.h"
#include "orbe/widgets/text_progress.h"
#include "screening/control_commands.h"
#include "screening/window_classes.h"

namespace {

struct ColumnSpec {
  const char* header;
  int width;
};
constexpr ColumnSpec kColumnSpecs[CIndexConditionWnd::kColumns] = {
    {"序号", 45}, {"指标", 350}, {"参数", 400}, {"运算符", 80}, {"数值", 80}, {"单位", 80},
};

struct ButtonSpec {
  UINT id;
  const char* text;
};
constexpr ButtonSpec kButtonSpecs[] = {
    {orbe::kCmdRunScreening, "执行选股"},    {orbe::kCmdSaveScheme, "保存方案"}, {orbe::kCmdDeleteScheme, "删除方案"},
    {orbe::kCmdExport, "数据导出"},          {orbe::kCmdNewScheme, "新建条件"},  {orbe::kCmdEditCondition, "编辑条件"},
    {orbe::kCmdDeleteCondition, "删除条件"}, {orbe::kCmdSaveBoard, "保存板块"},  {orbe::kCmdStatistics, "数据统计"},
    {orbe::kCmdIndexManager, "指标管理"},    {orbe::kCmdHelp, "帮助"},
};

// Commands passed on to the receiver as they are.
constexpr UINT kPostedCommands[] = {orbe::kCmdRunScreening, orbe::kCmdSaveScheme, orbe::kCmdDeleteScheme,
                                    orbe::kCmdExport,       orbe::kCmdSaveBoard,  orbe::kCmdStatistics};

constexpr int kButtonWidth = 72;
constexpr int kRowHeight = 24;
constexpr int kGap = 2;
constexpr int kRadioWidth = 56;
constexpr int kPeriodWidth = 100;
constexpr int kProgressWidth = 120;

// The indicator manager's window of the indicator-admin component.
using ShowIndexMgrProc = void (*)(CWnd* parent);

RECT Rect(int x, int y, int width, int height) { return RECT{x, y, x + width, y + height}; }

}  // namespace

CIndexConditionWnd* CIndexConditionWnd::CreatIndexConditionWnd(IIndexMgr* mgr, CWnd* parent, const RECT& rect,
                                                               DWORD style, UINT id) {
  auto wnd = std::make_unique<CIndexConditionWnd>(mgr);
  if (!wnd->Create(parent, rect, style, id)) return nullptr;
  return wnd.release();
}

void CIndexConditionWnd::DeleteIndexConditionWnd(CIndexConditionWnd* wnd) { delete wnd; }

CIndexConditionWnd::CIndexConditionWnd(IIndexMgr* mgr) : mgr_(mgr) {}

CIndexConditionWnd::~CIndexConditionWnd() { DestroyWindow(); }

BOOL CIndexConditionWnd::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id) {
  if (!orbe::RegisterWindowClassOnce(orbe::kConditionWindowClass)) return FALSE;
  return CWnd::Create(orbe::kConditionWindowClass, "", style, rect, parent, id);
}

int CIndexConditionWnd::OnCreate() {
  CreateControls();
  FillPeriodList();
  return 0;
}

void CIndexConditionWnd::CreateControls() {
  events_ = std::make_unique<orbe::CommandEvents>(*this);
  for (const ButtonSpec& spec : kButtonSpecs) {
    std::unique_ptr<CKvxButton> button;
    orbe::AddControl(*this, button, *events_, spec.id, RECT{}, spec.text);
    buttons_.push_back(std::move(button));
  }

  grid_ = std::make_unique<CGridCtrl>(1, kColumns, 1, 1);
  grid_->Create(RECT{}, this, orbe::kCtrlConditionGrid);
  orbe::ApplyScreeningGridLook(*grid_);
  grid_->SetSingleRowSelection(true);
  for (int col = 0; col < kColumns; ++col) {
    grid_->SetItemText(0, col, kColumnSpecs[col].header);
    grid_->SetColumnWidth(col, kColumnSpecs[col].width);
  }

  expression_ = std::make_unique<CColorEdit>();
  expression_->Create(this, RECT{}, orbe::kCtrlExpression, WS_CHILD | WS_VISIBLE);
  expression_->SetSingleLine(true);
  expression_->SetText(kExpressionPrompt);
  expression_->EnableMessageNotify(this, true);

  orbe::AddControl(*this, and_radio_, *events_, orbe::kCmdIntersection, RECT{}, "交集");
  orbe::AddControl(*this, or_radio_, *events_, orbe::kCmdUnion, RECT{}, "并集");
  or_radio_->SetCheck(true);
  orbe::AddControl(*this, period_, *events_, orbe::kCtrlReportPeriod, RECT{});

  progress_ = std::make_unique<CTextProgressCtrl>();
  progress_->Create(this, RECT{}, orbe::kCtrlConditionProgress, WS_CHILD | WS_VISIBLE);
  progress_->SetRange(0, 100);
}

void CIndexConditionWnd::OnSize(UINT, int width, int height) {
  if (grid_ == nullptr) return;
  int x = kGap;
  for (const auto& button : buttons_) {
    button->MoveWindow(Rect(x, kGap, kButtonWidth, kRowHeight));
    x += kButtonWidth + kGap;
  }
  const int bottom = std::max(0, height - kRowHeight - kGap);
  grid_->MoveWindow(Rect(0, kRowHeight + 2 * kGap, width, std::max(0, bottom - kRowHeight - 3 * kGap)));
  const int tail = 2 * kRadioWidth + kPeriodWidth + kProgressWidth + 5 * kGap;
  const int edit = std::max(kButtonWidth, width - tail);
  expression_->MoveWindow(Rect(kGap, bottom, edit, kRowHeight));
  x = kGap + edit + kGap;
  and_radio_->MoveWindow(Rect(x, bottom, kRadioWidth, kRowHeight));
  or_radio_->MoveWindow(Rect(x += kRadioWidth + kGap, bottom, kRadioWidth, kRowHeight));
  period_->MoveWindow(Rect(x += kRadioWidth + kGap, bottom, kPeriodWidth, kRowHeight));
  progress_->MoveWindow(Rect(x + kPeriodWidth + kGap, bottom, kProgressWidth, kRowHeight));
}

LRESULT CIndexConditionWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) {
    OnCommand(LOWORD(wparam), HIWORD(wparam));
    return 0;
  }
  if (message == WM_NOTIFY && lparam != 0) {
    const auto* notify = reinterpret_cast<const NM_GRIDVIEW*>(lparam);
    if (notify->hdr.idFrom == orbe::kCtrlConditionGrid) OnGridNotify(notify->hdr.code, notify->iRow, notify->iColumn);
    return 0;
  }
  return CWnd::WindowProc(message, wparam, lparam);
}

void CIndexConditionWnd::OnCommand(UINT id, WORD code) {
  if (std::find(std::begin(kPostedCommands), std::end(kPostedCommands), id) != std::end(kPostedCommands)) {
    PostToReceiver(id);
    return;
  }
  switch (id) {
    case orbe::kCmdIntersection:
    case orbe::kCmdUnion:
      GenerateExpression(id == orbe::kCmdIntersection);
      break;
    case orbe::kCmdNewScheme:
      OnNewCondition();
      break;
    case orbe::kCmdEditCondition:
      EditSelectedRow();
      break;
    case orbe::kCmdDeleteCondition:
    case orbe::kCmdDeleteSelected:
      DeleteSelectedRow();
      break;
    case orbe::kCmdDeleteAll:
      ClearAllIndex();
      break;
    case orbe::kCmdIndexManager:
      ShowIndexManager();
      break;
    case orbe::kCtrlReportPeriod:
      if (code == orbe::kListSelChanged) OnPeriodChosen();
      break;
    case orbe::kCtrlExpression:
      // Typing into the placeholder replaces it.
      if (code == EN_CHANGE) {
        const std::string text = expression_->GetText();
        const std::string prompt = kExpressionPrompt;
        if (text.size() > prompt.size() && text.compare(0, prompt.size(), prompt) == 0)
          expression_->SetText(text.substr(prompt.size()));
      }
      break;
    default:
      break;  // "帮助" has no action of its own
  }
}

void CIndexConditionWnd::OnGridNotify(UINT code, int row, int col) {
  if (code == NM_DBLCLK && row >= 1 && col >= 0 && col <= 2 && rows_.count(row) != 0) EditRowParameter(row);
  if (code == NM_RCLICK) ShowGridMenu();
}

void CIndexConditionWnd::PostToReceiver(UINT message) {
  if (receiver_ != nullptr) ::PostMessage(receiver_, message, 0, 0);
}

void CIndexConditionWnd::OnNewCondition() {
  if (!rows_.empty() &&
      MessageBoxA(GetSafeHwnd(), "   确认不先保存模板吗?", "提示", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
    return;
  }
  PostToReceiver(orbe::kCmdNewScheme);
}

int CIndexConditionWnd::GetSelectedRow() const {
  if (grid_ == nullptr) return 0;
  const CCellRange range = grid_->GetSelectedCellRange();
  if (!range.IsValid() || rows_.count(range.min_row) == 0) return 0;
  return range.min_row;
}

void CIndexConditionWnd::DeleteSelectedRow() {
  const int row = GetSelectedRow();
  if (row == 0) {
    MessageBoxA(GetSafeHwnd(), "请选择需要删除的条件", "提示", MB_OK | MB_ICONINFORMATION);
    return;
  }
  DelIndex(row);
}

void CIndexConditionWnd::EditSelectedRow() {
  const int row = GetSelectedRow();
  if (row == 0) {
    MessageBoxA(GetSafeHwnd(), "请选择需要编辑的条件", "提示", MB_OK | MB_ICONINFORMATION);
    return;
  }
  EditRowParameter(row);
}

void CIndexConditionWnd::FillPeriodList() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  const std::vector<std::string> periods = ReportPeriodList(local.tm_year + 1900);
  for (const std::string& period : periods) period_->AddString(period);
  std::string year;
  std::string name;
  GetCurReport(year, name, 0);
  // Only a recent period is preselected: the first six entries.
  constexpr int kPreselectable = 6;
  for (int i = 0; i < kPreselectable && i < static_cast<int>(periods.size()); ++i) {
    if (periods[static_cast<std::size_t>(i)] == year + name) period_->SetCurSel(i);
  }
}

void CIndexConditionWnd::OnPeriodChosen() {
  const std::string text = period_->GetSelectedText();
  if (text.empty()) return;
  const int year = std::atoi(text.c_str());
  const int period = text.find("年度") != std::string::npos   ? 3
                     : text.find("三季") != std::string::npos ? 2
                     : text.find("中期") != std::string::npos ? 1
                                                              : 0;
  SetCurReport(year, period);
}

CString CIndexConditionWnd::GetEditExpressText() const {
  return expression_ != nullptr ? expression_->GetText() : CString();
}

void CIndexConditionWnd::SetProgress(int pos, bool hide) {
  if (progress_ == nullptr) return;
  progress_->SetPos(pos);
  progress_->ShowWindow(hide ? SW_HIDE : SW_SHOW);
}

void CIndexConditionWnd::EnableFetchButton(bool enable) {
  for (const UINT id : {orbe::kCmdRunScreening, orbe::kCmdExport}) {
    if (CKvxButton* button = GetButton(id)) button->EnableWindow(enable ? TRUE : FALSE);
  }
}

CKvxButton* CIndexConditionWnd::GetButton(UINT id) const {
  for (const auto& button : buttons_) {
    if (static_cast<UINT>(button->GetDlgCtrlID()) == id) return button.get();
  }
  return nullptr;
}

void CIndexConditionWnd::ShowIndexManager() {
  auto* show = reinterpret_cast<ShowIndexMgrProc>(orbe::Siblings().Others().ShowIndexMgr);
  if (show != nullptr) show(GetParent());
}

void CIndexConditionWnd::EditRowParameter(int row) {
  const auto found = rows_.find(row);
  if (found == rows_.end()) return;
  CDlgIndexParam dialog(this, *found->second, grid_->GetItemText(row, 2));
  if (dialog.DoModal() == IDOK) grid_->SetItemText(row, 2, dialog.GetText());
}

void CIndexConditionWnd::ShowGridMenu() {
  CMenu menu;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, orbe::kCmdDeleteSelected, "删除所选");
  menu.AppendMenu(MF_STRING, orbe::kCmdDeleteAll, "删除全部");
  RECT place;
  grid_->GetWindowRect(&place);
  const UINT command =
      static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, place.left, place.top, this));
  if (command != 0) OnCommand(command, orbe::kButtonClicked);
}

BOOL CIndexConditionWnd::PreTranslateMessage(MSG* msg) {
  // The Delete keys of the main block and of the keypad delete the selected row.
  const bool deleteKey = msg->wParam == VK_DELETE || msg->wParam == VK_DECIMAL;
  if (msg->message == WM_KEYDOWN && deleteKey && grid_ != nullptr && msg->hwnd == grid_->GetSafeHwnd()) {
    if (const int row = GetSelectedRow(); row != 0) DelIndex(row);
    return TRUE;
  }
  return FALSE;
}
