// SQL text for resolved statements. Table and column names come from the
// dictionary (t<number>, T%03d); every value is a bound parameter.
#ifndef ORBE_SERVER_STATEMENT_SQL_H_
#define ORBE_SERVER_STATEMENT_SQL_H_

#include <string>
#include <vector>

#include "statement_model.h"

namespace orbe::server {

struct BuiltSql {
  std::string text;
  std::vector<SqlValue> bindings;  // ?1, ?2, ... in order
};

std::string TableName(const SchemaTable& table);
std::string ColumnName(const SchemaField& field);

BuiltSql BuildSelect(const SelectStatement& statement);
BuiltSql BuildStat(const StatStatement& statement);
BuiltSql BuildDelete(const DeleteStatement& statement);
BuiltSql BuildUpdate(const UpdateStatement& statement);
BuiltSql BuildInsert(const InsertStatement& statement);
// For INSERT ... BACK: removes the records holding the key value given.
BuiltSql BuildDeleteByKey(const SchemaTable& table, const Assignment& key);

}  // namespace orbe::server

#endif  // ORBE_SERVER_STATEMENT_SQL_H_
