// The sample market into PostgreSQL: each table's rows in COPY text,
// sent in large pieces, all in the caller's one transaction.
#include <libpq-fe.h>

#include "orbe/platform/text.h"
#include "pg_connection.h"
#include "sample/sample_store.h"

namespace orbe::sample {
namespace {

// Rows are sent once this much COPY text has gathered for a table.
constexpr std::size_t kCopyBatchBytes = 4u << 20;

void AppendCopyText(std::string* out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '\\': *out += "\\\\"; break;
      case '\n': *out += "\\n"; break;
      case '\r': *out += "\\r"; break;
      case '\t': *out += "\\t"; break;
      default: *out += c;
    }
  }
}

class CopyRows final : public RowTarget {
 public:
  CopyRows(server::PgConnection& connection, std::string command)
      : connection_(connection), command_(std::move(command)) {}

  bool Append(const Row& row, std::string* error) override {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) batch_ += '\t';
      const Value& value = row[i];
      if (const std::int64_t* integer = std::get_if<std::int64_t>(&value)) {
        batch_ += std::to_string(*integer);
      } else if (const double* real = std::get_if<double>(&value)) {
        batch_ += Format("%.17g", *real);  // the same double as SQLite keeps
      } else if (const std::string* text = std::get_if<std::string>(&value)) {
        AppendCopyText(&batch_, *text);
      } else {
        batch_ += "\\N";
      }
    }
    batch_ += '\n';
    return batch_.size() < kCopyBatchBytes || Send(error);
  }
  bool Finish(std::string* error) override { return batch_.empty() || Send(error); }

 private:
  bool Send(std::string* error) {
    PGconn* connection = connection_.Handle();
    PGresult* started = PQexec(connection, command_.c_str());
    const bool copying = PQresultStatus(started) == PGRES_COPY_IN;
    PQclear(started);
    bool ok = copying && PQputCopyData(connection, batch_.data(), static_cast<int>(batch_.size())) == 1;
    ok = PQputCopyEnd(connection, ok ? nullptr : "refused") == 1 && ok;
    while (PGresult* result = PQgetResult(connection)) {
      ok = ok && PQresultStatus(result) == PGRES_COMMAND_OK;
      PQclear(result);
    }
    if (!ok) *error = PQerrorMessage(connection);
    batch_.clear();
    return ok;
  }

  server::PgConnection& connection_;
  const std::string command_;
  std::string batch_;
};

class PgDatabase final : public SampleDatabase {
 public:
  explicit PgDatabase(std::unique_ptr<server::PgConnection> connection) : connection_(std::move(connection)) {}

  server::SqlDialect Dialect() const override { return server::SqlDialect::kPostgres; }
  bool Execute(const std::string& sql, std::string* error) override {
    if (connection_->Run(sql)) return true;
    *error = connection_->LastError();
    return false;
  }
  std::unique_ptr<RowTarget> Rows(const std::string& table, const std::vector<std::string>& columns,
                                  std::string*) override {
    std::string names;
    for (const std::string& column : columns) names += (names.empty() ? "" : ", ") + column;
    return std::make_unique<CopyRows>(*connection_, "COPY " + table + " (" + names + ") FROM STDIN");
  }

 private:
  std::unique_ptr<server::PgConnection> connection_;
};

}  // namespace

std::unique_ptr<SampleStore> SampleStore::OpenPostgres(const std::string& uri, std::string* error) {
  auto connection = server::PgConnection::Open(uri, error);
  if (!connection) return nullptr;
  return std::make_unique<SampleStore>(std::make_unique<PgDatabase>(std::move(connection)));
}

}  // namespace orbe::sample
