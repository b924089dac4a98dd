// The real orbe-dataserver (data and file server) over a small sample market
// with one more table, 100000099 "报表测试", whose rows the report tests
// choose, and the module's main session on it for the test program.
#ifndef ORBE_TESTS_REPORTS_REPORT_SERVER_H_
#define ORBE_TESTS_REPORTS_REPORT_SERVER_H_

#include <sqlite3.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "dataservice/transfer_server.h"
#include "host/host_session.h"

namespace orbe_test {

// One row of the test table: T001 the case, T002 a date, T003 a number,
// T004 a text (dates written as text, links), T005 an integer.
struct TestRow {
  std::string name;
  int date = 0;
  double number = 0;
  std::string text;
  int integer = 0;
};

inline constexpr int kTestTable = 100000099;

class ReportServer {
 public:
  // False with error() when the market cannot be made or nothing starts.
  bool Start(const std::string& name, const std::vector<TestRow>& rows) {
    folder_ = ScratchFolder(name);
    const std::string db = folder_ + "market.db";
    const std::string make = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver --make-sample " + db +
                             " --scale 0.002 >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0) return Failed("the sample market was not made");
    if (!AddTestTable(db, rows)) return Failed("the test table was not added");
    if (!server_.Start(folder_)) return Failed("orbe-dataserver did not start");
    orbe::HostSessionOptions options;
    options.data_service = {"127.0.0.1", server_.DataPort()};
    options.file_server = orbe::HostAddress{"127.0.0.1", server_.FilePort()};
    options.private_folder = folder_ + "home/";
    session_ = orbe::HostSession::Start(options, nullptr, &error_);
    return session_ != nullptr;
  }

  void Stop() {
    session_.reset();
    server_.Stop(SIGTERM);
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  const std::string& Folder() const { return folder_; }
  const std::string& Database() const { return server_.Database(); }
  const std::string& error() const { return error_; }
  int DataPort() const { return server_.DataPort(); }
  int FilePort() const { return server_.FilePort(); }

 private:
  bool Failed(const std::string& error) {
    error_ = error;
    return false;
  }

  static bool AddTestTable(const std::string& db, const std::vector<TestRow>& rows) {
    sqlite3* handle = nullptr;
    if (sqlite3_open(db.c_str(), &handle) != SQLITE_OK) return false;
    const std::string table = std::to_string(kTestTable);
    const std::string schema =
        "INSERT INTO orbe_tables SELECT " + table + ", '报表测试', 1, MAX(seq) + 1 FROM orbe_tables;"
        "INSERT INTO orbe_fields VALUES (" + table + ", 1, 1, 2, 12, '', '用例')," +
        "(" + table + ", 2, 2, 9, 4, '', '日期'),(" + table + ", 3, 3, 8, 8, '', '数值')," +
        "(" + table + ", 4, 4, 2, 40, '', '文本'),(" + table + ", 5, 5, 4, 4, '', '整数');"
        "INSERT INTO orbe_timestamps VALUES (" + table + ", 1796032800);"
        "CREATE TABLE t" + table + " (T001 TEXT, T002 INTEGER, T003 REAL, T004 TEXT, T005 INTEGER);"
        "CREATE INDEX t" + table + "_case ON t" + table + " (T001);";
    bool ok = sqlite3_exec(handle, schema.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* insert = nullptr;
    ok = ok && sqlite3_prepare_v2(handle, ("INSERT INTO t" + table + " VALUES (?, ?, ?, ?, ?)").c_str(), -1,
                                  &insert, nullptr) == SQLITE_OK;
    sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr);
    for (const TestRow& row : rows) {
      if (!ok) break;
      sqlite3_bind_text(insert, 1, row.name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(insert, 2, row.date);
      sqlite3_bind_double(insert, 3, row.number);
      sqlite3_bind_text(insert, 4, row.text.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(insert, 5, row.integer);
      ok = sqlite3_step(insert) == SQLITE_DONE && sqlite3_reset(insert) == SQLITE_OK;
    }
    sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(insert);
    sqlite3_close(handle);
    return ok;
  }

  std::string folder_;
  std::string error_;
  TransferServer server_;
  std::unique_ptr<orbe::HostSession> session_;
};

}  // namespace orbe_test

#endif  // ORBE_TESTS_REPORTS_REPORT_SERVER_H_
