// One connection to the storage's database engine, whichever it is (SQLite
// or PostgreSQL): statements with bound values, rows read column by column,
// transactions. A connection serves one thread at a time.
#ifndef ORBE_SERVER_SQL_CONNECTION_H_
#define ORBE_SERVER_SQL_CONNECTION_H_

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "statement_model.h"

namespace orbe::server {

enum class SqlDialect : std::uint8_t { kSqlite, kPostgres };

// A result row; valid only inside the row callback.
class SqlRow {
 public:
  virtual ~SqlRow() = default;
  virtual bool IsNull(int column) const = 0;
  // Numbers convert as SQLite converts them: a real truncates to an integer,
  // a NULL or a text that is no number reads as 0.
  virtual std::int64_t Integer(int column) const = 0;
  virtual double Real(int column) const = 0;
  // The bytes of a text, a number in decimal; NULL reads as empty.
  virtual std::string_view Text(int column) const = 0;
};

// Returns false to stop reading further rows (the query still succeeds).
using RowSink = std::function<bool(const SqlRow&)>;
// The row of key `index` of a keyed query.
using KeyedRowSink = std::function<bool(std::size_t index, const SqlRow&)>;

// How a transaction is opened.
enum class TransactionKind : std::uint8_t {
  kSnapshot,  // reads only, every statement sees the same committed state
  kWrite,     // the writes of one request and their stamp change
};

class SqlConnection {
 public:
  virtual ~SqlConnection() = default;
  virtual SqlDialect Dialect() const = 0;

  // Runs one statement whose parameters are written ?1, ?2, ... (or ? in
  // order), bound to `values`; calls `sink` for each row. False on a storage
  // failure, with LastError() set.
  virtual bool Query(std::string_view sql, std::span<const SqlValue> values, const RowSink& sink) = 0;
  // A statement without result rows; `changes` receives the rows it changed.
  virtual bool Execute(std::string_view sql, std::span<const SqlValue> values, std::int64_t* changes) = 0;
  // Runs `sql` once per key, the key bound as ?1 and `fixed` as ?2, ...; the
  // sink hears the first row of each key that has one, in key order.
  virtual bool QueryPerKey(std::string_view sql, std::span<const std::string> keys,
                           std::span<const SqlValue> fixed, const KeyedRowSink& sink) = 0;

  // `table` is the table a write changes: writers of one table take their
  // turns across every server of the database.
  virtual bool Begin(TransactionKind kind, std::uint32_t table) = 0;
  virtual bool Commit() = 0;
  virtual void Rollback() = 0;
  // Committed data into the database files themselves (a no-op where every
  // commit already is there).
  virtual bool Flush() = 0;

  virtual std::string LastError() const = 0;
};

// Rolls back unless committed.
class SqlTransaction {
 public:
  SqlTransaction(SqlConnection& connection, TransactionKind kind, std::uint32_t table = 0)
      : connection_(connection), open_(connection.Begin(kind, table)) {}
  ~SqlTransaction() {
    if (open_) connection_.Rollback();
  }
  SqlTransaction(const SqlTransaction&) = delete;
  SqlTransaction& operator=(const SqlTransaction&) = delete;

  bool Open() const { return open_; }
  bool Commit() {
    if (!open_) return false;
    open_ = false;
    return connection_.Commit();
  }

 private:
  SqlConnection& connection_;
  bool open_;
};

}  // namespace orbe::server

#endif  // ORBE_SERVER_SQL_CONNECTION_H_
