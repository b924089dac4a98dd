// The PostgreSQL side of SqlConnection, through libpq: statements prepared
// once per connection, values bound as parameters (never spliced into the
// text), results read as text. The database holds GBK bytes untouched: it
// must use the SQL_ASCII encoding and the C collation (docs/storage.md).
#ifndef ORBE_SERVER_PG_CONNECTION_H_
#define ORBE_SERVER_PG_CONNECTION_H_

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "sql_connection.h"

struct pg_conn;

namespace orbe::server {

// ?N (and bare ?, numbered in order) become $N outside quoted literals; with
// `first` set, ?1 becomes that text instead (a column of an outer query).
std::string PostgresPlaceholders(std::string_view sql, std::string_view first = {});

// The regular expression that matches what ContainsPattern matches: the
// value holds a run matching the pattern ("%" any characters, "_" one), on
// whole GBK characters. Bound as a parameter of the "~" operator.
std::string PatternRegex(std::string_view pattern);

// A text array literal of the keys, for unnest().
std::string TextArrayLiteral(std::span<const std::string> keys);

class PgConnection final : public SqlConnection {
 public:
  // Connects and checks the database's encoding and collation. Null and
  // `error` set when either fails.
  static std::unique_ptr<PgConnection> Open(const std::string& uri, std::string* error);
  ~PgConnection() override;

  SqlDialect Dialect() const override { return SqlDialect::kPostgres; }
  bool Query(std::string_view sql, std::span<const SqlValue> values, const RowSink& sink) override;
  bool Execute(std::string_view sql, std::span<const SqlValue> values, std::int64_t* changes) override;
  bool QueryPerKey(std::string_view sql, std::span<const std::string> keys, std::span<const SqlValue> fixed,
                   const KeyedRowSink& sink) override;
  bool Begin(TransactionKind kind, std::uint32_t table) override;
  bool Commit() override;
  void Rollback() override;
  bool Flush() override { return true; }
  std::string LastError() const override { return error_; }

  // Runs a text without parameters (schema statements); false with LastError().
  bool Run(const std::string& sql);
  pg_conn* Handle() const { return connection_; }

 private:
  explicit PgConnection(pg_conn* connection) : connection_(connection) {}
  class Result;
  // Runs the translated statement with the values; null on failure.
  std::unique_ptr<Result> Exec(const std::string& sql, std::span<const SqlValue> values);
  std::unique_ptr<Result> ExecOnce(const std::string& sql, std::span<const SqlValue> values);

  pg_conn* connection_;
  std::unordered_map<std::string, std::string> statements_;  // translated text -> statement name
  std::size_t next_statement_ = 0;
  bool in_transaction_ = false;
  std::string error_;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_PG_CONNECTION_H_
