// The reference loaders end to end: InitDataEngin with the real engine and the
// real reply cache against orbe-dataserver on a sample market large enough to
// page. The server logs every request (--log-level info), which is how the
// tests count the calls that reached it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "dataservice/reply_sql_handle.h"
#include "dataservice/transfer_server.h"
#include "support/component_reexec.h"
#include "support/server_process.h"
#include "env/module_state.h"
#include "orbe/dictionary/reference_loaders.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "orbe/topics/topics.h"

namespace {

// The real engine and the real cache: the loaders' caching is what is tested.
bool RunWithRealComponents() {
  const std::string lib = ORBE_TEST_LIB_DIR;
  return orbe_test::RunWithComponentFolder(orbe_test::LinkComponentFolder(
      "orbe_refload_components", lib + "/libFinDataComm.so", lib + "/libFinCacheStore.so"));
}

const bool kWithRealComponents = RunWithRealComponents();

// Scale 0.15 has about 1100 securities and 600 companies: both main sets span pages.
constexpr const char* kScale = "0.15";
constexpr int kPageRows = 500;

// One sample market for every test of the run; each test serves a copy.
const std::string& SampleMarket() {
  static const std::string path = [] {
    const std::string folder = orbe_test::ScratchFolder("refload_sample");
    const std::string db = folder + "market.db";
    const std::string make = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver --make-sample " + db +
                             " --scale " + kScale + " >/dev/null 2>&1";
    return std::system(make.c_str()) == 0 ? db : std::string();
  }();
  return path;
}

class Database {
 public:
  explicit Database(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
  ~Database() { sqlite3_close(db_); }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  long long Count(const std::string& sql) const {
    sqlite3_stmt* statement = nullptr;
    long long count = -1;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
      count = sqlite3_column_int64(statement, 0);
    }
    sqlite3_finalize(statement);
    return count;
  }
  std::string Text(const std::string& sql) const {
    sqlite3_stmt* statement = nullptr;
    std::string text;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr) {
      text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    return text;
  }
  bool Execute(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == 0; }

 private:
  sqlite3* db_ = nullptr;
};

// orbe-dataserver with its request log in a file.
class LoggingServer {
 public:
  LoggingServer() = default;
  LoggingServer(const LoggingServer&) = delete;
  LoggingServer& operator=(const LoggingServer&) = delete;
  ~LoggingServer() { Stop(); }

  bool Start(const std::string& db, const std::string& folder) {
    log_ = folder + "server.log";
    const orbe_test::ServerProcess process = orbe_test::SpawnDataServer(
        {"--db", db, "--port", "0", "--file-root", folder + "files", "--log-level", "info"}, log_, 1);
    pid_ = process.pid;
    unsigned port = 0;
    if (process.lines.empty() || std::sscanf(process.lines[0].c_str(), "listening on 127.0.0.1:%u", &port) != 1) {
      return false;
    }
    port_ = static_cast<int>(port);
    return true;
  }
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  int Port() const { return port_; }
  // Procedure calls served so far. The server logs a request before its reply
  // goes out, so every call the client saw answered is counted.
  int Calls() const {
    std::ifstream in(log_);
    int calls = 0;
    for (std::string line; std::getline(in, line);) {
      if (line.find("code=2023 ") != std::string::npos) ++calls;
    }
    return calls;
  }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string log_;
};

std::string Field(const char* field, std::size_t size) { return orbe::FieldText(field, size); }

class ReferenceLoaderE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithRealComponents);
    ASSERT_FALSE(SampleMarket().empty());
    folder_ = orbe_test::ScratchFolder("refload");
    db_ = folder_ + "market.db";
    std::filesystem::copy_file(SampleMarket(), db_);
    ini_ = folder_ + "comm.ini";
    SetPrivPath(folder_);
    orbe::ForgetTopicLoads();
  }
  void TearDown() override {
    while (orbe::State().init_flag) UnInitDataEngin();
    UnInitDataEngin();
    orbe::ForgetTopicLoads();
    server_.Stop();
    std::filesystem::remove_all(folder_);
  }
  void Serve(int general_database) {
    ASSERT_TRUE(server_.Start(db_, folder_));
    Put("CWSYS", "CWHostNum", "1");
    Put("CWSYS", "CWHost01", "127.0.0.1");
    Put("CWSYS", "CWPort01", std::to_string(server_.Port()));
    Put("CWSYS", "GeneralDB", std::to_string(general_database));
  }
  void Put(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(orbe::WriteProfileString(ini_, section, key, value));
  }
  // -1: the general database comes from the configuration file.
  unsigned int Start() { return InitDataEngin(folder_ + "cache/", ini_, -1, nullptr); }
  const orbe::ReferenceTables& Tables() const { return GetGlobalMainOrbeClientSession()->References(); }
  std::int64_t CachedStamp(const char* key) {
    ReplySqlHandle handle(GetGlobalMainOrbeClientSession(), nullptr, 0);
    return handle.GetCacheTimeStamp(key);
  }
  // One call per page, and one more for the empty page that ends the set.
  static int PagedCalls(long long rows) { return static_cast<int>((rows + kPageRows - 1) / kPageRows) + 1; }

  std::string folder_;
  std::string db_;
  std::string ini_;
  LoggingServer server_;
};

TEST_F(ReferenceLoaderE2eTest, MainTablesLoadInFullAndASecondStartReadsThePagesFromTheCache) {
  long long securities = 0;
  long long companies = 0;
  {
    const Database db(db_);
    securities = db.Count("SELECT count(*) FROM t100000001");
    companies = db.Count("SELECT count(*) FROM t100000002 WHERE substr(T002, 1, 1) NOT IN ('2', '9')");
    ASSERT_GT(securities, kPageRows);
    ASSERT_GT(companies, kPageRows);
  }
  Serve(0);
  ASSERT_EQ(Start(), 1u);
  ASSERT_EQ(static_cast<long long>(Tables().SecuMain().size()), securities);
  ASSERT_EQ(static_cast<long long>(Tables().ListedCmp().size()), companies);
  const int first_calls = server_.Calls();
  EXPECT_EQ(first_calls, 2 + PagedCalls(securities) + PagedCalls(Database(db_).Count("SELECT count(*) FROM t100000002")));
  {
    const Database db(db_);
    const tagSECUMAIN last = Tables().SecuMain().back();
    const std::string inner = Field(last.InnerCode, sizeof last.InnerCode);
    EXPECT_EQ(Field(last.SecuCode, sizeof last.SecuCode),
              db.Text("SELECT T003 FROM t100000001 WHERE T001 = '" + inner + "'"));
    EXPECT_EQ(Field(last.CompanyCode, sizeof last.CompanyCode),
              db.Text("SELECT T002 FROM t100000001 WHERE T001 = '" + inner + "'"));
    const tagLISTEDCMP company = Tables().ListedCmp().front();
    const std::string code = Field(company.SecuCode, sizeof company.SecuCode);
    EXPECT_EQ(Field(company.Industry997, sizeof company.Industry997),
              db.Text("SELECT T012 FROM t100000002 WHERE T002 = '" + code + "'"));
  }
  EXPECT_GT(CachedStamp("sys_get_main_table_v2|00"), 0);
  EXPECT_GT(CachedStamp("sys_get_main_table_v2|10"), 0);

  // Unchanged stamps: only the two stamp calls reach the server.
  UnInitDataEngin();
  ASSERT_EQ(Start(), 1u);
  EXPECT_EQ(server_.Calls() - first_calls, 2);
  EXPECT_EQ(static_cast<long long>(Tables().SecuMain().size()), securities);
  EXPECT_EQ(static_cast<long long>(Tables().ListedCmp().size()), companies);
}

TEST_F(ReferenceLoaderE2eTest, DatabaseThreeLoadsTheTopicsAndAStampZeroSetIsNeverCached) {
  long long funds = 0;
  {
    Database db(db_);
    // The fund table loses its stamp row: its set answers stamp 0.
    ASSERT_TRUE(db.Execute("DELETE FROM orbe_timestamps WHERE table_number = 100000040"));
    funds = db.Count("SELECT count(*) FROM t100000040");
  }
  Serve(3);
  ASSERT_EQ(Start(), 1u);
  {
    const Database db(db_);
    EXPECT_EQ(static_cast<long long>(Tables().JJInfo().size()), funds);
    EXPECT_EQ(static_cast<long long>(Tables().ZQInfo().size()), db.Count("SELECT count(*) FROM t100000050"));
    EXPECT_EQ(static_cast<long long>(Tables().QHInfo().size()), db.Count("SELECT count(*) FROM t100000060"));
    // Every board row, plus one row per stock that is on no board.
    EXPECT_EQ(static_cast<long long>(Tables().GGInfo().size()),
              db.Count("SELECT count(*) FROM t100000071") +
                  db.Count("SELECT count(*) FROM t100000070 WHERE T001 NOT IN (SELECT T002 FROM t100000071)"));
  }
  for (const tagQHINFO& contract : Tables().QHInfo()) {
    EXPECT_NE(Field(contract.VarietyName, sizeof contract.VarietyName), "");
    EXPECT_NE(Field(contract.ExchangeName, sizeof contract.ExchangeName), "");
  }
  int suffixed = 0;
  for (const tagZQINFO& bond : Tables().ZQInfo()) {
    suffixed += Field(bond.BondCode, sizeof bond.BondCode).find('.') != std::string::npos;
  }
  EXPECT_GT(suffixed, 0);
  for (const tagGGINFO& stock : Tables().GGInfo()) {
    EXPECT_NE(Field(stock.CompanyCode, sizeof stock.CompanyCode), "");
  }
  EXPECT_EQ(CachedStamp("sys_get_jj_info|00"), -1);
  EXPECT_GT(CachedStamp("sys_get_zq_info_v3|00"), 0);

  // The topics were loaded into the main session: the initialisers do not reload.
  const int first_calls = server_.Calls();
  EXPECT_TRUE(CKvxGGztWnd::InitGGSession(nullptr));
  EXPECT_TRUE(CKvxJJztWnd::InitJJSession(nullptr));
  EXPECT_TRUE(CKvxQHztWnd::InitQHSession(nullptr));
  EXPECT_TRUE(CKvxZQztWnd::InitZQSession(nullptr));
  EXPECT_EQ(server_.Calls(), first_calls);

  // A second start asks for every stamp; only the stamp-0 fund set is read again.
  UnInitDataEngin();
  ASSERT_EQ(Start(), 1u);
  const int stamps = 2 + 5 + 1 + 1 + 5;
  EXPECT_EQ(server_.Calls() - first_calls, stamps + PagedCalls(funds));
  EXPECT_EQ(static_cast<long long>(Tables().JJInfo().size()), funds);
  EXPECT_EQ(CachedStamp("sys_get_jj_info|00"), -1);
}

TEST_F(ReferenceLoaderE2eTest, InitGGSessionLoadsOnceIntoTheMainSession) {
  Serve(0);
  ASSERT_EQ(Start(), 1u);
  EXPECT_TRUE(Tables().GGInfo().empty());
  const int before = server_.Calls();
  EXPECT_TRUE(CKvxGGztWnd::InitGGSession(nullptr));
  const int after_first = server_.Calls();
  EXPECT_GT(after_first, before + 5);
  EXPECT_FALSE(Tables().GGInfo().empty());
  const std::size_t rows = Tables().GGInfo().size();
  EXPECT_TRUE(CKvxGGztWnd::InitGGSession(nullptr));
  EXPECT_EQ(server_.Calls(), after_first);
  EXPECT_EQ(Tables().GGInfo().size(), rows);
}

}  // namespace
