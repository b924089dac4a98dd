// A report's configuration as text, for report authors who check an INI file
// without a window (orbe-terminal report-config).
#ifndef ORBE_REPORTS_REPORT_DESCRIPTION_H_
#define ORBE_REPORTS_REPORT_DESCRIPTION_H_

#include <string>

namespace orbe {

struct ReportDescriptionRequest {
  std::string ini_path;
  std::string security_code;
  std::string report_term;  // GBK; empty means the window's initial term
  // Used for "$SECUCODE$" instead of the security master when not empty.
  std::string company_code;
};

// GBK text: the report's settings, each shown cell, then the pop-up cells,
// with every statement expanded as the report window would send it.
std::string DescribeIniReport(const ReportDescriptionRequest& request);

}  // namespace orbe

extern "C" {
// The module's entry for hosts that load it by file: fills `text` (GBK)
// and returns false only when the file cannot be read as a report at all.
bool DescribeIniReportConfig(const std::string& iniPath, const std::string& securityCode,
                             const std::string& reportTerm, const std::string& companyCode,
                             std::string& text);
}

#endif  // ORBE_REPORTS_REPORT_DESCRIPTION_H_
