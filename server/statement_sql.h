// SQL text for resolved statements, in the dialect of the store. Table and
// column names come from the dictionary (t<number>, T%03d); every value is a
// bound parameter.
#ifndef ORBE_SERVER_STATEMENT_SQL_H_
#define ORBE_SERVER_STATEMENT_SQL_H_

#include <string>
#include <vector>

#include "sql_connection.h"
#include "statement_model.h"

namespace orbe::server {

struct BuiltSql {
  std::string text;
  std::vector<SqlValue> bindings;  // ?1, ?2, ... in order
};

std::string TableName(const SchemaTable& table);
std::string ColumnName(const SchemaField& field);

BuiltSql BuildSelect(const SelectStatement& statement, SqlDialect dialect);
BuiltSql BuildStat(const StatStatement& statement, SqlDialect dialect);
BuiltSql BuildDelete(const DeleteStatement& statement, SqlDialect dialect);
BuiltSql BuildUpdate(const UpdateStatement& statement, SqlDialect dialect);
BuiltSql BuildInsert(const InsertStatement& statement);
// For INSERT ... BACK: removes the records holding the key value given.
BuiltSql BuildDeleteByKey(const SchemaTable& table, const Assignment& key);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_SQL_H_
