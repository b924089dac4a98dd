// What the report code needs from other subsystems, reached through seams so
// that the configuration and macro code depends on the platform layer and the
// dictionary only. The module's environment installs the real lookups when
// the data service is up; until then they find nothing.
#ifndef ORBE_REPORTS_REPORT_LOOKUPS_H_
#define ORBE_REPORTS_REPORT_LOOKUPS_H_

#include <string>

class OrbeClientSession;

namespace orbe {

struct ReportLookups {
  // The session whose dictionary names fields (the global main session).
  OrbeClientSession* (*main_session)() = nullptr;
  // The company code of a security code from the security master of the
  // main session; empty when unknown.
  std::string (*company_code_of)(const std::string& security_code) = nullptr;
};

// Replaces every lookup at once; a null member finds nothing.
void SetReportLookups(const ReportLookups& lookups);
ReportLookups CurrentReportLookups();

// The company code for "$SECUCODE$", at most 11 bytes as the security
// master stores it.
std::string CompanyCodeForReport(const std::string& security_code);

}  // namespace orbe

#endif  // ORBE_REPORTS_REPORT_LOOKUPS_H_
