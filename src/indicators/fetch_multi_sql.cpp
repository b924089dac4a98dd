// The SQL statement of one group of system indicators.
#include <cstdlib>
#include <set>

#include "indicators/fetch_multi_terms.h"

namespace orbe {

namespace {

struct PeriodRange {
  const char* name;
  const char* after;   // the term is field > year + after
  const char* before;  // and field < year + before
};

// Report periods are yyyymmdd; a period is the open range around its end.
constexpr PeriodRange kPeriodRanges[] = {
    {"一季", "0100", "0332"},
    {"中期", "0400", "0631"},
    {"三季", "0700", "0931"},
};
constexpr PeriodRange kYearRange = {"", "1000", "1232"};

const PeriodRange& RangeOf(const std::string& period) {
  for (const PeriodRange& range : kPeriodRanges) {
    if (period.find(range.name) != std::string::npos) return range;
  }
  return kYearRange;
}

std::string ReportTerm(const std::string& field, const std::string& value) {
  const ReportValue report = ResolveReportValue(value);
  if (!report.present) return std::string();
  const PeriodRange& range = RangeOf(report.period);
  return field + ">" + report.year + range.after + " and " + field + "<" + report.year + range.before;
}

bool Has(const std::string& flag, const char* marker) { return flag.find(marker) != std::string::npos; }

}  // namespace

std::string SqlParameterTerm(OrbeClientSession* session, const SysIndexParam& formal, const std::string& value) {
  // An empty value would leave a broken comparison ("T003="): it restricts nothing.
  if (value.empty()) return std::string();
  const std::string& flag = formal.flag;
  const std::string& field = formal.field;
  if (Has(flag, "常量")) return field + "='" + ConstantCodeOf(session, flag, value) + "'";
  if (Has(flag, "日期")) return field + "=" + DateDigits(value);
  if (Has(flag, "报告期")) return ReportTerm(field, value);
  if (Has(flag, "字符串")) return field + "='" + value + "'";
  if (Has(flag, "整型") || Has(flag, "浮点型")) return field + "=" + value;
  return std::string();
}

std::string BuildGroupSql(OrbeClientSession* session, const std::vector<const SysIndex*>& indexes,
                          const std::string& parameters, BYTE& tag) {
  if (indexes.empty()) return std::string();
  const SysIndex& first = *indexes.front();
  const std::vector<std::string> values = SplitParameterValues(parameters, first.params.size());
  if (values.size() != first.params.size()) return std::string();

  std::string where;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string term = SqlParameterTerm(session, first.params[i], values[i]);
    if (term.empty()) continue;
    if (!where.empty()) where += " and ";
    where += term;
  }
  if (first.key.size() > 1) tag = static_cast<BYTE>(std::atoi(first.key.c_str() + 1));

  std::string sql = "select distinct " + first.key;
  std::set<std::string> fields;
  for (const SysIndex* index : indexes) {
    if (fields.insert(index->tablefield).second) sql += "," + index->tablefield;
  }
  sql += " from " + first.tablename;
  if (!where.empty()) {
    sql += " where " + where;
    if (!first.condition.empty()) sql += " and " + first.condition;
  } else if (!first.condition.empty()) {
    sql += " where " + first.condition;
  }
  return sql;
}

}  // namespace orbe
