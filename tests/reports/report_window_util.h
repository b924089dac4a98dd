// A report window as a host opens it: a host window, CreateIniReportWnd into
// it, and the report's child controls reached by their ids.
#ifndef ORBE_TESTS_REPORTS_REPORT_WINDOW_UTIL_H_
#define ORBE_TESTS_REPORTS_REPORT_WINDOW_UTIL_H_

#include <fstream>
#include <string>
#include <vector>

#include "host/report_driver.h"
#include "orbe/reports/ini_report_wnd.h"
#include "orbe/widgets/buttons.h"
#include "orbe/widgets/chart_bar_ctrl.h"
#include "orbe/widgets/combos.h"
#include "orbe/widgets/scroll_container.h"
#include "orbe/widgets/vlist.h"
#include "orbe/widgets/color_edit.h"
#include "orbe/widgets/web_pane.h"

namespace orbe_test {

// Writes a report INI as the module reads them: the literal's GBK text with
// CRLF line ends.
inline std::string WriteReportIni(const std::string& path, const std::string& text) {
  std::string crlf;
  for (const char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << crlf;
  return path;
}

class OpenReport {
 public:
  OpenReport(const std::string& ini, const std::string& code) {
    host_.Create(nullptr, RECT{0, 0, 900, 2000}, 0, WS_VISIBLE);
    window_ = CreateIniReportWnd(ini, code, &host_);
    if (window_ != nullptr) window_->MoveWnd(RECT{0, 0, 900, 2000});
    const std::vector<HWND> children = host_.GetChildren();
    report_ = children.empty() ? nullptr : CWnd::FromHandle(children.front());
  }
  ~OpenReport() { Destroy(); }
  // As the host does when it closes the report.
  void Destroy() {
    DestroyIniReportWnd(window_);
    window_ = nullptr;
    report_ = nullptr;
  }
  OpenReport(const OpenReport&) = delete;
  OpenReport& operator=(const OpenReport&) = delete;

  bool ok() const { return window_ != nullptr && report_ != nullptr; }
  IIniReportWnd& Window() { return *window_; }
  CWnd& Report() { return *report_; }
  CWnd& Host() { return host_; }
  orbe::ReportDriver Driver() { return orbe::ReportDriver(*report_); }
  bool Wait() { return Driver().WaitForPage(); }
  ScrollContainer& Container() { return *Driver().Container(); }
  std::vector<int> Cells() { return Container().GetAllWndID(); }
  VList* List(int index) { return Container().GetList(Cells().at(static_cast<std::size_t>(index))); }
  CChartBarCtrl* Chart(int index) { return Container().GetChartBar(Cells().at(static_cast<std::size_t>(index))); }
  std::string CellTitle(int index) { return Container().GetCellTitle(Cells().at(static_cast<std::size_t>(index))); }
  template <typename Control>
  Control* Get(int id) {
    return dynamic_cast<Control*>(report_->GetDlgItem(id));
  }

 private:
  CWnd host_;
  IIniReportWnd* window_ = nullptr;
  CWnd* report_ = nullptr;
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_REPORTS_REPORT_WINDOW_UTIL_H_
