// The modal pop-up of a report: one cell of the report, opened by a click on
// a column that names it, shown as a report page of its own (a report window
// over the child configuration, built the same way) until the user closes it.
#ifndef ORBE_REPORTS_INI_REPORT_POP_DLG_H_
#define ORBE_REPORTS_INI_REPORT_POP_DLG_H_

#include "orbe/platform/dialog.h"
#include "reports/ini_report_wnd_impl.h"

class CIniReportPopDlg final : public CDialog {
 public:
  // The child configuration holds the pop-up cell only and shares its cells
  // with the report it came from; both must outlive the dialog. The dialog
  // is owned by that report's window and takes its size.
  CIniReportPopDlg(ScrollWndCfg& child, const orbe::ReportStart& start, const CString& securityCode, CWnd& owner);
  ~CIniReportPopDlg() override;

 protected:
  BOOL OnInitDialog() override;
  RECT InitialRect() const override;
  void OnSize(UINT type, int width, int height) override;

 private:
  CWnd& owner_;
  CIniReportWnd report_;
};

#endif  // ORBE_REPORTS_INI_REPORT_POP_DLG_H_
