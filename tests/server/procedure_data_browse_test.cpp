#include "procedure_data_browse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "procedure_test_support.h"

namespace orbe::testing {
namespace {

// The indicator names, GBK.
const std::string kIndustry = "\xcb\xf9\xca\xf4\xd0\xd0\xd2\xb5";              // industry
const std::string kChange = "\xc7\xf8\xbc\xe4\xd5\xc7\xb5\xf8\xb7\xf9";       // change over a range
const std::string kTurnover = "\xc7\xf8\xbc\xe4\xbb\xbb\xca\xd6\xc2\xca";     // turnover over a range
const std::string kInstitutions = "\xbb\xfa\xb9\xb9\xb3\xd6\xb9\xc9\xb1\xc8\xc0\xfd";  // not served
constexpr const char* kRange = "20251001|20251130";

struct Record {
  std::string key;
  std::string text;
  double number = 0;
};

struct Browse {
  int status = -1;
  std::int16_t key_type = -1;
  std::int16_t value_type = -1;
  std::int16_t value_width = -1;
  std::vector<Record> records;
};

class DataBrowseTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<ProcedureServer>();
    server_->Start("proc_browse", [](sqlite3*) {});
  }
  static void TearDownTestSuite() {
    server_->Stop();
    server_.reset();
  }

  static Browse Call(const std::string& option) {
    const CallReply reply = server_->Call("KVX_DataBrowse", option);
    EXPECT_EQ(reply.end_status, wire::kStatusComplete);
    Browse browse;
    browse.status = reply.status;
    if (browse.status != 0) {
      EXPECT_TRUE(reply.result.empty());
      return browse;
    }
    ResultReader reader(reply.result);
    const auto count = reader.Pop<std::int32_t>();
    browse.key_type = reader.Pop<std::int16_t>();
    browse.value_type = reader.Pop<std::int16_t>();
    browse.value_width = reader.Pop<std::int16_t>();
    for (std::int32_t i = 0; i < count; ++i) {
      Record record;
      record.key = reader.PopText(browse.key_type == 2 ? 6 : 12);
      if (browse.value_type == 3) {
        record.text = reader.PopText(static_cast<std::size_t>(browse.value_width));
      } else {
        record.number = reader.Pop<double>();
      }
      browse.records.push_back(record);
    }
    EXPECT_EQ(reader.Left(), 0u);
    return browse;
  }

  static std::vector<std::string> Companies() {
    std::vector<std::string> codes;
    for (const auto& row : QueryRows(server_->Db(), "SELECT T002 FROM t100000002 ORDER BY rowid")) {
      codes.push_back(row[0]);
    }
    return codes;
  }

  // Quotes of one stock within the range, in date order: date, previous close, close, turnover.
  static Rows Quotes(const std::string& code) {
    return QueryRows(server_->Db(), "SELECT T003, T004, T008, T012 FROM t100000020 WHERE T002 = '" + code +
                                        "' AND T003 >= 20251001 AND T003 <= 20251130 ORDER BY T003");
  }

  static inline std::unique_ptr<ProcedureServer> server_;
};

TEST_F(DataBrowseTest, IndustryNamesFollowTheRequestedCodes) {
  const std::vector<std::string> companies = Companies();
  ASSERT_GE(companies.size(), 3u);
  std::map<std::string, std::string> names;
  for (const auto& row : QueryRows(server_->Db(), "SELECT l.T002, c.text FROM t100000002 l JOIN orbe_consts c"
                                                  " ON c.class = '974' AND c.code = l.T011")) {
    names.emplace(row[0], row[1]);
  }
  const std::string codes =
      companies[2] + ", " + companies[0] + ",999999," + companies[2] + ",,TOOLONGCODE," + companies[1];
  const Browse browse = Call(kIndustry + "|40|" + codes);
  ASSERT_EQ(browse.status, 0);
  EXPECT_EQ(browse.key_type, 2);
  EXPECT_EQ(browse.value_type, 3);
  EXPECT_EQ(browse.value_width, 40);
  // Unknown and malformed codes give no record; a repeated one gives one.
  ASSERT_EQ(browse.records.size(), 3u);
  const std::string expected_keys[] = {companies[2], companies[0], companies[1]};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(browse.records[i].key, expected_keys[i]);
    EXPECT_EQ(browse.records[i].text, names.at(expected_keys[i]));
    EXPECT_FALSE(browse.records[i].text.empty());
  }

  // No width given: the catalogue's default. A width inside a character cuts before it.
  EXPECT_EQ(Call(kIndustry + "||" + companies[0]).value_width, server::kDefaultStringWidth);
  const Browse narrow = Call(kIndustry + "|3|" + companies[0]);
  ASSERT_EQ(narrow.records.size(), 1u);
  EXPECT_EQ(narrow.records[0].text, names.at(companies[0]).substr(0, 2));
}

TEST_F(DataBrowseTest, RangeValuesMatchTheDailyQuotes) {
  const std::vector<std::string> companies = Companies();
  const Browse change = Call(kChange + "|" + kRange + "||" + companies[0] + "," + companies[1]);
  ASSERT_EQ(change.status, 0);
  EXPECT_EQ(change.value_type, 1);
  EXPECT_EQ(change.value_width, 8);
  std::size_t next = 0;
  for (const std::string& code : {companies[0], companies[1]}) {
    const Rows quotes = Quotes(code);
    if (quotes.empty()) continue;
    ASSERT_LT(next, change.records.size());
    EXPECT_EQ(change.records[next].key, code);
    const double first = std::atof(quotes.front()[1].c_str());
    const double expected = (std::atof(quotes.back()[2].c_str()) / first - 1) * 100;
    EXPECT_NEAR(change.records[next].number, expected, 1e-9);
    ++next;
  }
  EXPECT_GT(next, 0u);
  EXPECT_EQ(next, change.records.size());

  // Without codes: every listed company that traded in the range.
  const Browse turnover = Call(kTurnover + "|" + kRange + "||");
  ASSERT_EQ(turnover.status, 0);
  std::size_t traded = 0;
  for (const std::string& code : companies) {
    const Rows quotes = Quotes(code);
    if (quotes.empty()) continue;
    double sum = 0;
    for (const auto& row : quotes) sum += std::atof(row[3].c_str());
    ASSERT_LT(traded, turnover.records.size());
    EXPECT_EQ(turnover.records[traded].key, code);
    EXPECT_NEAR(turnover.records[traded].number, sum, 1e-6 * std::max(1.0, sum));
    ++traded;
  }
  EXPECT_GT(traded, 0u);
  EXPECT_EQ(turnover.records.size(), traded);
  // A range without trading days is no error, just no values.
  const Browse empty = Call(kTurnover + "|20200101|20200131||" + companies[0]);
  EXPECT_EQ(empty.status, 0);
  EXPECT_TRUE(empty.records.empty());
}

TEST_F(DataBrowseTest, BadOptionsGetAnErrorStatus) {
  EXPECT_EQ(Call(kInstitutions + "|20250930||600001").status, 1);
  EXPECT_EQ(Call("|40|600001").status, 1);
  for (const std::string& option :
       {std::string(), std::string("nonsense"), kIndustry + "|600001", kIndustry + "|0|600001",
        kIndustry + "|abc|600001", kIndustry + "|99999|600001", kChange + "|20251001||600001",
        kChange + "|20251001|20251340||600001", kChange + "|2025100|20251130||600001",
        kChange + "|" + kRange + "|x||600001"}) {
    EXPECT_EQ(Call(option).status, 2) << option;
  }
  std::string many;
  for (std::size_t i = 0; i <= server::kMaxBrowseCodes; ++i) many += std::to_string(100000 + i) + ",";
  EXPECT_EQ(Call(kTurnover + "|" + kRange + "||" + many).status, 2);
}

// "TS|name": the stamp of the data a function reads, so clients may cache its replies.
std::int64_t FunctionStamp(ProcedureServer& server, const std::string& function) {
  const CallReply reply = server.Call("KVX_DataBrowse", "TS|" + function);
  if (reply.status != 0) return -reply.status;
  ResultReader reader(reply.result);
  const auto stamp = reader.Pop<std::int64_t>();
  EXPECT_EQ(reader.Left(), 0u);
  return stamp;
}

TEST(DataBrowseStampTest, StampsFollowTheTablesConstantsAndReloads) {
  ProcedureServer server;
  server.Start("proc_browse_stamp", [](sqlite3*) {});
  const std::int64_t change = FunctionStamp(server, kChange);
  const std::int64_t industry = FunctionStamp(server, kIndustry);
  EXPECT_GT(change, 0);
  EXPECT_GT(industry, 0);
  EXPECT_EQ(FunctionStamp(server, kChange), change);
  EXPECT_EQ(FunctionStamp(server, kTurnover), change);  // both read the daily quotes only
  EXPECT_EQ(FunctionStamp(server, kInstitutions), -1);  // unknown function

  sqlite3* db = server.Db();
  Execute(db, "UPDATE orbe_timestamps SET stamp = stamp + 1 WHERE table_number = 100000020");
  const std::int64_t changed = FunctionStamp(server, kChange);
  EXPECT_NE(changed, change);
  EXPECT_EQ(FunctionStamp(server, kIndustry), industry);
  // The industry names are constants: a renamed industry is new data.
  Execute(db,
          "UPDATE orbe_consts SET text = 'x' WHERE rowid = (SELECT MIN(rowid) FROM orbe_consts WHERE class = '974')");
  EXPECT_NE(FunctionStamp(server, kIndustry), industry);
  // Without a table stamp nothing may be cached.
  Execute(db, "DELETE FROM orbe_timestamps WHERE table_number = 100000020");
  EXPECT_EQ(FunctionStamp(server, kChange), 0);
  Execute(db, "INSERT INTO orbe_timestamps VALUES (100000020, 1796032800)");
  const std::int64_t restored = FunctionStamp(server, kChange);
  EXPECT_EQ(server.Reload("KVX_DataBrowse").status, 0);
  EXPECT_NE(FunctionStamp(server, kChange), restored);
  server.Stop();
}

}  // namespace
}  // namespace orbe::testing
