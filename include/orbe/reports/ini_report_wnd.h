// The report window: one INI-configured report (cini_report_util.h) shown
// for one security inside a host window, a title bar with four buttons and
// two selections over a scrolling stack of cells. The host creates and
// destroys it with the two exports and drives it through IIniReportWnd; a
// user acts on its child controls, whose ids are listed here.
// docs/reports.md describes what each cell shows.
#ifndef ORBE_REPORTS_INI_REPORT_WND_H_
#define ORBE_REPORTS_INI_REPORT_WND_H_

#include "orbe/platform/types.h"
#include "orbe/platform/window.h"

class IIniReportWnd {
 public:
  virtual ~IIniReportWnd() = default;  // 0
  // Stores the security; with refresh the page is rebuilt for it.
  virtual void SetSecuCode(const CString& code, bool refresh) = 0;  // 1
  virtual CString GetCurSecuCode() = 0;                              // 2
  // Stores the path; the configuration is read again and the page rebuilt.
  virtual void SetIniFile(const CString& path) = 0;  // 3
  // Values the host keeps with the window. A click on a column of data
  // format 24 sends `message` to `window` with an IniReportHostNotice
  // (below), which carries the text and the three values back.
  virtual void SetHostNotify(HWND window, UINT message) = 0;  // 4
  virtual void SetHostText(const CString& text) = 0;          // 5
  virtual void SetHostValue1(int value) = 0;                  // 6
  virtual void SetHostValue2(int value) = 0;                  // 7
  virtual void SetHostValue3(int value) = 0;                  // 8
  // Moves the window in its parent and repaints it.
  virtual void MoveWnd(const RECT& rect) = 0;  // 9
  virtual void RefreshWnd() = 0;               // 10
};

namespace orbe::report_wnd {

// The window class every report window is created with.
inline constexpr char kWindowClass[] = "KVXINIReport";
inline constexpr UINT kWindowClassStyle = 0x4000;

// Private messages of the window.
inline constexpr UINT kSecurityChanged = WM_USER + 1;  // rebuild the page
inline constexpr UINT kIniChanged = WM_USER + 2;       // reread the configuration and rebuild
inline constexpr UINT kCellReady = WM_USER + 3;        // build the current cell and go on

// Child controls of a report window.
inline constexpr int kContainer = 3000;       // the ScrollContainer with the cells
inline constexpr int kRotateButton = 3001;    // "旋转"
inline constexpr int kExportButton = 3002;    // "导出"
inline constexpr int kSplitButton = 3003;     // "拆分" / "合并"
inline constexpr int kConfigButton = 3004;    // "配置"
inline constexpr int kUnitSelection = 3005;   // money unit, after "单位:"
inline constexpr int kTermSelection = 3006;   // report term, after "报告期:"
inline constexpr int kUnitLabel = 3007;
inline constexpr int kTermLabel = 3008;
// A pop-up is a modal dialog (CDialog, template number kPopupDialog) owned
// by the report window; inside it the report window kPopupReport shows the
// pop-up cell. Hosts and tests reach it through the platform's dialog
// handler (orbe/platform/dialog.h).
inline constexpr int kPopupDialog = 3009;
inline constexpr int kPopupReport = 3010;

// The term selection is disabled exactly while a page is being built, so a
// host (or a user) knows the page is complete when it is enabled again.

}  // namespace orbe::report_wnd

// wParam of the data-format-24 message (sent, so the texts live for the call);
// lParam is the id of the clicked cell in the container. Texts are GBK.
struct IniReportHostNotice {
  const char* value;          // the clicked value as the data service gave it
  const char* column_title;   // the column's COL_TITLE
  const char* security_code;  // the report's security
  const char* host_text;      // SetHostText
  int host_values[3];         // SetHostValue1..3
};

extern "C" {
// Creates the window for the report in iniPath and the security, as a
// visible child of parentWindow with an empty rectangle (size it with
// MoveWnd), and builds the first page. Null when the window cannot be made.
IIniReportWnd* CreateIniReportWnd(const CString& iniPath, const CString& securityCode, CWnd* parentWindow);
// Destroys the window and frees it; null is ignored.
void DestroyIniReportWnd(IIniReportWnd* window);
// How many cells of the page built last (or being built) got no complete
// reply: their requests were refused, lost or timed out, and they show
// nothing. A host must not take such a page for the whole report. 0 for null.
int GetIniReportFailedCells(IIniReportWnd* window);
}

#endif  // ORBE_REPORTS_INI_REPORT_WND_H_
