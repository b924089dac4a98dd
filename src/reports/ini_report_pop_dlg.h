// The modal pop-up of a report: one cell of the report, opened by a click on
// a column that names it, shown as a report page of its own (a report window
// over the child configuration, built the same way) until the user closes it.
#ifndef ORBE_REPORTS_INI_REPORT_POP_DLG_H_
#define ORBE_REPORTS_INI_REPORT_POP_DLG_H_

#include "orbe/platform/message_box.h"
#include "reports/ini_report_wnd_impl.h"

class CIniReportPopDlg final : public CWnd {
 public:
  // The child configuration holds the pop-up cell only and shares its
  // cells with the report it came from; both must outlive the dialog.
  CIniReportPopDlg(ScrollWndCfg& child, const orbe::ReportStart& start, const CString& securityCode, CWnd& owner);
  ~CIniReportPopDlg() override;

  // Covers the owner's client area and pumps until the dialog is closed
  // (WM_CLOSE); IDCANCEL, or -1 when the dialog could not be shown or was
  // destroyed with its owner.
  int DoModal();

 protected:
  void OnSize(UINT type, int width, int height) override;
  void OnClose() override { EndModalLoop(IDCANCEL); }

 private:
  CWnd& owner_;
  CIniReportWnd report_;
};

#endif  // ORBE_REPORTS_INI_REPORT_POP_DLG_H_
