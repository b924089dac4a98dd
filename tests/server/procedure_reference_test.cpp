#include "procedure_reference.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "procedure_test_support.h"

namespace orbe::testing {
namespace {

constexpr std::int64_t kSampleStamp = 1796032800;
constexpr int kExtraSecurities = 1116;  // the sample's 93 and these make three pages and a bit
// 61 bytes, then a GBK character that a 62-byte field cannot hold whole.
const std::string kLongIssuer = std::string(61, 'A') + "\xd6\xd0" + "B";

void Prepare(sqlite3* db) {
  Execute(db,
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12)"
          " INSERT INTO t100000001 SELECT printf('9%07d', s.rowid * 100 + n.i), T002, T003, T004, T005, T006,"
          " T007, T008, T009, T010, T011 FROM t100000001 s, n");
  Execute(db, "INSERT INTO t100000050(T001, T002, T003, T004, T005, T006, T007) VALUES ('39999999',"
              " '3999999', '019999', 'LONG', '206001', '012001', '" + kLongIssuer + "')");
}

class ReferenceProcedureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<ProcedureServer>();
    server_->Start("proc_reference", Prepare);
  }
  static void TearDownTestSuite() {
    server_->Stop();
    server_.reset();
  }

  // One page's records, decoded with the loader's widths; nullopt-like empty
  // with `count` -1 when the call failed.
  static Rows Page(const std::string& procedure, const std::string& key, const std::vector<int>& widths,
                   int* count) {
    const CallReply reply = server_->Call(procedure, key);
    EXPECT_EQ(reply.end_status, wire::kStatusComplete);
    EXPECT_EQ(reply.status, 0) << procedure << " " << key;
    ResultReader reader(reply.result);
    *count = reader.Pop<std::int16_t>();
    Rows rows;
    for (int record = 0; record < *count; ++record) {
      std::vector<std::string> row;
      for (const int width : widths) row.push_back(reader.PopText(static_cast<std::size_t>(width)));
      rows.push_back(std::move(row));
    }
    EXPECT_EQ(reader.Left(), 0u);
    return rows;
  }

  // Pages 0, 1, ... of a set until a count below 1, as the loaders read them.
  static Rows AllPages(const std::string& procedure, int set, const std::vector<int>& widths,
                       std::vector<int>* counts = nullptr) {
    Rows rows;
    for (int page = 0; page < 100; ++page) {
      int count = 0;
      const Rows got = Page(procedure, std::to_string(set) + std::to_string(page), widths, &count);
      if (counts != nullptr) counts->push_back(count);
      rows.insert(rows.end(), got.begin(), got.end());
      if (count < 1) break;
    }
    return rows;
  }

  static std::int64_t Stamp(const std::string& procedure, int set) {
    const CallReply reply = server_->Call(procedure, "TS" + std::to_string(set));
    EXPECT_EQ(reply.status, 0);
    ResultReader reader(reply.result);
    const auto stamp = reader.Pop<std::int64_t>();
    EXPECT_EQ(reader.Left(), 0u);
    return stamp;
  }

  static inline std::unique_ptr<ProcedureServer> server_;
};

TEST_F(ReferenceProcedureTest, MainTablesPageThroughBothTables) {
  std::vector<int> counts;
  const Rows securities = AllPages("sys_get_main_table_v2", 0, {12, 11, 81, 13, 13, 12, 12}, &counts);
  EXPECT_EQ(securities, QueryRows(server_->Db(), "SELECT T001, T003, T004, T005, T006, T002, T010"
                                                 " FROM t100000001 ORDER BY rowid"));
  const int page = server::kReferencePageRows;
  EXPECT_EQ(counts, (std::vector<int>{page, page, 93 + kExtraSecurities - 2 * page, 0}));

  const Rows companies = AllPages("sys_get_main_table_v2", 1, {51, 51, 13, 13, 13, 12, 12});
  EXPECT_EQ(companies, QueryRows(server_->Db(), "SELECT T002, T011, T006, T012, T016, T013, T015"
                                                " FROM t100000002 ORDER BY rowid"));
  ASSERT_FALSE(companies.empty());

  // "110" is set 1, page 10: beyond the companies.
  int count = -1;
  EXPECT_TRUE(Page("sys_get_main_table_v2", "110", {51, 51, 13, 13, 13, 12, 12}, &count).empty());
  EXPECT_EQ(count, 0);
}

TEST_F(ReferenceProcedureTest, HongKongSetsServeTheBoardsCompaniesAndMaps) {
  sqlite3* db = server_->Db();
  int count = 0;
  EXPECT_EQ(Page("sys_get_gg_info_v2", "00", {4, 8, 40}, &count),
            QueryRows(db, "SELECT b.T001, b.T002, s.T002 FROM t100000071 b LEFT JOIN t100000070 s"
                          " ON s.T001 = b.T002 ORDER BY b.rowid"));
  EXPECT_EQ(AllPages("sys_get_gg_info_v2", 1, {8, 40, 10, 5}),
            QueryRows(db, "SELECT T001, T002, T003, T004 FROM t100000070 ORDER BY rowid"));
  EXPECT_EQ(Page("sys_get_gg_info_v2", "20", {4, 40}, &count),
            QueryRows(db, "SELECT code, text FROM orbe_consts WHERE class = '208' ORDER BY seq"));
  EXPECT_EQ(count, 10);
  EXPECT_EQ(Page("sys_get_gg_info_v2", "30", {8, 40}, &count),
            QueryRows(db, "SELECT code, text FROM orbe_consts WHERE class = '809' ORDER BY seq"));
  EXPECT_EQ(Page("sys_get_gg_info_v2", "40", {8, 8}, &count),
            QueryRows(db, "SELECT T001, T005 FROM t100000070 ORDER BY rowid"));
  // Single-page sets hold everything on page 0.
  EXPECT_TRUE(Page("sys_get_gg_info_v2", "21", {4, 40}, &count).empty());
  EXPECT_EQ(count, 0);
}

TEST_F(ReferenceProcedureTest, FundFuturesAndBondSetsMatchTheirTables) {
  sqlite3* db = server_->Db();
  EXPECT_EQ(AllPages("sys_get_jj_info", 0, {10, 40, 10, 10, 10, 10}),
            QueryRows(db, "SELECT T002, T003, T008, T005, T006, T007 FROM t100000040 ORDER BY rowid"));
  EXPECT_EQ(AllPages("sys_get_qh_info", 0, {11, 10, 10, 10}),
            QueryRows(db, "SELECT T001, T002, T003, T005 FROM t100000060 ORDER BY rowid"));
  int count = 0;
  EXPECT_EQ(Page("sys_get_qh_info", "10", {10, 10, 40}, &count),
            QueryRows(db, "SELECT T001, T002, T003 FROM t100000061 ORDER BY rowid"));
  EXPECT_EQ(Page("sys_get_qh_info", "20", {10, 40}, &count),
            QueryRows(db, "SELECT code, text FROM orbe_consts WHERE class = '207' ORDER BY seq"));
  EXPECT_EQ(AllPages("sys_get_qh_info", 3, {11, 8, 8, 6}),
            QueryRows(db, "SELECT T001, T007, T008, T009 FROM t100000060 ORDER BY rowid"));
  EXPECT_EQ(AllPages("sys_get_qh_info", 4, {11, 40}),
            QueryRows(db, "SELECT T001, T006 FROM t100000060 ORDER BY rowid"));

  Rows bonds = AllPages("sys_get_zq_info_v3", 0, {12, 10, 10, 51, 40, 40, 62});
  Rows expected = QueryRows(db, "SELECT z.T001, z.T003, z.T006, z.T004, t.text, m.text, z.T007"
                                " FROM t100000050 z"
                                " LEFT JOIN orbe_consts t ON t.class = '206' AND t.code = z.T005"
                                " LEFT JOIN orbe_consts m ON m.class = '012' AND m.code = z.T006"
                                " ORDER BY z.rowid");
  ASSERT_EQ(bonds.size(), expected.size());
  ASSERT_EQ(expected.back()[6], kLongIssuer);
  // The issuer too long for its field loses the whole character that does not fit.
  EXPECT_EQ(bonds.back()[6], std::string(61, 'A'));
  expected.back()[6] = std::string(61, 'A');
  EXPECT_EQ(bonds, expected);
}

TEST_F(ReferenceProcedureTest, TimeStampsFollowTheTablesAndReloads) {
  EXPECT_EQ(Stamp("sys_get_main_table_v2", 0), kSampleStamp);
  EXPECT_EQ(Stamp("sys_get_jj_info", 0), kSampleStamp);
  const std::int64_t boards = Stamp("sys_get_gg_info_v2", 0);  // two tables
  const std::int64_t board_names = Stamp("sys_get_gg_info_v2", 2);  // constants only
  EXPECT_GT(boards, 0);
  EXPECT_GT(board_names, 0);
  EXPECT_EQ(Stamp("sys_get_gg_info_v2", 0), boards);

  sqlite3* db = server_->Db();
  Execute(db, "UPDATE orbe_timestamps SET stamp = stamp + 1 WHERE table_number = 100000071");
  EXPECT_NE(Stamp("sys_get_gg_info_v2", 0), boards);
  EXPECT_EQ(Stamp("sys_get_gg_info_v2", 1), kSampleStamp);
  Execute(db, "UPDATE orbe_consts SET text = 'x' WHERE class = '208' AND code = 'H001'");
  EXPECT_NE(Stamp("sys_get_gg_info_v2", 2), board_names);
  // A table without a stamp never matches a cache.
  Execute(db, "DELETE FROM orbe_timestamps WHERE table_number = 100000040");
  EXPECT_EQ(Stamp("sys_get_jj_info", 0), 0);
  Execute(db, "INSERT INTO orbe_timestamps VALUES (100000040, 1796032800)");

  EXPECT_EQ(server_->Reload("sys_get_jj_info").status, 0);
  const std::int64_t reloaded = Stamp("sys_get_jj_info", 0);
  EXPECT_GT(reloaded, 0);
  EXPECT_NE(reloaded, kSampleStamp);
  EXPECT_EQ(Stamp("sys_get_main_table_v2", 0), kSampleStamp);
  EXPECT_EQ(server_->Reload("").status, 0);
  EXPECT_NE(Stamp("sys_get_main_table_v2", 0), kSampleStamp);
  EXPECT_NE(Stamp("sys_get_jj_info", 0), reloaded);
  EXPECT_EQ(server_->Reload("no_such_procedure").status, 1);
}

TEST_F(ReferenceProcedureTest, BadCallsGetAnErrorStatus) {
  EXPECT_EQ(server_->Call("no_such_procedure", "00").status, 1);
  EXPECT_EQ(server_->Call("SYS_GET_JJ_INFO", "00").status, 1);
  for (const char* key : {"", "0", "TS", "TS2", "20", "0x", "0-1", "x0", "TS0x", "0123456789", " 00"}) {
    const CallReply reply = server_->Call("sys_get_main_table_v2", key);
    EXPECT_EQ(reply.end_status, wire::kStatusComplete) << key;
    EXPECT_EQ(reply.status, 2) << key;
    EXPECT_TRUE(reply.result.empty()) << key;
  }
  // A name filling its 64 bytes without a terminator is still just a name.
  EXPECT_EQ(server_->Call(std::string(64, 's'), "00").status, 1);

  std::string body = wire::EncodeCallBody(wire::kCodeCall, "sys_get_jj_info", "00");
  EXPECT_EQ(server_->Send(wire::kCodeCall, body.substr(0, 69)).end_status, wire::kStatusMalformed);
  body[wire::kCallParameterLengthOffset] = 3;  // announces one byte more than it holds
  EXPECT_EQ(server_->Send(wire::kCodeCall, body).end_status, wire::kStatusMalformed);
  EXPECT_EQ(server_->Send(wire::kCodeReload, body.substr(0, 20)).end_status, wire::kStatusMalformed);
  // The connection survives all of it.
  EXPECT_EQ(server_->Call("sys_get_jj_info", "00").status, 0);
}

}  // namespace
}  // namespace orbe::testing
