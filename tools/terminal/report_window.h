// The report window as a host opens it: a frame that hears the report's
// notices, the window made through CreateIniReportWnd for a security, and
// the report control inside it that a ReportDriver acts on.
#ifndef ORBE_TOOLS_TERMINAL_REPORT_WINDOW_H_
#define ORBE_TOOLS_TERMINAL_REPORT_WINDOW_H_

#include <functional>
#include <memory>
#include <string>

#include "orbe/platform/window.h"
#include "orbe/reports/ini_report_wnd.h"

class OrbeClientSession;

namespace orbe::terminal {

inline constexpr RECT kReportPageRect{0, 0, 1000, 900};

class ReportHost : public CWnd {
 public:
  // `notice` hears the report's data-format-24 notices (column title and
  // value, GBK).
  explicit ReportHost(std::function<void(const std::string&, const std::string&)> notice)
      : notice_(std::move(notice)) {}
  ~ReportHost() override;

  // Makes the frame and the report for `code`, titled with the security's
  // abbreviation. "" when done, else why not (UTF-8).
  std::string Open(OrbeClientSession* session, const std::string& ini_gbk, const std::string& code);
  // The report control (null before Open succeeded).
  CWnd* Report() const { return report_; }
  IIniReportWnd* Window() const { return window_.get(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  struct Closer {
    void operator()(IIniReportWnd* window) const { DestroyIniReportWnd(window); }
  };
  std::function<void(const std::string&, const std::string&)> notice_;
  std::unique_ptr<IIniReportWnd, Closer> window_;
  CWnd* report_ = nullptr;
};

}  // namespace orbe::terminal

#endif  // ORBE_TOOLS_TERMINAL_REPORT_WINDOW_H_
