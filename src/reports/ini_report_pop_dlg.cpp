#include "reports/ini_report_pop_dlg.h"

#include "orbe/platform/text.h"

namespace {

namespace ids = orbe::report_wnd;

std::string PopupTitle(const ScrollWndCfg& child) {
  const CellWndCfgBase* cell = CIniReportUtil::GetCfgBase(&child, 0);
  return cell != nullptr ? orbe::FieldText(cell->title) : orbe::FieldText(child.title);
}

}  // namespace

CIniReportPopDlg::CIniReportPopDlg(ScrollWndCfg& child, const orbe::ReportStart& start,
                                   const CString& securityCode, CWnd& owner)
    : CDialog(ids::kPopupDialog, &owner), owner_(owner), report_(&child, start) {
  report_.SetSecuCode(securityCode, false);
  SetWindowText(PopupTitle(child));
}

CIniReportPopDlg::~CIniReportPopDlg() { DestroyWindow(); }

RECT CIniReportPopDlg::InitialRect() const {
  RECT area;
  owner_.GetWindowRect(&area);
  return area;
}

BOOL CIniReportPopDlg::OnInitDialog() {
  RECT client;
  GetClientRect(&client);
  if (!report_.Create(this, client, ids::kPopupReport, WS_CHILD | WS_VISIBLE)) EndDialog(IDCANCEL);
  return TRUE;
}

void CIniReportPopDlg::OnSize(UINT /*type*/, int width, int height) {
  if (report_.GetSafeHwnd() != nullptr) report_.MoveWnd(RECT{0, 0, width, height});
}
