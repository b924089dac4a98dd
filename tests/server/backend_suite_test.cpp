// The server's integration suite, run against each storage backend: the
// same sample market in an SQLite file and in a PostgreSQL database of the
// suite's own cluster, served by the real orbe-dataserver. Statements are
// written as the module writes them and parsed by the module's parser over
// the dictionary files the server publishes; replies are read back field by
// field and compared with direct queries of an untouched SQLite copy of the
// sample (the reference), procedures with the procedure code run in-process
// over that copy; writes are checked in the backend's own store.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "dictionary/sql_parser.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/platform/text.h"
#include "protocol/byte_order.h"
#include "protocol/requests.h"
#include "procedure_data_browse.h"
#include "procedure_reference.h"
#include "procedure_registry.h"
#include "sample/sample_market.h"
#include "backend_fixture.h"
#include "server_fixture.h"
#include "sqlite_connection.h"
#include "storage.h"

namespace orbe::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr std::int32_t kSecurities = 100000001;
constexpr std::int32_t kCompanies = 100000002;
constexpr std::int32_t kFinancials = 100000013;

struct FieldShape {
  int type = 0;
  std::uint32_t width = 0;
};

std::string Render(int type, std::int64_t integer, double real) {
  switch (type) {
    case 3:
      return std::to_string(static_cast<std::int16_t>(integer));
    case 4:
    case 9:
      return std::to_string(static_cast<std::int32_t>(integer));
    case 6:
      return std::to_string(static_cast<std::uint8_t>(integer));
    case 7:
      return Format("%.7g", static_cast<float>(real));
    case 8:
      return Format("%.15g", real);
    case 10:
      return Format("%d-%06d", static_cast<int>(integer / 1000000), static_cast<int>(integer % 1000000));
    default:
      return std::to_string(integer);
  }
}

// One field of a reply record, read as the module's reply handle reads it.
std::string ReadField(const std::string& record, std::uint32_t offset, FieldShape shape) {
  const auto fits = [&](std::size_t size) { return offset + size <= record.size(); };
  switch (shape.type) {
    case 1:
    case 2: {
      if (!fits(shape.width)) return "<short>";
      const std::string text = record.substr(offset, shape.width);
      return text.substr(0, text.find('\0'));
    }
    case 3:
      return fits(2) ? Render(3, wire::LoadAt<std::int16_t>(record, offset), 0) : "<short>";
    case 4:
    case 9:
      return fits(4) ? Render(4, wire::LoadAt<std::int32_t>(record, offset), 0) : "<short>";
    case 5:
      return fits(8) ? Render(5, wire::LoadAt<std::int64_t>(record, offset), 0) : "<short>";
    case 6:
      return fits(1) ? Render(6, wire::LoadAt<std::uint8_t>(record, offset), 0) : "<short>";
    case 7:
      return fits(4) ? Render(7, 0, wire::LoadAt<float>(record, offset)) : "<short>";
    case 8:
      return fits(8) ? Render(8, 0, wire::LoadAt<double>(record, offset)) : "<short>";
    case 10:
      return fits(8) ? Format("%d-%06d", wire::LoadAt<std::int32_t>(record, offset),
                              wire::LoadAt<std::int32_t>(record, offset + 4))
                     : "<short>";
    case 11:
    case 12: {
      if (!fits(4)) return "<short>";
      const std::uint32_t at = wire::LoadAt<std::uint32_t>(record, offset);
      if (at + 4ull > record.size()) return "<bad offset>";
      const std::uint32_t length = wire::LoadAt<std::uint32_t>(record, at);
      if (at + 4ull + length > record.size()) return "<bad length>";
      return record.substr(at + 4, length);
    }
    default:
      return "<type>";
  }
}

std::string ColumnAsText(sqlite3_stmt* row, int column, int type) {
  if (type == 1 || type == 2 || type == 11 || type == 12) {
    const auto* text = sqlite3_column_text(row, column);
    return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(row, column)) : "";
  }
  return Render(type, sqlite3_column_int64(row, column), sqlite3_column_double(row, column));
}

class BackendSuite : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    Shared& shared = Shared::Get();
    dir_ = TestDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
    location_ = shared.NewStore(GetParam(), dir_);
    ASSERT_TRUE(location_.IsPostgres() || !location_.sqlite_path.empty());
    port_ = StartServer(&server_, {});
    ASSERT_NE(port_, 0) << server_.FirstLine();
    ASSERT_TRUE(LoadDictionaryFiles(dictionary_, dir_ + "/files/"));
    ASSERT_EQ(sqlite3_open_v2(shared.Reference().c_str(), &direct_, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    std::string error;
    reference_ = server::SqliteConnection::Open(shared.Reference(), &error);
    ASSERT_TRUE(reference_) << error;
    store_ = server::ConnectTo(location_, &error);
    ASSERT_TRUE(store_) << error;
    fd_ = ConnectLoopback(port_);
    ASSERT_GE(fd_, 0);
  }
  void TearDown() override {
    if (fd_ >= 0) ::close(fd_);
    sqlite3_close(direct_);
    server_.Stop();
    std::filesystem::remove_all(dir_);
  }

  // A server over this case's store with `extra` options; its port or 0.
  std::uint16_t StartServer(ServerProcess* server, const std::vector<std::string>& extra) {
    std::vector<std::string> arguments = Shared::StoreOptions(location_);
    arguments.insert(arguments.end(), {"--port", "0", "--file-root", dir_ + "/files", "--log-level", "error"});
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return server->Start(arguments);
  }

  FieldShape Shape(std::int32_t table, std::uint8_t id) const {
    std::vector<tagMemFieldInfo> fields(kMaxFieldsPerTable);
    const long count = dictionary_.GetFieldInfo(static_cast<std::uint32_t>(table), fields.data());
    for (long i = 0; i < count; ++i) {
      if ((fields[i].field_number & 0xFF) == id) return {fields[i].type, fields[i].width};
    }
    return {};
  }

  // The frame of a parsed record: the code, the record after it, the extra bytes.
  template <typename Record>
  std::string Frame(std::uint16_t code, const Record& record, std::string_view extra = {}) {
    std::string rest(reinterpret_cast<const char*>(&record) + 2, sizeof(Record) - 2);
    rest.append(extra);
    return wire::EncodeRequest(++request_id_, code, rest);
  }

  Reply Send(const std::string& frame) { return RoundTrip(fd_, frame); }

  // Records of a SELECT decoded per reply layout; status in *status.
  Rows Select(const std::string& statement, std::string_view options = {}, std::int32_t* status = nullptr) {
    cw_command_req request{};
    EXPECT_TRUE(sql::ParseSelect(dictionary_, statement, &request)) << statement;
    request.request_code = wire::kCodeSelect;
    request.extra_length = static_cast<std::uint16_t>(options.size());
    const Reply reply = Send(Frame(wire::kCodeSelect, request, options));
    if (status != nullptr) *status = reply.status;
    EXPECT_EQ(reply.status, wire::kStatusComplete) << statement;
    std::vector<FieldShape> shapes;
    for (int i = 0; i < request.field_count; ++i) shapes.push_back(Shape(request.table, request.fields[i]));
    Rows rows;
    for (const std::string& record : reply.bodies) {
      std::vector<std::string> row;
      std::uint32_t offset = 0;
      for (const FieldShape& shape : shapes) {
        row.push_back(ReadField(record, offset, shape));
        offset += shape.width;
      }
      rows.push_back(std::move(row));
    }
    return rows;
  }

  // The same rows straight from SQLite; column i has the type of types[i].
  Rows Direct(const std::string& sql, const std::vector<int>& types) {
    sqlite3_stmt* raw = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(direct_, sql.c_str(), -1, &raw, nullptr), SQLITE_OK)
        << sqlite3_errmsg(direct_);
    Rows rows;
    while (raw != nullptr && sqlite3_step(raw) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (std::size_t i = 0; i < types.size(); ++i) {
        row.push_back(ColumnAsText(raw, static_cast<int>(i), types[i]));
      }
      rows.push_back(std::move(row));
    }
    sqlite3_finalize(raw);
    return rows;
  }

  // Rows of the backend's store itself, every column as text.
  Rows Stored(const std::string& sql) {
    Rows rows;
    EXPECT_TRUE(store_->Query(sql, {}, [&](const server::SqlRow& row) {
      std::vector<std::string> texts;
      for (int i = 0; i < static_cast<int>(columns_of(sql)); ++i) texts.emplace_back(row.Text(i));
      rows.push_back(std::move(texts));
      return true;
    })) << store_->LastError();
    return rows;
  }
  static std::size_t columns_of(const std::string& sql) {
    const std::string list = sql.substr(7, sql.find(" FROM ") - 7);
    return static_cast<std::size_t>(std::count(list.begin(), list.end(), ',')) + 1;
  }
  std::int64_t StoredCount(const std::string& sql) {
    const Rows rows = Stored(sql);
    return rows.empty() ? -1 : std::stoll(rows[0][0]);
  }

  std::int64_t Stamp(std::int32_t table) {
    const Reply reply = Send(wire::EncodeTableRequest(++request_id_, wire::kCodeTableTimeStamp, table));
    return wire::DecodeTimeStampBody(reply.bodies.at(0)).value().stamp;
  }

  // (status byte, count) of a write reply; (-1, 0) when the reply is not one.
  std::pair<int, std::uint32_t> WriteResult(const Reply& reply) {
    if (reply.status != wire::kStatusComplete || reply.bodies.size() != 1 || reply.bodies[0].size() != 5) {
      return {-1, 0};
    }
    return {static_cast<std::uint8_t>(reply.bodies[0][0]), wire::LoadAt<std::uint32_t>(reply.bodies[0], 1)};
  }

  std::pair<int, std::uint32_t> Delete(const std::string& statement) {
    cw_sqldelete_req request{};
    EXPECT_TRUE(sql::ParseDelete(dictionary_, statement, &request)) << statement;
    request.request_code = wire::kCodeDelete;
    return WriteResult(Send(Frame(wire::kCodeDelete, request)));
  }

  std::pair<int, std::uint32_t> Update(const std::string& statement) {
    cw_sqlupdate_req request{};
    std::uint8_t area[4096] = {};
    EXPECT_TRUE(sql::ParseUpdate(dictionary_, statement, &request, area, sizeof(area))) << statement;
    request.request_code = wire::kCodeUpdate;
    return WriteResult(Send(Frame(wire::kCodeUpdate, request,
                                  std::string_view(reinterpret_cast<char*>(area), request.value_length))));
  }

  std::pair<int, std::uint32_t> Insert(const std::string& statement) {
    cw_sqlinsert_req request{};
    std::uint8_t area[4096] = {};
    EXPECT_TRUE(sql::ParseInsert(dictionary_, statement, &request, area, sizeof(area))) << statement;
    request.request_code = wire::kCodeInsert;
    return WriteResult(Send(Frame(wire::kCodeInsert, request,
                                  std::string_view(reinterpret_cast<char*>(area), request.value_length))));
  }

  server::CallOutcome ReferenceCall(const std::string& procedure, const std::string& parameters) {
    return server::CallProcedure(*reference_, {procedure, parameters});
  }
  // The status byte and result of a call over the wire.
  server::CallOutcome WireCall(const std::string& procedure, const std::string& parameters) {
    const Reply reply = Send(wire::EncodeRequest(
        ++request_id_, wire::kCodeCall,
        wire::EncodeCallBody(wire::kCodeCall, procedure, parameters).substr(2)));
    EXPECT_EQ(reply.status, wire::kStatusComplete);
    if (reply.bodies.size() != 1 || reply.bodies[0].empty()) return server::CallOutcome::Failure(server::CallStatus::kStorageFailed);
    return {static_cast<server::CallStatus>(static_cast<unsigned char>(reply.bodies[0][0])),
            reply.bodies[0].substr(1)};
  }

  std::string dir_;
  server::StorageLocation location_;
  ServerProcess server_;
  std::uint16_t port_ = 0;
  int fd_ = -1;
  CwDictionary dictionary_;
  sqlite3* direct_ = nullptr;                            // the reference, read-only
  std::unique_ptr<server::SqlConnection> reference_;     // the same, for the procedure code
  std::unique_ptr<server::SqlConnection> store_;         // the backend's own store
  std::uint32_t request_id_ = 0;
};

TEST_P(BackendSuite, SelectGivesTheRowsOfTheSameQueryOnTheDatabase) {
  const Rows listed = Select(
      "SELECT T001,T003,T004,T005,T006,T009,T011 FROM 100000001 WHERE T005='1' AND T009>=20000101 "
      "ORDER BY T009 DESC");
  EXPECT_GT(listed.size(), 5u);
  EXPECT_EQ(listed, Direct("SELECT T001,T003,T004,T005,T006,T009,T011 FROM t100000001 WHERE T005='1' AND "
                           "T009>=20000101 ORDER BY T009 DESC, rowid",
                           {2, 2, 2, 1, 1, 9, 10}));
  // Every type the sample stores, texts of types 11 and 12 in the data area included.
  const Rows companies = Select("SELECT * FROM 100000002 WHERE T007>19900101");
  ASSERT_GT(companies.size(), 10u);
  EXPECT_EQ(companies, Direct("SELECT * FROM t100000002 WHERE T007>19900101 ORDER BY rowid",
                              {2, 2, 2, 2, 2, 1, 9, 8, 4, 6, 1, 1, 1, 1, 1, 1, 11, 12, 10}));
  EXPECT_GT(companies[0][16].size(), 40u);
  // Those records are long enough to travel compressed.
  cw_command_req request{};
  ASSERT_TRUE(sql::ParseSelect(dictionary_, "SELECT * FROM 100000002 WHERE T001='80000001'", &request));
  request.request_code = wire::kCodeSelect;
  ASSERT_TRUE(SendAll(fd_, Frame(wire::kCodeSelect, request)));
  wire::ReplySplitter splitter;
  const auto next_packet = [&](wire::ReplyPacket* packet) {
    char buffer[4096];
    while (splitter.Next(packet) != wire::SplitResult::kFrame) {
      const ssize_t got = ::recv(fd_, buffer, sizeof(buffer), 0);
      if (got <= 0) return false;
      splitter.Append(buffer, static_cast<std::size_t>(got));
    }
    return true;
  };
  wire::ReplyPacket packet;
  ASSERT_TRUE(next_packet(&packet));
  EXPECT_EQ(packet.header.flags & wire::kFlagZlib, wire::kFlagZlib);
  EXPECT_LT(packet.payload.size(), packet.header.raw_length);
  EXPECT_EQ(wire::PacketBody(packet).value_or("").size(), packet.header.raw_length);
  ASSERT_TRUE(next_packet(&packet));
  EXPECT_EQ(packet.header.status, wire::kStatusComplete);
  // Paging counts from 1; DISTINCT is over the selected row.
  EXPECT_EQ(Select("SELECT PAGE 2 PAGEFRAME 5 T003,T004 FROM 100000001 ORDER BY T003"),
            Direct("SELECT T003,T004 FROM t100000001 ORDER BY T003, rowid LIMIT 5 OFFSET 5", {2, 2}));
  const Rows markets = Select("SELECT DISTINCT T006 FROM 100000001");
  EXPECT_EQ(markets, Direct("SELECT DISTINCT T006 FROM t100000001 ORDER BY T006", {1}));
  EXPECT_GE(markets.size(), 2u);
  EXPECT_TRUE(Select("SELECT T003 FROM 100000001 WHERE T003='none'").empty());
}

TEST_P(BackendSuite, PatternAndListComparisonsAndTheCodeListOption) {
  // Code 6: contains, with % and _ as wildcards.
  const Rows tech = Select("SELECT T003,T004 FROM 100000001 WHERE T004~='科技'");
  EXPECT_FALSE(tech.empty());
  EXPECT_EQ(tech, Direct("SELECT T003,T004 FROM t100000001 "
                         "WHERE instr(CAST(T004 AS BLOB), CAST('科技' AS BLOB)) > 0 "
                         "ORDER BY rowid", {2, 2}));
  EXPECT_EQ(Select("SELECT T003 FROM 100000001 WHERE T003~='6000_2'"),
            Direct("SELECT T003 FROM t100000001 WHERE T003 LIKE '%6000_2%' ORDER BY rowid", {2}));
  // Codes 7 and 8: in and not in a list.
  EXPECT_EQ(Select("SELECT T003,T004 FROM 100000001 WHERE T003=('600000','600002')"),
            Direct("SELECT T003,T004 FROM t100000001 WHERE T003 IN ('600000','600002') ORDER BY rowid",
                   {2, 2}));
  const Rows outside = Select("SELECT T003,T006 FROM 100000001 WHERE T006~=(83)");
  EXPECT_FALSE(outside.empty());
  EXPECT_EQ(outside,
            Direct("SELECT T003,T006 FROM t100000001 WHERE T006 NOT IN ('83') ORDER BY rowid", {2, 1}));
  // The option after the record restricts the field named by its type byte to its codes.
  const std::string codes = "1000001,1000002,";
  std::string options(1, '\1');
  const std::uint16_t length = static_cast<std::uint16_t>(codes.size());
  options.append(reinterpret_cast<const char*>(&length), 2);
  options += codes;
  options += '\0';
  const Rows restricted = Select("SELECT T001,T005,T006 FROM 100000013 WHERE T005>=20250101", options);
  EXPECT_FALSE(restricted.empty());
  EXPECT_EQ(restricted, Direct("SELECT T001,T005,T006 FROM t100000013 WHERE T005>=20250101 AND T001 IN "
                               "('1000001','1000002') ORDER BY rowid",
                               {2, 9, 8}));
}

TEST_P(BackendSuite, EveryListFormOfTheParserAgreesWithTheDatabase) {
  // Values that are there, so that every list names some records.
  const Rows sample =
      Direct("SELECT T002,T007,T008,T009,T019 FROM t100000002 ORDER BY rowid LIMIT 3", {2, 9, 8, 4, 5});
  ASSERT_EQ(sample.size(), 3u);
  const auto column = [&](std::size_t i, std::size_t j) { return sample[i][j]; };
  const std::string codes = column(0, 0) + "," + column(1, 0) + "," + column(2, 0);
  const std::string workers = column(0, 3) + "," + column(2, 3);
  struct Case {
    std::string where;   // as the module's parser reads it
    std::string direct;  // the same restriction in SQLite
  };
  const std::vector<Case> cases = {
      {"T002=(" + codes + ")", "T002 IN ('" + column(0, 0) + "','" + column(1, 0) + "','" + column(2, 0) + "')"},
      {"T002=('" + column(0, 0) + "', '" + column(1, 0) + "')",
       "T002 IN ('" + column(0, 0) + "','" + column(1, 0) + "')"},
      {"T002~=(" + codes + ")",
       "T002 NOT IN ('" + column(0, 0) + "','" + column(1, 0) + "','" + column(2, 0) + "')"},
      {"T009=(" + workers + ")", "T009 IN (" + workers + ")"},
      {"T009=( " + column(0, 3) + " ,, " + column(2, 3) + " ,)", "T009 IN (" + workers + ")"},
      {"T009=('" + column(0, 3) + "','" + column(2, 3) + "')", "T009 IN (" + workers + ")"},
      {"T009~=(" + workers + ")", "T009 NOT IN (" + workers + ")"},
      {"T007=(" + column(0, 1) + "," + column(1, 1) + ")", "T007 IN (" + column(0, 1) + "," + column(1, 1) + ")"},
      {"T008=(" + column(0, 2) + "," + column(1, 2) + ")", "T008 IN (" + column(0, 2) + "," + column(1, 2) + ")"},
      {"T019=(" + column(0, 4) + ")", "T019 IN (" + column(0, 4) + ")"},
      {"T010=(1)", "T010 IN (1)"},
      {"T009=(" + workers + ") AND T007>0", "T009 IN (" + workers + ") AND T007>0"},
      {"T009=()", "0"},
      {"T009~=()", "T009 IS NOT NULL"},
      {"T009=(" + workers, "0"},  // no ")": an empty list
  };
  for (const Case& c : cases) {
    const Rows listed = Select("SELECT T001,T002,T009 FROM 100000002 WHERE " + c.where);
    EXPECT_EQ(listed, Direct("SELECT T001,T002,T009 FROM t100000002 WHERE " + c.direct + " ORDER BY rowid",
                             {2, 2, 4}))
        << c.where;
  }
  EXPECT_FALSE(Select("SELECT T001 FROM 100000002 WHERE T002=(" + codes + ")").empty());
  // A list longer than the condition's 50 bytes would be cut inside an item:
  // the parser fails the condition, and the service refuses the statement
  // instead of answering for another list.
  cw_command_req request{};
  ASSERT_TRUE(sql::ParseSelect(
      dictionary_, "SELECT T001 FROM 100000002 WHERE T002=(" + codes + "," + codes + "," + codes + ")", &request));
  request.request_code = wire::kCodeSelect;
  EXPECT_EQ(Send(Frame(wire::kCodeSelect, request)).status, wire::kStatusMalformed);
}

TEST_P(BackendSuite, ListTextsWrittenWithTheirParenthesesMeanTheSameList) {
  const Rows sample = Direct("SELECT T009 FROM t100000002 ORDER BY rowid LIMIT 3", {4});
  ASSERT_EQ(sample.size(), 3u);
  const std::string items = sample[0][0] + "," + sample[1][0] + "," + sample[2][0];
  const Rows expected = Direct("SELECT T001 FROM t100000002 WHERE T009 IN (" + items + ") ORDER BY rowid", {2});
  // A client that copies the value as the statement shows it sends the
  // closing parenthesis, or both.
  for (const std::string& value : {items, items + ")", "(" + items + ")", " (" + items + ") tail"}) {
    cw_command_req request{};
    ASSERT_TRUE(sql::ParseSelect(dictionary_, "SELECT T001 FROM 100000002 WHERE T009=(0)", &request));
    std::memset(request.conditions[0].value, 0, sizeof request.conditions[0].value);
    std::memcpy(request.conditions[0].value, value.data(), value.size());
    request.request_code = wire::kCodeSelect;
    const Reply reply = Send(Frame(wire::kCodeSelect, request));
    ASSERT_EQ(reply.status, wire::kStatusComplete) << value;
    Rows rows;
    for (const std::string& record : reply.bodies) rows.push_back({ReadField(record, 0, Shape(100000002, 1))});
    EXPECT_EQ(rows, expected) << value;
  }
}

TEST_P(BackendSuite, StatisticsAgreeWithTheDatabase) {
  const auto stat = [this](const std::string& statement) {
    cw_sqlstat_req request{};
    EXPECT_TRUE(sql::ParseStat(dictionary_, statement, &request)) << statement;
    request.request_code = wire::kCodeStatistics;
    const Reply reply = Send(Frame(wire::kCodeStatistics, request));
    EXPECT_EQ(reply.status, wire::kStatusComplete);
    const std::string body = reply.bodies.at(0);
    EXPECT_EQ(body[0], 0) << statement;
    const std::uint16_t type = wire::LoadAt<std::uint16_t>(body, 1);
    const std::uint32_t size = wire::LoadAt<std::uint32_t>(body, 3);
    EXPECT_EQ(body.size(), 7u + size);
    if (type == 8) return Render(8, 0, wire::LoadAt<double>(body, 7));
    if (type == 2) return body.substr(7);
    if (type == 10) return ReadField(body, 7, {10, 8});
    return size == 8 ? std::to_string(wire::LoadAt<std::int64_t>(body, 7))
                     : std::to_string(wire::LoadAt<std::int32_t>(body, 7));
  };
  const auto direct = [this](const std::string& sql, int type) { return Direct(sql, {type}).at(0).at(0); };
  EXPECT_EQ(stat("SELECT COUNT(*) FROM 100000013 WHERE T005>=20250101"),
            direct("SELECT COUNT(*) FROM t100000013 WHERE T005>=20250101", 4));
  EXPECT_EQ(stat("SELECT COUNT(DISTINCT T006) FROM 100000001"),
            direct("SELECT COUNT(DISTINCT T006) FROM t100000001", 4));
  EXPECT_EQ(stat("SELECT MAX(T009) FROM 100000001 WHERE T005='1'"),
            direct("SELECT MAX(T009) FROM t100000001 WHERE T005='1'", 9));
  EXPECT_EQ(stat("SELECT MIN(T003) FROM 100000001"), direct("SELECT MIN(T003) FROM t100000001", 2));
  EXPECT_EQ(stat("SELECT MAX(T011) FROM 100000001"), direct("SELECT MAX(T011) FROM t100000001", 10));
  EXPECT_EQ(stat("SELECT AVG(T006) FROM 100000013 WHERE T005=20251231"),
            direct("SELECT AVG(T006) FROM t100000013 WHERE T005=20251231", 8));
  EXPECT_EQ(stat("SELECT SUM(T009) FROM 100000002"), direct("SELECT SUM(T009) FROM t100000002", 5));
  EXPECT_EQ(stat("SELECT SUM(T008) FROM 100000002"), direct("SELECT SUM(T008) FROM t100000002", 8));
}

TEST_P(BackendSuite, WritesChangeTheDatabaseAndRaiseTheStamp) {
  const std::int64_t before = Stamp(kSecurities);
  const std::int64_t doomed = StoredCount("SELECT COUNT(*) FROM t100000001 WHERE T006='90' AND T005='1'");
  ASSERT_GT(doomed, 0);
  EXPECT_EQ(Delete("DELETE FROM 100000001 WHERE T006='90' AND T005='1'"),
            std::make_pair(0, static_cast<std::uint32_t>(doomed)));
  EXPECT_EQ(StoredCount("SELECT COUNT(*) FROM t100000001 WHERE T006='90' AND T005='1'"), 0);
  EXPECT_EQ(Stamp(kSecurities), before + 1);
  // Nothing changed, nothing to invalidate.
  EXPECT_EQ(Delete("DELETE FROM 100000001 WHERE T003='none'"), std::make_pair(0, 0u));
  EXPECT_EQ(Stamp(kSecurities), before + 1);

  const std::int64_t company_stamp = Stamp(kCompanies);
  EXPECT_EQ(Update("UPDATE 100000002 SET T005='新名字',T017='一段很长的简介',T008=1.5,T010=7 "
                   "WHERE T001='80000001'"),
            std::make_pair(0, 1u));
  EXPECT_EQ(Stamp(kCompanies), company_stamp + 1);
  const Rows updated = Select("SELECT T005,T017,T008,T010 FROM 100000002 WHERE T001='80000001'");
  EXPECT_EQ(updated, Stored("SELECT T005,T017,T008,T010 FROM t100000002 WHERE T001='80000001'"));
  EXPECT_EQ(updated, (Rows{{"新名字", "一段很长的简介", "1.5", "7"}}));

  EXPECT_EQ(Insert("INSERT INTO 100000001 (T001,T003,T004,T009) VALUES ('9999999','699999','测试',20261201)"),
            std::make_pair(0, 1u));
  EXPECT_EQ(Stored("SELECT T003,T004,T009 FROM t100000001 WHERE T001='9999999'"),
            (Rows{{"699999", "测试", "20261201"}}));
  // BACK replaces the record with the same key; without BACK a second one is added.
  EXPECT_EQ(Insert("INSERT BACK INTO 100000001 (T001,T003) VALUES ('9999999','699998')"),
            std::make_pair(0, 1u));
  EXPECT_EQ(Stored("SELECT T003 FROM t100000001 WHERE T001='9999999'"), (Rows{{"699998"}}));
  EXPECT_EQ(Insert("INSERT INTO 100000001 (T001,T003) VALUES ('9999999','699997')"), std::make_pair(0, 1u));
  EXPECT_EQ(StoredCount("SELECT COUNT(*) FROM t100000001 WHERE T001='9999999'"), 2);

  // Time-stamp increase and flush.
  const Reply raised =
      Send(wire::EncodeTableRequest(++request_id_, wire::kCodeTimeStampIncrease, kFinancials));
  ASSERT_EQ(raised.bodies.size(), 1u);
  ASSERT_EQ(raised.bodies[0].size(), 9u);
  EXPECT_EQ(raised.bodies[0][0], 0);
  EXPECT_EQ(wire::LoadAt<std::int64_t>(raised.bodies[0], 1), Stamp(kFinancials));
  const Reply unknown = Send(wire::EncodeTableRequest(++request_id_, wire::kCodeTimeStampIncrease, 42));
  EXPECT_EQ(unknown.bodies.at(0), std::string("\x01\xff\xff\xff\xff\xff\xff\xff\xff", 9));
  EXPECT_EQ(Send(wire::EncodeTableRequest(++request_id_, wire::kCodeFlush, kFinancials)).bodies,
            std::vector<std::string>{std::string(1, '\0')});
  EXPECT_EQ(Send(wire::EncodeTableRequest(++request_id_, wire::kCodeFlush, 42)).bodies,
            std::vector<std::string>{std::string(1, '\1')});
}

TEST_P(BackendSuite, BadRequestsGetAnErrorStatusAndTheServerGoesOn) {
  cw_command_req select{};
  ASSERT_TRUE(sql::ParseSelect(dictionary_, "SELECT T003 FROM 100000001 WHERE T003='600000'", &select));
  select.request_code = wire::kCodeSelect;
  EXPECT_EQ(Send(Frame(wire::kCodeSelect, select)).bodies.size(), 1u);

  const auto status_of = [this](cw_command_req request, std::string_view extra = {}) {
    return Send(Frame(wire::kCodeSelect, request, extra)).status;
  };
  cw_command_req bad = select;
  bad.table = 42;  // unknown table
  EXPECT_EQ(status_of(bad), wire::kStatusMalformed);
  bad = select;
  bad.fields[0] = 99;  // no such field
  EXPECT_EQ(status_of(bad), wire::kStatusMalformed);
  bad = select;
  bad.conditions[0].field = 0;  // a condition that failed to parse
  EXPECT_EQ(status_of(bad), wire::kStatusMalformed);
  bad = select;
  bad.condition_count = 6;  // more conditions than slots: some would be lost
  EXPECT_EQ(status_of(bad), wire::kStatusMalformed);
  bad = select;
  bad.conditions[0].compare = 9;
  EXPECT_EQ(status_of(bad), wire::kStatusMalformed);
  bad = select;
  bad.extra_length = 10;  // options announced but not sent
  EXPECT_EQ(status_of(bad), wire::kStatusMalformed);
  bad = select;
  bad.extra_length = 4;  // an option whose text runs past the options
  EXPECT_EQ(status_of(bad, std::string("\x01\x20\x00\x41", 4)), wire::kStatusMalformed);
  EXPECT_EQ(Send(wire::EncodeRequest(++request_id_, wire::kCodeSelect, std::string(100, '\0'))).status,
            wire::kStatusMalformed);

  cw_sqlupdate_req update{};
  std::uint8_t area[64] = {};
  ASSERT_TRUE(sql::ParseUpdate(dictionary_, "UPDATE 100000002 SET T017='abc' WHERE T001='80000001'", &update,
                               area, sizeof(area)));
  update.request_code = wire::kCodeUpdate;
  // The value area is announced longer than sent, then its text offset points past it.
  EXPECT_EQ(Send(Frame(wire::kCodeUpdate, update, std::string_view(reinterpret_cast<char*>(area), 2))).status,
            wire::kStatusMalformed);
  std::uint32_t past = 60;
  std::memcpy(area, &past, sizeof(past));
  EXPECT_EQ(Send(Frame(wire::kCodeUpdate, update,
                       std::string_view(reinterpret_cast<char*>(area), update.value_length)))
                .status,
            wire::kStatusMalformed);

  // Unknown tables of writes and statistics are a failed result; INSERT needs the key field.
  cw_sqldelete_req remove{};
  ASSERT_TRUE(sql::ParseDelete(dictionary_, "DELETE FROM 100000001 WHERE T003='x'", &remove));
  remove.request_code = wire::kCodeDelete;
  remove.table = 42;
  EXPECT_EQ(WriteResult(Send(Frame(wire::kCodeDelete, remove))), std::make_pair(1, 0u));
  // The parser refuses such an INSERT, so the record is cut down by hand: field 3 alone.
  cw_sqlinsert_req insert{};
  std::uint8_t values[64] = {};
  ASSERT_TRUE(sql::ParseInsert(dictionary_, "INSERT INTO 100000001 (T001,T004) VALUES ('x','nokey')", &insert,
                               values, sizeof(values)));
  insert.request_code = wire::kCodeInsert;
  insert.fields[0] = 4;
  insert.field_count = 1;
  const std::uint32_t key_width = Shape(kSecurities, 1).width;
  insert.value_length -= key_width;
  EXPECT_EQ(WriteResult(Send(Frame(wire::kCodeInsert, insert,
                                   std::string_view(reinterpret_cast<char*>(values) + key_width,
                                                    insert.value_length)))),
            std::make_pair(1, 0u));
  EXPECT_EQ(StoredCount("SELECT COUNT(*) FROM t100000001 WHERE T004='nokey'"), 0);

  EXPECT_EQ(Send(wire::EncodeKeepAliveRequest(++request_id_)).status, wire::kStatusComplete);
  EXPECT_EQ(Send(Frame(wire::kCodeSelect, select)).bodies.size(), 1u);
}

// KVX_DataBrowse records: keys exactly, values to the last few bits (a sum
// may add its rows in another order in another store).
void ExpectSameBrowse(const std::string& got, const std::string& expected, const std::string& option) {
  ASSERT_EQ(got.size(), expected.size()) << option;
  ASSERT_GE(got.size(), 10u) << option;
  EXPECT_EQ(got.substr(0, 10), expected.substr(0, 10)) << option;
  const auto value_type = wire::LoadAt<std::int16_t>(got, 6);
  const std::size_t width = static_cast<std::size_t>(wire::LoadAt<std::int16_t>(got, 8));
  const std::size_t key = wire::LoadAt<std::int16_t>(got, 4) == 2 ? 6 : 12;
  for (std::size_t at = 10; at + key + width <= got.size(); at += key + width) {
    EXPECT_EQ(got.substr(at, key), expected.substr(at, key)) << option;
    if (value_type == 1) {
      const double a = wire::LoadAt<double>(got, at + key);
      const double b = wire::LoadAt<double>(expected, at + key);
      EXPECT_NEAR(a, b, 1e-9 * std::max(1.0, std::abs(b))) << option;
    } else {
      EXPECT_EQ(got.substr(at + key, width), expected.substr(at + key, width)) << option;
    }
  }
}

TEST_P(BackendSuite, ProceduresAnswerAsTheirCodeDoesOverTheReference) {
  const std::string industry = "\xcb\xf9\xca\xf4\xd0\xd0\xd2\xb5";
  const std::string change = "\xc7\xf8\xbc\xe4\xd5\xc7\xb5\xf8\xb7\xf9";
  const std::string turnover = "\xc7\xf8\xbc\xe4\xbb\xbb\xca\xd6\xc2\xca";
  const std::string range = "|20251001|20251130|";
  struct Case {
    std::string procedure;
    std::string parameters;
  };
  const std::vector<Case> cases = {
      {"sys_get_main_table_v2", "TS0"}, {"sys_get_main_table_v2", "00"}, {"sys_get_main_table_v2", "01"},
      {"sys_get_main_table_v2", "10"},  {"sys_get_main_table_v2", "TS1"}, {"sys_get_main_table_v2", "99"},
      {"sys_get_gg_info_v2", "00"},     {"sys_get_gg_info_v2", "10"},     {"sys_get_gg_info_v2", "20"},
      {"sys_get_gg_info_v2", "30"},     {"sys_get_gg_info_v2", "40"},     {"sys_get_gg_info_v2", "TS2"},
      {"sys_get_jj_info", "00"},        {"sys_get_qh_info", "00"},        {"sys_get_qh_info", "10"},
      {"sys_get_qh_info", "20"},        {"sys_get_qh_info", "30"},        {"sys_get_qh_info", "40"},
      {"sys_get_zq_info_v3", "00"},     {"sys_get_zq_info_v3", "TS0"},    {"no_such_procedure", ""},
      {"KVX_DataBrowse", industry + "|40|"},
      {"KVX_DataBrowse", industry + "|3|600000, 000001,600000,,TOOLONGCODE"},
      {"KVX_DataBrowse", change + range + "|"},
      {"KVX_DataBrowse", turnover + range + "|600000,000001,999999"},
      {"KVX_DataBrowse", "TS|" + change},
      {"KVX_DataBrowse", "TS|" + industry},
      {"KVX_DataBrowse", "nothing|1|"},
      {"KVX_DataBrowse", change + "|2025|20251130||"},
  };
  std::size_t filled = 0;
  for (const Case& c : cases) {
    const server::CallOutcome expected = ReferenceCall(c.procedure, c.parameters);
    const server::CallOutcome got = WireCall(c.procedure, c.parameters);
    EXPECT_EQ(got.status, expected.status) << c.procedure << " " << c.parameters;
    if (c.procedure == "KVX_DataBrowse" && !c.parameters.starts_with("TS|") && !expected.result.empty()) {
      ExpectSameBrowse(got.result, expected.result, c.parameters);
    } else {
      EXPECT_EQ(got.result, expected.result) << c.procedure << " " << c.parameters;
    }
    if (expected.result.size() > 16) ++filled;
  }
  // The cases have something to compare: most answers carry records.
  EXPECT_GE(filled, 15u);
}

TEST_P(BackendSuite, TimeStampsOfKnownUnstampedAndUnknownTables) {
  constexpr std::int64_t kSampleStamp = 1796032800;
  EXPECT_EQ(Stamp(kSecurities), kSampleStamp);
  ASSERT_TRUE(store_->Execute("DELETE FROM orbe_timestamps WHERE table_number = 100000002", {}, nullptr));
  EXPECT_EQ(Stamp(kCompanies), 0);
  const Reply unknown = Send(wire::EncodeTableRequest(++request_id_, wire::kCodeTableTimeStamp, 42));
  ASSERT_EQ(unknown.bodies.size(), 1u);
  const auto body = wire::DecodeTimeStampBody(unknown.bodies[0]);
  ASSERT_TRUE(body);
  EXPECT_EQ(+body->status, wire::kTableUnknown);
  EXPECT_EQ(body->stamp, -1);
  // A write raises the missing stamp from 0.
  EXPECT_EQ(Update("UPDATE 100000002 SET T010=3 WHERE T001='80000001'"), std::make_pair(0, 1u));
  EXPECT_EQ(Stamp(kCompanies), 1);
}

// A client bound to a loopback address of its own choosing.
int ConnectFrom(const char* source, std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in local{};
  local.sin_family = AF_INET;
  ::inet_pton(AF_INET, source, &local.sin_addr);
  sockaddr_in remote{};
  remote.sin_family = AF_INET;
  remote.sin_port = htons(port);
  remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
      ::connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

TEST_P(BackendSuite, RefusedRequestsChangeNothing) {
  const auto state = [this] {
    return std::vector<std::int64_t>{
        Stamp(kSecurities), Stamp(kCompanies), Stamp(kFinancials),
        StoredCount("SELECT COUNT(*) FROM t100000001"),
        StoredCount("SELECT COUNT(*) FROM t100000002 WHERE T010 = 0"),
        StoredCount("SELECT SUM(stamp) FROM orbe_timestamps")};
  };
  const std::vector<std::int64_t> before = state();

  // Listening explicitly without --writable: reads are served, writes refused.
  ServerProcess read_only;
  const std::uint16_t read_only_port = StartServer(&read_only, {"--listen", "127.0.0.1"});
  ASSERT_NE(read_only_port, 0) << read_only.FirstLine();
  const int reader = ConnectLoopback(read_only_port);
  cw_sqldelete_req remove{};
  ASSERT_TRUE(sql::ParseDelete(dictionary_, "DELETE FROM 100000001 WHERE T005='1'", &remove));
  remove.request_code = wire::kCodeDelete;
  cw_sqlupdate_req update{};
  std::uint8_t area[64] = {};
  ASSERT_TRUE(sql::ParseUpdate(dictionary_, "UPDATE 100000002 SET T010=9", &update, area, sizeof(area)));
  update.request_code = wire::kCodeUpdate;
  cw_sqlinsert_req insert{};
  std::uint8_t values[64] = {};
  ASSERT_TRUE(sql::ParseInsert(dictionary_, "INSERT INTO 100000001 (T001,T003) VALUES ('9999999','699999')",
                               &insert, values, sizeof(values)));
  insert.request_code = wire::kCodeInsert;
  const std::vector<std::string> writes = {
      Frame(wire::kCodeDelete, remove),
      Frame(wire::kCodeUpdate, update, std::string_view(reinterpret_cast<char*>(area), update.value_length)),
      Frame(wire::kCodeInsert, insert, std::string_view(reinterpret_cast<char*>(values), insert.value_length)),
      wire::EncodeTableRequest(++request_id_, wire::kCodeTimeStampIncrease, kSecurities),
      wire::EncodeRequest(++request_id_, wire::kCodeReload,
                          wire::EncodeCallBody(wire::kCodeReload, "", "").substr(2)),
  };
  for (const std::string& frame : writes) {
    const Reply reply = RoundTrip(reader, frame);
    EXPECT_EQ(reply.status, wire::kStatusRefused);
    EXPECT_TRUE(reply.bodies.empty());
  }
  EXPECT_EQ(RoundTrip(reader, wire::EncodeTableRequest(++request_id_, wire::kCodeTableTimeStamp, kSecurities))
                .status,
            wire::kStatusComplete);
  ::close(reader);

  // Outside the allow list: refused whatever is asked, then let go.
  ServerProcess guarded;
  const std::uint16_t guarded_port =
      StartServer(&guarded, {"--listen", "127.0.0.1", "--allow", "127.0.0.2/32", "--writable"});
  ASSERT_NE(guarded_port, 0) << guarded.FirstLine();
  const int outsider = ConnectLoopback(guarded_port);
  const Reply refused = RoundTrip(outsider, writes[0]);
  EXPECT_EQ(refused.status, wire::kStatusRefused);
  EXPECT_TRUE(refused.bodies.empty());
  EXPECT_TRUE(WaitClosed(outsider, 5000));
  ::close(outsider);
  // Inside it, with --writable, a write runs (this one matches nothing).
  const int insider = ConnectFrom("127.0.0.2", guarded_port);
  ASSERT_GE(insider, 0);
  EXPECT_EQ(RoundTrip(insider, wire::EncodeHostLoadRequest(1)).status, wire::kStatusComplete);
  cw_sqldelete_req harmless{};
  ASSERT_TRUE(sql::ParseDelete(dictionary_, "DELETE FROM 100000001 WHERE T003='none'", &harmless));
  harmless.request_code = wire::kCodeDelete;
  EXPECT_EQ(WriteResult(RoundTrip(insider, Frame(wire::kCodeDelete, harmless))), std::make_pair(0, 0u));
  ::close(insider);

  EXPECT_EQ(state(), before);
  EXPECT_EQ(read_only.Stop(), 0);
  EXPECT_EQ(guarded.Stop(), 0);
}

// Workers read side by side only with SQLite's memory statistics off (each
// allocation would take one process-wide lock). This program used SQLite
// long before its first server connection: they are off all the same.
TEST(SqliteWorkers, MemoryStatisticsAreOffWhateverUsedSqliteFirst) {
  sqlite3* earlier = nullptr;
  ASSERT_EQ(sqlite3_open_v2(":memory:", &earlier, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(earlier, "CREATE TABLE t(a); INSERT INTO t VALUES (randomblob(100000))", nullptr,
                         nullptr, nullptr),
            SQLITE_OK);
  const std::string path = ::testing::TempDir() + "orbe_memory_statistics.db";
  std::filesystem::remove(path);
  { std::ofstream create(path); }
  std::string error;
  const auto connection = server::SqliteConnection::Open(path, &error);
  ASSERT_TRUE(connection) << error;
  sqlite3_int64 current = 0;
  sqlite3_int64 highest = 0;
  ASSERT_EQ(sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &current, &highest, 0), SQLITE_OK);
  EXPECT_EQ(current, 0) << "SQLite counts its memory: every allocation takes a process-wide lock";
  sqlite3_close(earlier);
  std::filesystem::remove(path);
}

INSTANTIATE_TEST_SUITE_P(Backends, BackendSuite, ::testing::Values(Backend::kSqlite, Backend::kPostgres),
                         BackendName);

}  // namespace
}  // namespace orbe::testing
