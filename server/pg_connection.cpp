#include "pg_connection.h"

#include <libpq-fe.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "orbe/platform/text.h"

namespace orbe::server {
namespace {

// Beyond this many prepared statements a connection drops them all and
// starts afresh (the statement builder can make many different texts).
constexpr std::size_t kMaxPreparedStatements = 256;
// The first key of the advisory locks that order the writers of one table.
constexpr int kWriteLockSpace = 0x6F726265;  // "orbe"

bool IsLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsDigit(unsigned char byte) { return byte >= 0x30 && byte <= 0x39; }

// libpq's messages end with a line feed; log lines add their own.
std::string Trimmed(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

void AppendByte(std::string* out, unsigned char byte) { *out += Format("\\x%02X", byte); }

// One GBK character of a value, in the forms statement_match cuts them into.
constexpr const char* kAnyByte = "[\\x01-\\xFF]";
constexpr const char* kCharacter =
    "(?:[\\x81-\\xFE][\\x30-\\x39][\\x01-\\xFF][\\x01-\\xFF]"  // four bytes
    "|[\\x81-\\xFE][\\x30-\\x39](?=[\\x01-\\xFF]?$)"           // lead and digit near the end: two
    "|[\\x81-\\xFE][^\\x30-\\x39]"                             // two
    "|[\\x81-\\xFE]$"                                          // a lone lead byte at the end
    "|[^\\x81-\\xFE])";                                        // one

// A literal character of the pattern that must be one whole character of the
// value: its bytes, and what tells that the value's character ends there.
void AppendLiteral(std::string* out, std::string_view character) {
  for (const char byte : character) AppendByte(out, static_cast<unsigned char>(byte));
  const auto lead = static_cast<unsigned char>(character[0]);
  if (character.size() == 1 && IsLead(lead)) {
    *out += "$";
  } else if (character.size() == 2 && IsDigit(static_cast<unsigned char>(character[1]))) {
    *out += Format("(?=%s?$)", kAnyByte);
  }
}

class TextParameters {
 public:
  // False when a text holds a NUL byte, which a PostgreSQL text cannot.
  bool Set(std::span<const SqlValue> values) {
    storage_.clear();
    storage_.reserve(values.size());
    pointers_.clear();
    for (const SqlValue& value : values) {
      switch (value.kind) {
        case SqlValue::Kind::kNull:
          storage_.emplace_back();
          break;
        case SqlValue::Kind::kInteger:
          storage_.push_back(std::to_string(value.integer));
          break;
        case SqlValue::Kind::kReal:
          storage_.push_back(std::isnan(value.real)   ? "NaN"
                             : std::isinf(value.real) ? (value.real > 0 ? "Infinity" : "-Infinity")
                                                      : Format("%.17g", value.real));
          break;
        case SqlValue::Kind::kText:
          if (value.text.find('\0') != std::string::npos) return false;
          storage_.push_back(value.text);
          break;
      }
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      pointers_.push_back(values[i].kind == SqlValue::Kind::kNull ? nullptr : storage_[i].c_str());
    }
    return true;
  }
  int Count() const { return static_cast<int>(pointers_.size()); }
  const char* const* Values() const { return pointers_.data(); }

 private:
  std::vector<std::string> storage_;
  std::vector<const char*> pointers_;
};

}  // namespace

std::string PostgresPlaceholders(std::string_view sql, std::string_view first) {
  std::string out;
  out.reserve(sql.size() + 8);
  int next = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'') quoted = !quoted;
    if (c != '?' || quoted) {
      out += c;
      continue;
    }
    std::size_t end = i + 1;
    while (end < sql.size() && sql[end] >= '0' && sql[end] <= '9') ++end;
    int number = ++next;
    if (end > i + 1) std::from_chars(sql.data() + i + 1, sql.data() + end, number);
    if (number == 1 && !first.empty()) {
      out += first;
    } else {
      out += "$" + std::to_string(number);
    }
    i = end - 1;
  }
  return out;
}

std::string PatternRegex(std::string_view pattern) {
  std::string regex = std::string("^") + kCharacter + "*?";
  for (std::size_t i = 0; i < pattern.size();) {
    const auto lead = static_cast<unsigned char>(pattern[i]);
    std::size_t length = 1;
    if (IsLead(lead) && i + 1 < pattern.size()) {
      const bool four = IsDigit(static_cast<unsigned char>(pattern[i + 1])) && i + 3 < pattern.size();
      length = four ? 4 : 2;
    }
    const std::string_view character = pattern.substr(i, length);
    i += length;
    if (character == "%") {
      regex += std::string(kCharacter) + "*";
    } else if (character == "_") {
      regex += kCharacter;
    } else {
      AppendLiteral(&regex, character);
    }
  }
  return regex;
}

std::string TextArrayLiteral(std::span<const std::string> keys) {
  std::string literal = "{";
  for (const std::string& key : keys) {
    if (literal.size() > 1) literal += ',';
    literal += '"';
    for (const char c : key) {
      if (c == '"' || c == '\\') literal += '\\';
      literal += c;
    }
    literal += '"';
  }
  return literal + "}";
}

// A result owned until the rows have been read.
class PgConnection::Result final : public SqlRow {
 public:
  explicit Result(PGresult* result) : result_(result) {}
  ~Result() override { PQclear(result_); }
  Result(const Result&) = delete;
  Result& operator=(const Result&) = delete;

  int Rows() const { return PQntuples(result_); }
  void At(int row, int offset = 0) {
    row_ = row;
    offset_ = offset;
  }
  std::int64_t Changes() const {
    const char* text = PQcmdTuples(result_);
    return text != nullptr ? std::strtoll(text, nullptr, 10) : 0;
  }

  bool IsNull(int column) const override { return PQgetisnull(result_, row_, column + offset_) != 0; }
  std::string_view Text(int column) const override {
    return {PQgetvalue(result_, row_, column + offset_),
            static_cast<std::size_t>(PQgetlength(result_, row_, column + offset_))};
  }
  std::int64_t Integer(int column) const override {
    const std::string_view text = Text(column);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc() && end == text.data() + text.size()) return value;
    return static_cast<std::int64_t>(Real(column));  // numeric results such as SUM
  }
  double Real(int column) const override {
    if (IsNull(column)) return 0;
    return std::strtod(PQgetvalue(result_, row_, column + offset_), nullptr);
  }

 private:
  PGresult* result_;
  int row_ = 0;
  int offset_ = 0;
};

std::unique_ptr<PgConnection> PgConnection::Open(const std::string& uri, std::string* error) {
  // Texts cross as the bytes they are: no conversion on either side.
  const char* const keys[] = {"dbname", "client_encoding", "application_name", nullptr};
  const char* const values[] = {uri.c_str(), "SQL_ASCII", "orbe-dataserver", nullptr};
  PGconn* raw = PQconnectdbParams(keys, values, 1);
  if (raw == nullptr || PQstatus(raw) != CONNECTION_OK) {
    *error = Trimmed(Format("cannot connect to PostgreSQL: %s", raw ? PQerrorMessage(raw) : "out of memory"));
    if (raw != nullptr) PQfinish(raw);
    return nullptr;
  }
  std::unique_ptr<PgConnection> connection(new PgConnection(raw));
  std::string encoding;
  std::string collation;
  const bool read = connection->Query(
      "SELECT pg_encoding_to_char(encoding), datcollate FROM pg_database WHERE datname = current_database()", {},
      [&](const SqlRow& row) {
        encoding = row.Text(0);
        collation = row.Text(1);
        return false;
      });
  if (!read) {
    *error = connection->LastError();
    return nullptr;
  }
  if (encoding != "SQL_ASCII" || (collation != "C" && collation != "POSIX")) {
    *error = Format(
        "PostgreSQL database has encoding %s and collation %s; the service stores GBK bytes as they are and "
        "needs SQL_ASCII and C (createdb -E SQL_ASCII --locale=C -T template0 NAME)",
        encoding.c_str(), collation.c_str());
    return nullptr;
  }
  return connection;
}

PgConnection::~PgConnection() { PQfinish(connection_); }

bool PgConnection::Run(const std::string& sql) {
  PGresult* result = PQexec(connection_, sql.c_str());
  const ExecStatusType status = PQresultStatus(result);
  const bool ok = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
  if (!ok) {
    error_ = Trimmed(Format("%s: %s", sql.substr(0, 60).c_str(), PQresultErrorMessage(result)));
  }
  PQclear(result);
  return ok;
}

std::unique_ptr<PgConnection::Result> PgConnection::ExecOnce(const std::string& sql,
                                                             std::span<const SqlValue> values) {
  TextParameters parameters;
  if (!parameters.Set(values)) {
    error_ = "a text with a NUL byte cannot be stored in PostgreSQL";
    return nullptr;
  }
  auto found = statements_.find(sql);
  if (found == statements_.end()) {
    if (statements_.size() >= kMaxPreparedStatements) {
      if (!Run("DEALLOCATE ALL")) return nullptr;
      statements_.clear();
    }
    const std::string name = "orbe" + std::to_string(next_statement_++);
    PGresult* prepared = PQprepare(connection_, name.c_str(), sql.c_str(), 0, nullptr);
    const bool ok = PQresultStatus(prepared) == PGRES_COMMAND_OK;
    if (!ok) {
      error_ = Trimmed(Format("prepare: %s", PQresultErrorMessage(prepared)));
    }
    PQclear(prepared);
    if (!ok) return nullptr;
    found = statements_.emplace(sql, name).first;
  }
  PGresult* result = PQexecPrepared(connection_, found->second.c_str(), parameters.Count(), parameters.Values(),
                                    nullptr, nullptr, 0);
  const ExecStatusType status = PQresultStatus(result);
  if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
    error_ = Trimmed(Format("statement: %s", PQresultErrorMessage(result)));
    PQclear(result);
    return nullptr;
  }
  return std::make_unique<Result>(result);
}

std::unique_ptr<PgConnection::Result> PgConnection::Exec(const std::string& sql, std::span<const SqlValue> values) {
  auto result = ExecOnce(sql, values);
  // A database restart drops the connection; outside a transaction the
  // statement can simply run again on a new one.
  if (result == nullptr && !in_transaction_ && PQstatus(connection_) == CONNECTION_BAD) {
    PQreset(connection_);
    statements_.clear();
    if (PQstatus(connection_) == CONNECTION_OK) result = ExecOnce(sql, values);
  }
  return result;
}

bool PgConnection::Query(std::string_view sql, std::span<const SqlValue> values, const RowSink& sink) {
  const auto result = Exec(PostgresPlaceholders(sql), values);
  if (result == nullptr) return false;
  for (int row = 0; row < result->Rows(); ++row) {
    result->At(row);
    if (!sink(*result)) break;
  }
  return true;
}

bool PgConnection::Execute(std::string_view sql, std::span<const SqlValue> values, std::int64_t* changes) {
  const auto result = Exec(PostgresPlaceholders(sql), values);
  if (result == nullptr) return false;
  if (changes != nullptr) *changes = result->Changes();
  return true;
}

bool PgConnection::QueryPerKey(std::string_view sql, std::span<const std::string> keys,
                               std::span<const SqlValue> fixed, const KeyedRowSink& sink) {
  // One statement for every key: the per-key query joined laterally to the
  // list, instead of one round trip per key.
  const std::string joined = "SELECT k.n, v.* FROM unnest($1::text[]) WITH ORDINALITY AS k(orbe_key, n)"
                             " CROSS JOIN LATERAL (SELECT * FROM (" +
                             PostgresPlaceholders(sql, "k.orbe_key") + ") AS q LIMIT 1) AS v ORDER BY k.n";
  std::vector<SqlValue> values;
  values.push_back(SqlValue::Text(TextArrayLiteral(keys)));
  values.insert(values.end(), fixed.begin(), fixed.end());
  const auto result = Exec(joined, values);
  if (result == nullptr) return false;
  for (int row = 0; row < result->Rows(); ++row) {
    result->At(row);
    const auto index = static_cast<std::size_t>(result->Integer(0) - 1);
    result->At(row, 1);
    if (index >= keys.size()) continue;
    if (!sink(index, *result)) break;
  }
  return true;
}

bool PgConnection::Begin(TransactionKind kind, std::uint32_t table) {
  if (in_transaction_) return false;
  if (kind == TransactionKind::kSnapshot) {
    in_transaction_ = Run("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    return in_transaction_;
  }
  if (!Run("BEGIN")) return false;
  in_transaction_ = true;
  // Writers of one table, from any server, run one after another, so that
  // the statements of a write (INSERT BACK deletes, then inserts) and its
  // stamp raise are never interleaved with another writer's.
  if (!Run(Format("SELECT pg_advisory_xact_lock(%d, %d)", kWriteLockSpace, static_cast<int>(table)))) {
    Rollback();
    return false;
  }
  return true;
}

bool PgConnection::Commit() {
  in_transaction_ = false;
  return Run("COMMIT");
}

void PgConnection::Rollback() {
  in_transaction_ = false;
  Run("ROLLBACK");
}

}  // namespace orbe::server
