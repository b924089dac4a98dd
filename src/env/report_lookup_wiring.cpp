// The report code reaches the main session and the security master through
// seams, so that it depends on neither; the module installs the real ones as
// it loads. Without a session they find nothing.
#include <string>

#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/reports/report_lookups.h"

namespace {

constexpr int kCompanyCodeBuffer = 12;

OrbeClientSession* MainSession() { return GetGlobalMainOrbeClientSession(); }

std::string CompanyCodeOfSecurity(const std::string& securityCode) {
  char code[kCompanyCodeBuffer] = {};
  CwFileUtil::GetCompanyCodeBySecuCode(GetGlobalMainOrbeClientSession(), code, sizeof code, securityCode.c_str());
  return code;
}

const bool kReportLookupsInstalled = [] {
  orbe::SetReportLookups(orbe::ReportLookups{&MainSession, &CompanyCodeOfSecurity});
  return true;
}();

}  // namespace
