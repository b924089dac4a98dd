// Shared by the procedure tests: a scale-0.01 sample market served by the
// real orbe-dataserver, call requests over the wire, and a reader of the
// results in the order a loader pops them.
#ifndef ORBE_TESTS_SERVER_PROCEDURE_TEST_SUPPORT_H_
#define ORBE_TESTS_SERVER_PROCEDURE_TEST_SUPPORT_H_

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "procedure_call.h"
#include "protocol/requests.h"
#include "sample/sample_market.h"
#include "server_fixture.h"

namespace orbe::testing {

using Rows = std::vector<std::vector<std::string>>;

// Every column as text (NULL as empty), in the query's order.
inline Rows QueryRows(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  Rows rows;
  while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int column = 0; column < sqlite3_column_count(statement); ++column) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      row.emplace_back(text ? text : "");
    }
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(statement);
  return rows;
}

inline void Execute(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
}

// Pops values front to back; every read checks the bytes left.
class ResultReader {
 public:
  explicit ResultReader(std::string bytes) : bytes_(std::move(bytes)) {}

  template <typename T>
  T Pop() {
    T value{};
    if (!Fits(sizeof(T))) return value;
    std::memcpy(&value, bytes_.data() + position_, sizeof(T));
    position_ += sizeof(T);
    return value;
  }
  // The text of a fixed field, up to its first NUL.
  std::string PopText(std::size_t width) {
    if (!Fits(width)) return {};
    std::string field = bytes_.substr(position_, width);
    position_ += width;
    return field.substr(0, field.find('\0'));
  }
  std::size_t Left() const { return bytes_.size() - position_; }

 private:
  bool Fits(std::size_t size) {
    EXPECT_LE(size, Left()) << "read past the result";
    return size <= Left();
  }

  std::string bytes_;
  std::size_t position_ = 0;
};

struct CallReply {
  std::int32_t end_status = 0;
  int status = -1;      // the result's status byte; -1 without a data packet
  std::string result;  // the bytes behind it
};

// The sample market, its server and one connection, for one test suite.
class ProcedureServer {
 public:
  // `prepare` may change the database before the server opens it.
  template <typename Prepare>
  void Start(const std::string& name, Prepare prepare) {
    dir_ = TestDirectory(name);
    db_path_ = dir_ + "/market.db";
    std::string error;
    ASSERT_TRUE(sample::MakeSampleMarket(db_path_, 0.01, &error)) << error;
    ASSERT_EQ(sqlite3_open(db_path_.c_str(), &db_), SQLITE_OK);
    prepare(db_);
    port_ = server_.Start({"--db", db_path_, "--port", "0", "--file-root", dir_ + "/files", "--log-level",
                           "warn"});
    ASSERT_NE(port_, 0) << server_.FirstLine();
    fd_ = ConnectLoopback(port_);
    ASSERT_GE(fd_, 0);
  }
  void Stop() {
    if (fd_ >= 0) ::close(fd_);
    server_.Stop();
    sqlite3_close(db_);
    std::filesystem::remove_all(dir_);
  }

  sqlite3* Db() const { return db_; }

  CallReply Send(std::uint16_t code, const std::string& body) {
    const Reply reply = RoundTrip(fd_, wire::EncodeRequest(++request_id_, code, body.substr(2)));
    CallReply call;
    call.end_status = reply.status;
    if (!reply.bodies.empty() && !reply.bodies[0].empty()) {
      call.status = static_cast<unsigned char>(reply.bodies[0][0]);
      call.result = reply.bodies[0].substr(1);
    }
    EXPECT_LE(reply.bodies.size(), 1u);
    return call;
  }
  CallReply Call(const std::string& procedure, const std::string& parameters) {
    return Send(wire::kCodeCall, wire::EncodeCallBody(wire::kCodeCall, procedure, parameters));
  }
  CallReply Reload(const std::string& procedure) {
    return Send(wire::kCodeReload, wire::EncodeCallBody(wire::kCodeReload, procedure, ""));
  }

 private:
  std::string dir_;
  std::string db_path_;
  sqlite3* db_ = nullptr;
  ServerProcess server_;
  std::uint16_t port_ = 0;
  int fd_ = -1;
  std::uint32_t request_id_ = 0;
};

}  // namespace orbe::testing

#endif  // ORBE_TESTS_SERVER_PROCEDURE_TEST_SUPPORT_H_
