#include "orbe/reports/report_lookups.h"

#include <atomic>

#include "orbe/platform/text.h"

namespace orbe {
namespace {

// Each seam is one atomic pointer: a host may install them while another
// thread reads a report.
std::atomic<OrbeClientSession* (*)()> main_session_lookup{nullptr};
std::atomic<std::string (*)(const std::string&)> company_code_lookup{nullptr};

constexpr std::size_t kCompanyCodeBytes = 11;

}  // namespace

void SetReportLookups(const ReportLookups& lookups) {
  main_session_lookup.store(lookups.main_session);
  company_code_lookup.store(lookups.company_code_of);
}

ReportLookups CurrentReportLookups() {
  return ReportLookups{main_session_lookup.load(), company_code_lookup.load()};
}

std::string CompanyCodeForReport(const std::string& security_code) {
  const auto lookup = company_code_lookup.load();
  if (lookup == nullptr) return {};
  char code[kCompanyCodeBytes + 1] = {};
  CopyBounded(code, sizeof(code), lookup(security_code));
  return code;
}

}  // namespace orbe
