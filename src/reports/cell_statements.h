// The statements a page's cells send, expanded from their configuration for
// the security, the report term and today's date. A page rebuilt for the
// same security and term (refresh, a unit change, coming back to it) asks
// each cell's statement again; it is expanded again only when an input
// changed.
#ifndef ORBE_REPORTS_CELL_STATEMENTS_H_
#define ORBE_REPORTS_CELL_STATEMENTS_H_

#include <string>
#include <vector>

#include "orbe/reports/report_clock.h"

namespace orbe {

class CellStatements {
 public:
  // What ReplaceTimeInSql(GenerateSql(sql, parameter, security_code), term)
  // gives now, for the cell at display index `cell`.
  const std::string& For(int cell, const std::string& sql, const std::string& parameter,
                         const std::string& security_code, const std::string& term);

 private:
  struct Entry {
    std::string sql;
    std::string parameter;
    std::string company_code;
    std::string term;
    ReportDate today;
    std::string statement;
  };
  std::vector<Entry> entries_;
};

}  // namespace orbe

#endif  // ORBE_REPORTS_CELL_STATEMENTS_H_
