// orbe-terminal lookup end to end: the terminal starts the module against a
// real orbe-dataserver (data and file server) and prints what the module's
// lookups found, which must be what the database holds.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "dataservice/transfer_server.h"
#include "orbe/platform/text.h"
#include "support/terminal_run.h"

namespace {

using orbe_test::RunResult;
using orbe_test::RunTerminal;

// The first A-share of the database and its abbreviation (GBK).
struct AShare {
  std::string code;
  std::string abbreviation;
  std::string company;
};

AShare FirstAShare(const std::string& database) {
  sqlite3* db = nullptr;
  AShare found;
  sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, "SELECT T003, T004, T002 FROM t100000001 WHERE T005 = '1' ORDER BY rowid LIMIT 1",
                         -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW) {
    found = {reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)),
             reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)),
             reinterpret_cast<const char*>(sqlite3_column_text(statement, 2))};
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
  return found;
}

TEST(TerminalLookupTest, CodePrintsTheAbbreviationOfTheDatabase) {
  const std::string folder = orbe_test::ScratchFolder("terminal_lookup");
  orbe_test::TransferServer server;
  ASSERT_TRUE(server.Start(folder));
  const auto [code, abbreviation, company] = FirstAShare(server.Database());
  ASSERT_FALSE(code.empty());
  const std::string connection = "--server 127.0.0.1:" + std::to_string(server.DataPort()) +
                                 " --files 127.0.0.1:" + std::to_string(server.FilePort()) + " --home " +
                                 folder + "home --market " + server.Database();
  const RunResult result = RunTerminal("lookup " + connection + " code " + code);
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_NE(result.out.find("abbreviation: " + orbe::GbkToUtf8(abbreviation) + "\n"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("code: " + code + "\n"), std::string::npos) << result.out;

  // A code the market does not have fails with a message.
  const RunResult unknown = RunTerminal("lookup " + connection + " code 999999");
  EXPECT_EQ(unknown.status, 1);
  EXPECT_NE(unknown.out.find("unknown security 999999"), std::string::npos) << unknown.out;

  // A connected report expands the security's company code from the security master.
  const RunResult report = RunTerminal("report-config " + std::string(ORBE_SOURCE_DIR) +
                                       "/data/reports/financial_summary.ini " + code + " " + connection);
  EXPECT_EQ(report.status, 0) << report.out;
  EXPECT_NE(report.out.find("WHERE T002='" + company + "'"), std::string::npos) << report.out;
  server.Stop(SIGTERM);
  std::filesystem::remove_all(folder);
}

TEST(TerminalLookupTest, BadOptionsAreRefusedBeforeConnecting) {
  EXPECT_EQ(RunTerminal("lookup --server nowhere code 600000").status, 1);
  EXPECT_EQ(RunTerminal("lookup code").status, 2);
  EXPECT_EQ(RunTerminal("lookup --server").status, 2);
  EXPECT_EQ(RunTerminal("lookup frobnicate").status, 2);
}

}  // namespace
