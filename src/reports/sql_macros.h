// The security macros of a statement, apart from the security master lookup.
#ifndef ORBE_REPORTS_SQL_MACROS_H_
#define ORBE_REPORTS_SQL_MACROS_H_

#include <string>

namespace orbe {

// GenerateSql with the company code already known.
std::string ExpandSecurityMacros(const std::string& sql, const std::string& parameter,
                                 const std::string& company_code);

}  // namespace orbe

#endif  // ORBE_REPORTS_SQL_MACROS_H_
