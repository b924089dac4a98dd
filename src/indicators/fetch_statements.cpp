// What parameter values become in a request: the SQL statement of one group of
// system indicators and the KVX_DataBrowse option of a TQL indicator.
#include <cstdlib>
#include <set>

#include "indicators/fetch_terms.h"
#include "orbe/platform/text.h"

namespace orbe {

namespace {

std::string ReportTerm(const std::string& field, const std::string& value) {
  const ReportValue report = ResolveReportValue(value);
  if (!report.present) return std::string();
  const ReportPeriod& period = ReportPeriodOf(report.period);
  return field + ">" + report.year + period.after + " and " + field + "<" + report.year + period.before;
}

std::string ReportPiece(const std::string& value) {
  const ReportValue report = ResolveReportValue(value);
  return report.present ? report.year + ReportPeriodOf(report.period).end : std::string();
}

}  // namespace

// An empty value gives the same term as any other ("T007=''" for a constant
// or a text): a dropped term would widen the statement to every record. For a
// date or a number the term is left incomplete; such a statement is refused
// when it is parsed, and the group then answers nothing.
std::string SqlParameterTerm(OrbeClientSession* session, const SysIndexParam& formal, const std::string& value) {
  const std::string& flag = formal.flag;
  const std::string& field = formal.field;
  if (HasMarker(flag, "常量")) return field + "='" + ConstantCodeOf(session, flag, value) + "'";
  if (HasMarker(flag, "日期")) return field + "=" + DateDigits(value);
  if (HasMarker(flag, "报告期")) return ReportTerm(field, value);
  if (HasMarker(flag, "字符串")) return field + "='" + value + "'";
  if (HasMarker(flag, "整型") || HasMarker(flag, "浮点型")) return field + "=" + value;
  return std::string();
}

std::string TqlParameterPiece(OrbeClientSession* session, const std::string& flag, const std::string& value) {
  if (HasMarker(flag, "常量")) return ConstantCodeOf(session, flag, value);
  if (HasMarker(flag, "日期")) return DateDigits(value);
  if (HasMarker(flag, "报告期")) return ReportPiece(value);
  if (HasMarker(flag, "字符串") || HasMarker(flag, "整型") || HasMarker(flag, "浮点型")) return value;
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

std::string BuildTqlOptionHead(OrbeClientSession* session, const SysIndexTQL& tql, const std::string& parameters) {
  const std::vector<std::string> values = SplitParameterValues(parameters, tql.flags.size());
  if (values.size() != tql.flags.size()) return std::string();
  std::string option = tql.name;
  for (std::size_t i = 0; i < values.size(); ++i) option += "|" + TqlParameterPiece(session, tql.flags[i], values[i]);
  option += "|";
  if (tql.datatype == DATA_TYPE_STRING) option += Format("%d", tql.strmaxlength);
  option += "|";
  return option;
}

}  // namespace orbe
