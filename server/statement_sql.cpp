#include "statement_sql.h"

#include <array>

#include "protocol/sql_records.h"
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

void AppendCondition(BuiltSql* sql, const Condition& condition) {
  const std::string column = ColumnName(*condition.field);
  switch (condition.compare) {
    case kCompareLike:
      sql->text += "orbe_match(" + column + ", ";
      AppendParameter(sql, condition.values.at(0));
      sql->text += ")";
      return;
    case kCompareInList:
      sql->text += column + " IN ";
      AppendList(sql, condition.values);
      return;
    case kCompareLikeList:
      sql->text += column + " NOT IN ";
      AppendList(sql, condition.values);
      return;
    default:
      sql->text += column + kOperators.at(condition.compare);
      AppendParameter(sql, condition.values.at(0));
  }
}

void AppendWhere(BuiltSql* sql, const Filter& filter) {
  for (std::size_t i = 0; i < filter.conditions.size(); ++i) {
    sql->text += i == 0 ? " WHERE " : " AND ";
    AppendCondition(sql, filter.conditions[i]);
  }
}

}  // namespace

std::string TableName(const SchemaTable& table) { return Format("t%u", table.number); }

std::string ColumnName(const SchemaField& field) { return Format("T%03d", field.number); }

BuiltSql BuildSelect(const SelectStatement& statement) {
  BuiltSql sql;
  sql.text = statement.distinct ? "SELECT DISTINCT " : "SELECT ";
  for (std::size_t i = 0; i < statement.fields.size(); ++i) {
    if (i > 0) sql.text += ", ";
    sql.text += ColumnName(*statement.fields[i]);
  }
  sql.text += " FROM " + TableName(*statement.table);
  AppendWhere(&sql, statement.filter);
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

BuiltSql BuildStat(const StatStatement& statement) {
  BuiltSql sql;
  sql.text = std::string("SELECT ") + kStatFunctions.at(statement.function) + "(";
  if (statement.distinct) sql.text += "DISTINCT ";
  sql.text += statement.field == nullptr ? "*" : ColumnName(*statement.field);
  sql.text += ") FROM " + TableName(*statement.table);
  AppendWhere(&sql, statement.filter);
  return sql;
}

BuiltSql BuildDelete(const DeleteStatement& statement) {
  BuiltSql sql;
  sql.text = "DELETE FROM " + TableName(*statement.table);
  AppendWhere(&sql, statement.filter);
  return sql;
}

BuiltSql BuildUpdate(const UpdateStatement& statement) {
  BuiltSql sql;
  sql.text = "UPDATE " + TableName(*statement.table) + " SET ";
  for (std::size_t i = 0; i < statement.assignments.size(); ++i) {
    if (i > 0) sql.text += ", ";
    sql.text += ColumnName(*statement.assignments[i].field) + " = ";
    AppendParameter(&sql, statement.assignments[i].value);
  }
  AppendWhere(&sql, statement.filter);
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
