#include "reports/cell_statements.h"

#include "orbe/reports/cini_report_util.h"
#include "orbe/reports/report_lookups.h"
#include "reports/sql_macros.h"

namespace orbe {
namespace {

bool SameDate(const ReportDate& a, const ReportDate& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

}  // namespace

const std::string& CellStatements::For(int cell, const std::string& sql, const std::string& parameter,
                                       const std::string& security_code, const std::string& term) {
  if (cell < 0) cell = 0;
  if (static_cast<std::size_t>(cell) >= entries_.size()) entries_.resize(static_cast<std::size_t>(cell) + 1);
  Entry& entry = entries_[static_cast<std::size_t>(cell)];
  // The security master may have been reloaded: the company code is looked
  // up every time, as GenerateSql does.
  std::string company_code = CompanyCodeForReport(security_code);
  const ReportDate today = ReportClock::Today();
  const bool same = !entry.statement.empty() && entry.sql == sql && entry.parameter == parameter &&
                    entry.company_code == company_code && entry.term == term && SameDate(entry.today, today);
  if (same) return entry.statement;
  entry.statement =
      CIniReportUtil::ReplaceTimeInSql(ExpandSecurityMacros(sql, parameter, company_code), term);
  entry.sql = sql;
  entry.parameter = parameter;
  entry.company_code = std::move(company_code);
  entry.term = term;
  entry.today = today;
  return entry.statement;
}

}  // namespace orbe
