#include "reports/sql_macros.h"

#include <string>

#include "orbe/platform/text.h"
#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_lookups.h"
#include "reports/macro_text.h"

namespace orbe {
namespace {

constexpr char kParameterMacro[] = "$#$";
constexpr char kSecurityMacro[] = "$SECUCODE$";
constexpr char kQuotedSecurityMacro[] = "'$SECUCODE$'";
constexpr char kUrlSecurityMacro[] = "******";
// A parameter or code as long as a statement field cannot be substituted.
constexpr std::size_t kMaxSubstitution = 1022;

void PutQuoted(std::string& text, const std::string& value) {
  ReplaceEvery(text, kSecurityMacro, kQuotedSecurityMacro);
  ReplaceEvery(text, kSecurityMacro, value);
}

}  // namespace

std::string ExpandSecurityMacros(const std::string& sql, const std::string& parameter,
                                 const std::string& company_code) {
  std::string text = AsciiUpper(sql);
  if (parameter.size() > kMaxSubstitution) return text;
  if (!parameter.empty() && HasMacro(text, kParameterMacro)) {
    ReplaceEvery(text, kParameterMacro, parameter);
    if (HasMacro(text, kSecurityMacro)) PutQuoted(text, company_code);
  } else if (HasMacro(text, kSecurityMacro)) {
    // A pop-up's clicked value stands for the security when the statement
    // has no place of its own for it.
    PutQuoted(text, parameter.empty() ? company_code : parameter);
  }
  return text;
}

}  // namespace orbe

CString CIniReportUtil::GenerateSql(const CString& sql, const CString& parameter,
                                    const CString& securityCode) {
  return orbe::ExpandSecurityMacros(sql, parameter, orbe::CompanyCodeForReport(securityCode));
}

CString CIniReportUtil::GenerateUrl(const CString& url, const CString& securityCode) {
  CString text = url;
  if (securityCode.empty() || securityCode.size() > orbe::kMaxSubstitution) return text;
  if (orbe::HasMacro(text, orbe::kUrlSecurityMacro))
    orbe::ReplaceEvery(text, orbe::kUrlSecurityMacro, securityCode);
  return text;
}
