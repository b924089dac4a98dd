// Drives a report window as a user would: its child controls found by their
// ids (orbe/reports/ini_report_wnd.h), clicks and picks injected through the
// widget library, the page read back from its widgets.
#ifndef ORBE_TOOLS_TERMINAL_HOST_REPORT_DRIVER_H_
#define ORBE_TOOLS_TERMINAL_HOST_REPORT_DRIVER_H_

#include <functional>
#include <string>

#include "orbe/platform/window.h"

class ScrollContainer;

namespace orbe {

// Every wait for a page is bounded by this.
inline constexpr DWORD kPageTimeoutMs = 60000;

class ReportDriver {
 public:
  // `report` is a report window (the one CreateIniReportWnd made, or the one
  // inside a pop-up dialog).
  explicit ReportDriver(CWnd& report) : report_(report) {}

  ScrollContainer* Container() const;
  // The term selection is enabled again once the page is complete.
  bool PageComplete() const;
  // Pumps until the page is complete; false after the timeout.
  bool WaitForPage(DWORD timeout_ms = kPageTimeoutMs) const;
  // True when the container says the configuration is unusable.
  bool ConfigurationFailed() const;

  // Each returns "" when done, else what stopped it (for the user). Every
  // action that rebuilds the page waits for it.
  std::string PickTerm(const std::string& term_gbk);
  std::string PickUnit(int unit);
  std::string ClickButton(int id);
  // Cell, row and column count from 1 as PageText prints them (rows and
  // columns of the cell's table as shown, the heading included).
  std::string ClickCell(int cell, int row, int col);

  // The page as UTF-8 text: the report title, then each shown cell with its
  // title and what it shows, lists as tables of their shown texts.
  std::string PageText() const;

 private:
  CWnd* Control(int id) const;

  CWnd& report_;
};

}  // namespace orbe

#endif  // ORBE_TOOLS_TERMINAL_HOST_REPORT_DRIVER_H_
