// The report window: its child controls, its messages and the host's slots.
#include "reports/ini_report_wnd_impl.h"

#include "orbe/platform/text.h"
#include "orbe/platform/window_class.h"
#include "orbe/reports/report_lookups.h"
#include "orbe/widgets/color_edit.h"
#include "reports/report_config_cache.h"
#include "reports/report_wnd_look.h"

namespace {

namespace ids = orbe::report_wnd;

constexpr int kContainerTitleHeight = 30;
constexpr UINT kButtonClicked = 0;    // BN_CLICKED
constexpr UINT kSelectionChanged = 1;  // CBN_SELCHANGE

orbe::TitleBarChoices ChoicesFor(const orbe::ReportStart& start) {
  orbe::TitleBarChoices choices;
  choices.terms = CIniReportUtil::GetReportTermList();
  choices.unit = start.unit;
  for (std::size_t i = 0; i < choices.terms.size(); ++i) {
    if (choices.terms[i] == start.term) choices.term = static_cast<int>(i);
  }
  return choices;
}

// Registered once per process; later calls find the class there.
bool RegisterReportClass() {
  WNDCLASSA report_class{};
  report_class.style = ids::kWindowClassStyle;
  report_class.lpfnWndProc = DefWindowProcA;
  report_class.hInstance = AfxGetInstanceHandle();
  report_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  report_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  report_class.lpszClassName = ids::kWindowClass;
  return AfxRegisterClass(&report_class) != FALSE;
}

}  // namespace

CIniReportWnd::CIniReportWnd(const CString& iniPath)
    : cfg_(orbe::ReadReportConfig(iniPath.c_str()).release()), owns_cfg_(true), ini_path_(iniPath) {}

CIniReportWnd::CIniReportWnd(ScrollWndCfg* cfg, const orbe::ReportStart& start)
    : cfg_(cfg), owns_cfg_(false), ini_path_(cfg != nullptr ? orbe::FieldText(cfg->ini_path) : ""), start_(start) {}

CIniReportWnd::~CIniReportWnd() {
  // A fetch handle waits for a request in flight; the window goes first so
  // that its reply is dropped rather than delivered.
  DestroyWindow();
  for (PendingReply& reply : replies_) reply.handle.reset();
  if (owns_cfg_) CIniReportUtil::DestroyScrollWndCfg(cfg_);
}

int CIniReportWnd::OnCreate() {
  const orbe::ReportLookups lookups = orbe::CurrentReportLookups();
  session_ = lookups.main_session != nullptr ? lookups.main_session() : nullptr;
  // The window's own handle; the read-ahead makes the others when it needs them.
  if (session_ != nullptr) replies_[0].handle.reset(CreateFetchDataHandle(GetSafeHwnd(), ids::kCellReady));
  if (replies_[0].handle == nullptr) session_ = nullptr;
  if (!container_.Create(this, RECT{0, 0, 0, 0}, ids::kContainer, WS_CHILD | WS_VISIBLE)) return -1;
  container_.SetFont(orbe::kReportFont);
  container_.SetTitle("", orbe::kTitleColor, kContainerTitleHeight);
  if (!title_bar_.Create(*this, *this, ChoicesFor(start_))) return -1;
  Layout();
  StartPage();
  return 0;
}

void CIniReportWnd::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { Layout(); }

// An owned dialog outlives its owner's window unless told: a pop-up shows
// cells of this report's configuration and must go first.
void CIniReportWnd::OnDestroy() {
  if (popup_ != nullptr) popup_->DestroyWindow();
}

void CIniReportWnd::Layout() {
  RECT client;
  GetClientRect(&client);
  container_.MoveWindow(client);
  const bool money = cfg_ != nullptr && cfg_->adopt_money_format;
  const bool term = cfg_ != nullptr && cfg_->adopt_report_term;
  title_bar_.Layout(static_cast<int>(client.right), container_.GetTitleHeight(), money, term);
}

LRESULT CIniReportWnd::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case ids::kSecurityChanged:
    case ids::kIniChanged:
      if (popup_open_) {
        // kIniChanged outranks kSecurityChanged: it rebuilds too.
        if (deferred_message_ != ids::kIniChanged) deferred_message_ = message;
      } else if (!IsBuilding()) {
        RebuildPage(message == ids::kIniChanged);
      }
      return 0;
    case ids::kCellReady:
      // A pane's own post carries no handle; a reply names its handle.
      if (lparam == 0) {
        if (IsBuilding()) OnCellReady(static_cast<int>(wparam));
      } else {
        OnReply(reinterpret_cast<IFetchData*>(lparam), static_cast<int>(wparam));
      }
      return 0;
    case WM_COMMAND:
      OnCommand(static_cast<int>(wparam & 0xFFFF));
      return 0;
    default:
      return CWnd::WindowProc(message, wparam, lparam);
  }
}

void CIniReportWnd::DeliverEvent(const orbe::WidgetEvent& event) {
  const UINT code = event.name == "OnComboSelChanged" ? kSelectionChanged : kButtonClicked;
  const CWnd* control = GetDlgItem(event.id);
  SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(event.id), static_cast<WORD>(code)),
              reinterpret_cast<LPARAM>(control != nullptr ? control->GetSafeHwnd() : nullptr));
}

void CIniReportWnd::SetSecuCode(const CString& code, bool refresh) {
  security_code_ = code;
  if (refresh) PostMessage(ids::kSecurityChanged);
}

void CIniReportWnd::SetIniFile(const CString& path) {
  ini_path_ = path;
  PostMessage(ids::kIniChanged);
}

void CIniReportWnd::SetHostNotify(HWND window, UINT message) {
  host_window_ = window;
  host_message_ = message;
}

void CIniReportWnd::MoveWnd(const RECT& rect) {
  MoveWindow(rect, TRUE);
  Invalidate();
}

extern "C" IIniReportWnd* CreateIniReportWnd(const CString& iniPath, const CString& securityCode,
                                            CWnd* parentWindow) {
  if (!RegisterReportClass()) return nullptr;
  auto window = std::make_unique<CIniReportWnd>(iniPath);
  window->SetSecuCode(securityCode, false);
  if (!window->Create(ids::kWindowClass, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, parentWindow, 0))
    return nullptr;
  return window.release();
}

extern "C" void DestroyIniReportWnd(IIniReportWnd* window) {
  delete dynamic_cast<CIniReportWnd*>(window);
}

extern "C" int GetIniReportFailedCells(IIniReportWnd* window) {
  const auto* report = dynamic_cast<const CIniReportWnd*>(window);
  return report != nullptr ? report->FailedCells() : 0;
}
