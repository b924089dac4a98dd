#include "statement_sql.h"

#include <array>

#include "pg_connection.h"
#include "protocol/sql_records.h"
#include "statement_values.h"
#include "orbe/platform/text.h"

namespace orbe::server {
namespace {

// Codes 0-5 are plain comparisons; 6-8 are built separately.
constexpr std::array<const char*, 6> kOperators = {" = ", " > ", " < ", " >= ", " <= ", " != "};
constexpr std::array<const char*, 5> kStatFunctions = {"COUNT", "MAX", "MIN", "AVG", "SUM"};

void AppendParameter(BuiltSql* sql, const SqlValue& value) {
  sql->bindings.push_back(value);
  sql->text += "?";
}

void AppendList(BuiltSql* sql, const std::vector<SqlValue>& values) {
  sql->text += "(";
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) sql->text += ",";
    AppendParameter(sql, values[i]);
  }
  sql->text += ")";
}

// PostgreSQL refuses to compare a number column with a text; SQLite
// compares them and finds every number smaller than any text. A text that is
// no number reaches a number field only from a list or a quoted number, and
// these are the answers SQLite gives it, so both stores agree.
bool Mismatched(SqlDialect dialect, const SchemaField& field, const SqlValue& value) {
  return dialect == SqlDialect::kPostgres && value.kind == SqlValue::Kind::kText && !IsTextType(field.type);
}

std::string MismatchedComparison(std::uint8_t compare, const std::string& column) {
  const bool number_below_text = compare == 2 || compare == 4 || compare == 5;  // <, <=, !=
  return number_below_text ? column + " IS NOT NULL" : "FALSE";
}

void AppendPattern(BuiltSql* sql, const Condition& condition, SqlDialect dialect) {
  const std::string column = ColumnName(*condition.field);
  if (dialect == SqlDialect::kSqlite) {
    sql->text += "orbe_match(" + column + ", ";
    AppendParameter(sql, condition.values.at(0));
    sql->text += ")";
    return;
  }
  // A number's decimal text is matched, as the SQLite function does.
  sql->text += IsTextType(condition.field->type) ? column + " ~ " : column + "::text ~ ";
  AppendParameter(sql, SqlValue::Text(PatternRegex(condition.values.at(0).text)));
}

void AppendInList(BuiltSql* sql, const Condition& condition, SqlDialect dialect) {
  const std::string column = ColumnName(*condition.field);
  const bool inside = condition.compare == kCompareInList;
  std::vector<SqlValue> values;
  for (const SqlValue& value : condition.values) {
    if (!Mismatched(dialect, *condition.field, value)) values.push_back(value);
  }
  if (dialect == SqlDialect::kPostgres && values.empty()) {
    // PostgreSQL has no empty list; a list of texts alone excludes no number.
    const bool none_given = condition.values.empty();
    sql->text += inside ? "FALSE" : none_given ? "TRUE" : column + " IS NOT NULL";
    return;
  }
  sql->text += column + (inside ? " IN " : " NOT IN ");
  AppendList(sql, values);
}

void AppendCondition(BuiltSql* sql, const Condition& condition, SqlDialect dialect) {
  const std::string column = ColumnName(*condition.field);
  switch (condition.compare) {
    case kCompareLike:
      AppendPattern(sql, condition, dialect);
      return;
    case kCompareInList:
    case kCompareLikeList:
      AppendInList(sql, condition, dialect);
      return;
    default:
      if (Mismatched(dialect, *condition.field, condition.values.at(0))) {
        sql->text += MismatchedComparison(condition.compare, column);
        return;
      }
      sql->text += column + kOperators.at(condition.compare);
      AppendParameter(sql, condition.values.at(0));
  }
}

void AppendWhere(BuiltSql* sql, const Filter& filter, SqlDialect dialect) {
  for (std::size_t i = 0; i < filter.conditions.size(); ++i) {
    sql->text += i == 0 ? " WHERE " : " AND ";
    AppendCondition(sql, filter.conditions[i], dialect);
  }
}

}  // namespace

std::string TableName(const SchemaTable& table) { return Format("t%u", table.number); }

std::string ColumnName(const SchemaField& field) { return Format("T%03d", field.number); }

BuiltSql BuildSelect(const SelectStatement& statement, SqlDialect dialect) {
  BuiltSql sql;
  sql.text = statement.distinct ? "SELECT DISTINCT " : "SELECT ";
  for (std::size_t i = 0; i < statement.fields.size(); ++i) {
    if (i > 0) sql.text += ", ";
    sql.text += ColumnName(*statement.fields[i]);
  }
  sql.text += " FROM " + TableName(*statement.table);
  AppendWhere(&sql, statement.filter, dialect);
  // Pages must not overlap or skip records: the order is total (storage
  // order breaks ties; a DISTINCT row has no storage order, so its columns do).
  std::vector<std::string> order;
  if (statement.order != nullptr) {
    order.push_back(ColumnName(*statement.order) + (statement.descending ? " DESC" : ""));
  }
  if (statement.distinct) {
    for (const SchemaField* field : statement.fields) order.push_back(ColumnName(*field));
  } else {
    order.push_back("rowid");
  }
  for (std::size_t i = 0; i < order.size(); ++i) sql.text += (i == 0 ? " ORDER BY " : ", ") + order[i];
  if (statement.page > 0) {
    sql.text += " LIMIT ";
    AppendParameter(&sql, SqlValue::Integer(statement.page_size));
    sql.text += " OFFSET ";
    const std::int64_t skipped = static_cast<std::int64_t>(statement.page - 1) * statement.page_size;
    AppendParameter(&sql, SqlValue::Integer(skipped));
  }
  return sql;
}

BuiltSql BuildStat(const StatStatement& statement, SqlDialect dialect) {
  BuiltSql sql;
  sql.text = std::string("SELECT ") + kStatFunctions.at(statement.function) + "(";
  if (statement.distinct) sql.text += "DISTINCT ";
  sql.text += statement.field == nullptr ? "*" : ColumnName(*statement.field);
  sql.text += ") FROM " + TableName(*statement.table);
  AppendWhere(&sql, statement.filter, dialect);
  return sql;
}

BuiltSql BuildDelete(const DeleteStatement& statement, SqlDialect dialect) {
  BuiltSql sql;
  sql.text = "DELETE FROM " + TableName(*statement.table);
  AppendWhere(&sql, statement.filter, dialect);
  return sql;
}

BuiltSql BuildUpdate(const UpdateStatement& statement, SqlDialect dialect) {
  BuiltSql sql;
  sql.text = "UPDATE " + TableName(*statement.table) + " SET ";
  for (std::size_t i = 0; i < statement.assignments.size(); ++i) {
    if (i > 0) sql.text += ", ";
    sql.text += ColumnName(*statement.assignments[i].field) + " = ";
    AppendParameter(&sql, statement.assignments[i].value);
  }
  AppendWhere(&sql, statement.filter, dialect);
  return sql;
}

BuiltSql BuildInsert(const InsertStatement& statement) {
  BuiltSql sql;
  sql.text = "INSERT INTO " + TableName(*statement.table) + " (";
  std::string values;
  for (std::size_t i = 0; i < statement.assignments.size(); ++i) {
    if (i > 0) {
      sql.text += ", ";
      values += ", ";
    }
    sql.text += ColumnName(*statement.assignments[i].field);
    values += "?";
    sql.bindings.push_back(statement.assignments[i].value);
  }
  sql.text += ") VALUES (" + values + ")";
  return sql;
}

BuiltSql BuildDeleteByKey(const SchemaTable& table, const Assignment& key) {
  BuiltSql sql;
  sql.text = "DELETE FROM " + TableName(table) + " WHERE " + ColumnName(*key.field) + " = ";
  AppendParameter(&sql, key.value);
  return sql;
}

}  // namespace orbe::server
