#include "report_window.h"

#include "orbe/dictionary/cw_file_util.h"

namespace orbe::terminal {
namespace {

constexpr UINT kHostMessage = WM_APP + 18;

}  // namespace

ReportHost::~ReportHost() {
  window_.reset();
  DestroyWindow();
}

std::string ReportHost::Open(OrbeClientSession* session, const std::string& ini_gbk, const std::string& code) {
  char abbreviation[64] = {};
  CwFileUtil::GetSecuAbbrByCode(session, abbreviation, sizeof abbreviation, code.c_str());
  if (abbreviation[0] == '\0') return "unknown security " + code;
  if (!Create(nullptr, kReportPageRect, 0, WS_VISIBLE)) return "cannot create the host window";
  window_.reset(CreateIniReportWnd(ini_gbk, code, this));
  if (!window_) return "cannot create the report window";
  window_->SetHostNotify(GetSafeHwnd(), kHostMessage);
  window_->SetHostText(abbreviation);
  window_->MoveWnd(kReportPageRect);
  report_ = GetChildren().empty() ? nullptr : CWnd::FromHandle(GetChildren().front());
  return report_ == nullptr ? "the report window is missing" : "";
}

LRESULT ReportHost::WindowProc(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message != kHostMessage) return CWnd::WindowProc(message, wparam, lparam);
  const auto* notice = reinterpret_cast<const IniReportHostNotice*>(wparam);
  if (notice != nullptr && notice_) notice_(notice->column_title, notice->value);
  return 1;
}

}  // namespace orbe::terminal
