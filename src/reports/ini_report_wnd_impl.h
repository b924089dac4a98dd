// CIniReportWnd: the report window behind IIniReportWnd. Its page is built
// cell by cell in display order, each data cell after its own reply
// (report_wnd_page.cpp); the title bar's commands are in
// report_wnd_actions.cpp, clicks in report_wnd_clicks.cpp.
#ifndef ORBE_REPORTS_INI_REPORT_WND_IMPL_H_
#define ORBE_REPORTS_INI_REPORT_WND_IMPL_H_

#include <array>
#include <map>
#include <memory>
#include <string>

#include "orbe/dataservice/fetch_data.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/ini_report_wnd.h"
#include "orbe/widgets/grid_notify.h"
#include "orbe/widgets/scroll_container.h"
#include "orbe/widgets/vlist.h"
#include "orbe/widgets/widget_event.h"
#include "reports/cell_statements.h"
#include "reports/report_wnd_splits.h"
#include "reports/report_wnd_title_bar.h"

class OrbeClientSession;

namespace orbe {

struct FetchHandleDeleter {
  void operator()(IFetchData* handle) const { DeleteFetchDataHandle(handle); }
};
using FetchHandle = std::unique_ptr<IFetchData, FetchHandleDeleter>;

// What a pop-up's report starts from: the choices of the report it opens from.
struct ReportStart {
  int unit = 0;
  std::string term;  // empty: the initial term
};

}  // namespace orbe

class CIniReportWnd final : public CWnd, public IIniReportWnd, public IGridNotifyMsg, public orbe::IWidgetEventSink {
 public:
  // Reads the configuration from the file; the window owns it.
  explicit CIniReportWnd(const CString& iniPath);
  // Shows a configuration it does not own (a pop-up's child configuration).
  CIniReportWnd(ScrollWndCfg* cfg, const orbe::ReportStart& start);
  ~CIniReportWnd() override;

  void SetSecuCode(const CString& code, bool refresh) override;
  CString GetCurSecuCode() override { return security_code_; }
  void SetIniFile(const CString& path) override;
  void SetHostNotify(HWND window, UINT message) override;
  void SetHostText(const CString& text) override { host_text_ = text; }
  void SetHostValue1(int value) override { host_values_[0] = value; }
  void SetHostValue2(int value) override { host_values_[1] = value; }
  void SetHostValue3(int value) override { host_values_[2] = value; }
  void MoveWnd(const RECT& rect) override;
  void RefreshWnd() override { Invalidate(); }

  void OnGridClick(CGridCtrl& grid, int row, int col) override;
  void DeliverEvent(const orbe::WidgetEvent& event) override;

  bool IsBuilding() const { return building_ != -1; }
  int FailedCells() const { return failed_cells_; }

 protected:
  int OnCreate() override;
  void OnSize(UINT type, int width, int height) override;
  void OnDestroy() override;
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Layout();

  // report_wnd_page.cpp
  void RebuildPage(bool reread);
  void StartPage();
  void RequestAhead();
  void StartCell();
  void OnReply(IFetchData* handle, int status);
  void OnCellReady(int status);
  void BuildCurrentCell(IFetchData* reply);
  void FinishPage();
  void ShowConfigError();
  void EnableTitleBar();

  // report_wnd_actions.cpp
  void OnCommand(int id);
  void Rotate();
  void Export();
  void ToggleSplit();
  void Configure();
  void ChangeMoneyUnit();

  // report_wnd_clicks.cpp
  void OpenPopup(CellWndCfgBase& popup, const std::string& value);
  void OpenWithShell(const std::string& target);
  void NotifyHost(int cell_id, const std::string& value, const std::string& column_title);

  ScrollWndCfg* cfg_ = nullptr;
  bool owns_cfg_ = false;
  CString ini_path_;
  CString security_code_;
  orbe::ReportStart start_;

  ScrollContainer container_;
  orbe::ReportTitleBar title_bar_;
  // The display-order index of the cell being built; -1 when the page is complete.
  int building_ = -1;
  int failed_cells_ = 0;  // of the page being or last built
  OrbeClientSession* session_ = nullptr;
  // The statements of the next cells are sent before their turn, each on a
  // handle of its own, so the page waits for one round trip rather than one
  // per cell; the cells are still built strictly in display order, each from
  // its own reply. Handle i % kRepliesAhead serves display index i.
  static constexpr int kRepliesAhead = 8;
  struct PendingReply {
    orbe::FetchHandle handle;
    int cell = -1;     // the display index asked for; -1 when free
    int status = -1;   // its completion; -1 while in flight
  };
  std::array<PendingReply, kRepliesAhead> replies_;
  // The next display index whose statement is still to be sent.
  int requested_ = 0;
  orbe::CellStatements statements_;
  // Each cell's widget id in the container, and the configuration it shows.
  std::map<int, CellWndCfgBase*> cells_;
  orbe::ReportSplits splits_;
  // "配置" may be enabled once a page is complete.
  bool config_allowed_ = true;

  // While a pop-up is open the page must stay as it is (the click that opened
  // it is still on the stack): page messages wait until it closes.
  bool popup_open_ = false;
  // The open pop-up dialog; it goes with the report's window.
  CWnd* popup_ = nullptr;
  UINT deferred_message_ = 0;
  // Expires with the object, so code after a modal loop can tell whether the
  // window was destroyed meanwhile.
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);

  HWND host_window_ = nullptr;
  UINT host_message_ = 0;
  CString host_text_;
  int host_values_[3] = {0, 0, 0};
};

#endif  // ORBE_REPORTS_INI_REPORT_WND_IMPL_H_
