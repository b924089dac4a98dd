// The host's data function against a small sample market: every answer is
// checked against the database or the host's list file it comes from.
#include "host/host_market.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/board_set.h"
#include "host/host_callbacks.h"
#include "host/quote_builder.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"
#include "support/sqlite_reader.h"

namespace orbe {
namespace {

// Members of packed records are compared as copies (+member).

std::string g_folder;  // one sample market for the whole program

using Database = orbe_test::SqliteReader;

HostValue7 Value(const std::string& text) {
  HostValue7 value{};
  std::memcpy(value.bytes, text.data(), std::min(text.size(), sizeof value.bytes));
  return value;
}

HostValue7 Byte(unsigned char b) {
  HostValue7 value{};
  value.bytes[0] = b;
  return value;
}

// What the module does: a size query, then a fetch into that size plus 1024 zeroed bytes.
std::string Ask(int code, const HostValue7& first = {}, const HostValue7& second = {}) {
  const int size = HostDataFunc(nullptr, -1, code, nullptr, -1, first, second, 1, 0);
  if (size <= 0) return "";
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1024, '\0');
  const int written = HostDataFunc(nullptr, -1, code, buffer.data(), 1, first, second, 1, 0);
  EXPECT_GE(written, 0);
  EXPECT_LE(written, size) << "code " << code;
  return std::string(buffer.data(), static_cast<std::size_t>(std::max(written, 0)));
}

Hq104 QuoteOf(const std::string& bytes) {
  Hq104 record{};
  EXPECT_EQ(bytes.size(), sizeof record);
  std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
  return record;
}

class HostMarketTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    g_folder =
        (std::filesystem::temp_directory_path() / ("orbe_host_" + std::to_string(::getpid()))).string() + "/";
    std::filesystem::create_directories(g_folder);
    const std::string make = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver --make-sample " + g_folder +
                             "market.db --scale 0.002 >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0);
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(g_folder); }

  void SetUp() override {
    home_ = g_folder + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
    std::filesystem::create_directories(home_);
    std::string error;
    market_ = HostMarket::Open(g_folder + "market.db", home_, &error);
    ASSERT_NE(market_, nullptr) << error;
    SetCallbackMarket(market_.get());
    RegisterCallBack(HostDataFunc, HostSwitchFunc, HostCallbackFunc);
    ClearRecordedSwitchRequests();
  }
  void TearDown() override {
    RegisterCallBack(nullptr, nullptr, nullptr);
    SetCallbackMarket(nullptr);
  }
  std::string Lists() const { return home_ + HostUserLists::kFileName; }

  Database db_{g_folder + "market.db"};
  std::string home_;
  std::unique_ptr<HostMarket> market_;
};

TEST_F(HostMarketTest, QuoteRecordsCarryTheLastTradingDayOfTheDatabase) {
  const std::string last = db_.Column("SELECT MAX(T003) FROM t100000020")[0];
  EXPECT_EQ(std::to_string(market_->LastTradingDay()), last);
  const auto codes =
      db_.Column("SELECT T002 FROM t100000020 WHERE T003 = " + last + " ORDER BY T002 LIMIT 5");
  ASSERT_FALSE(codes.empty());
  for (const std::string& code : codes) {
    SCOPED_TRACE(code);
    const auto bars =
        db_.Rows("SELECT T005, T006, T007, T008, T009, T010, T012, T013 FROM t100000020 WHERE T002 = '" +
                 code + "' ORDER BY T003 DESC LIMIT 2");
    ASSERT_EQ(bars.size(), 2u);
    const Hq104 quote = QuoteOf(Ask(kHostQuoteRecord, Value(code)));
    EXPECT_EQ(+quote.state, 0);
    EXPECT_FLOAT_EQ(+quote.previous_close, std::stof(bars[1][3]));
    EXPECT_FLOAT_EQ(+quote.open, std::stof(bars[0][0]));
    EXPECT_FLOAT_EQ(+quote.high, std::stof(bars[0][1]));
    EXPECT_FLOAT_EQ(+quote.low, std::stof(bars[0][2]));
    EXPECT_FLOAT_EQ(+quote.latest, std::stof(bars[0][3]));
    EXPECT_DOUBLE_EQ(+quote.volume, std::stod(bars[0][4]));
    EXPECT_DOUBLE_EQ(+quote.amount, std::stod(bars[0][5]));
    EXPECT_FLOAT_EQ(+quote.turnover_percent, std::stof(bars[0][6]));
    EXPECT_DOUBLE_EQ(+quote.market_value, std::stod(bars[0][7]));
    EXPECT_NEAR(+quote.change, quote.latest - quote.previous_close, 1e-4);
    EXPECT_NEAR(+quote.average, std::stod(bars[0][5]) / std::stod(bars[0][4]), 1e-3);
    EXPECT_GE(+quote.float_market_value, 0.0);
    EXPECT_LE(+quote.float_market_value, quote.market_value * 1.001);
    // 0x69 answers the same record on its own market only.
    const int shanghai = code[0] == '6' ? kHostShanghai : kHostShenzhen;
    EXPECT_EQ(Ask(kHostQuoteRecordByMarket, Value(code), Byte(shanghai)), Ask(kHostQuoteRecord, Value(code)));
    EXPECT_EQ(HostDataFunc(nullptr, -1, kHostQuoteRecordByMarket, std::vector<char>(104).data(), 1,
                           Value(code), Byte(1 - shanghai), 1, 0),
              0);
  }
}

TEST_F(HostMarketTest, UnknownCodesAnswerNothingButTheFixedSizeIsAnnounced) {
  EXPECT_EQ(HostDataFunc(nullptr, -1, kHostQuoteRecord, nullptr, -1, Value("999999"), {}, 1, 0), 104);
  std::vector<char> buffer(104 + 1024, '\0');
  EXPECT_EQ(HostDataFunc(nullptr, -1, kHostQuoteRecord, buffer.data(), 1, Value("999999"), {}, 1, 0), 0);
  EXPECT_EQ(HostDataFunc(nullptr, -1, 0x55, nullptr, -1, {}, {}, 1, 0), 0);
  EXPECT_EQ(HostDataFunc(nullptr, -1, 0x55, buffer.data(), 1, {}, {}, 1, 0), 0);
  // No market registered: nothing at all.
  SetCallbackMarket(nullptr);
  EXPECT_EQ(HostDataFunc(nullptr, -1, kHostQuoteBoards, nullptr, -1, {}, {}, 1, 0), 0);
}

TEST_F(HostMarketTest, QuoteBoardsFollowTheSecurityMasterAndTheListFile) {
  const std::string answer = Ask(kHostQuoteBoards);
  const std::vector<HostBoard> boards = DecodeBoardSet(answer);
  ASSERT_EQ(boards.size(), 6u);
  std::size_t codes = 0;
  for (const HostBoard& board : boards) codes += board.codes.size();
  EXPECT_EQ(answer.size(), kBoardCodesOffset + kBoardCodeSize * codes);
  EXPECT_EQ(boards[0].name, "上证Ａ股");
  EXPECT_EQ(boards[0].codes, db_.Column("SELECT T003 FROM t100000001 WHERE T005 = '1' AND T006 = '83' AND "
                                        "T008 <> '3' ORDER BY T003"));
  EXPECT_EQ(boards[1].name, "深证Ａ股");
  EXPECT_EQ(boards[1].codes, db_.Column("SELECT T003 FROM t100000001 WHERE T005 = '1' AND T006 = '90' AND "
                                        "T008 <> '3' ORDER BY T003"));
  EXPECT_EQ(boards[2].name, "中小企业");
  ASSERT_FALSE(boards[2].codes.empty());
  for (const std::string& code : boards[2].codes) EXPECT_EQ(code.substr(0, 3), "002");
  EXPECT_EQ(boards[3].name, "创业板");
  ASSERT_FALSE(boards[3].codes.empty());
  for (const std::string& code : boards[3].codes) EXPECT_TRUE(code[0] == '3' && code[1] == '0') << code;
  EXPECT_EQ(boards[4].name, "自选股");
  EXPECT_EQ(JoinCodes(boards[4].codes), ProfileString(Lists(), "Lists", "Own"));
  EXPECT_EQ(boards[5].name, "条件股");
  EXPECT_EQ(boards[5].codes.size(), 5u);
  // The module's reader sees the condition board through the callback.
  EXPECT_EQ(CwFileUtil::GetTJGBoard(), boards[5].codes);
}

TEST_F(HostMarketTest, ConceptBoardsAreClass209WithTheirMembers) {
  const std::vector<HostBoard> boards = DecodeBoardSet(Ask(kHostConceptBoards));
  const auto names = db_.Rows("SELECT code, text FROM orbe_consts WHERE class = '209' ORDER BY seq");
  ASSERT_EQ(boards.size(), names.size());
  ASSERT_GE(boards.size(), 3u);
  EXPECT_EQ(boards[0].name, "精选指数");
  EXPECT_EQ(boards[1].name, "ETF基金");
  for (std::size_t i = 0; i < boards.size(); ++i) {
    EXPECT_EQ(boards[i].name, names[i][1]);
    EXPECT_EQ(boards[i].codes,
              db_.Column("SELECT T003 FROM t100000030 WHERE T001 = '" + names[i][0] + "' ORDER BY rowid"));
  }
  const std::vector<std::string> module_names = CwFileUtil::GetConceptBoard();
  ASSERT_EQ(module_names.size(), boards.size() - 2);
  EXPECT_EQ(module_names[0], boards[2].name);
  EXPECT_EQ(CwFileUtil::GetConceptContentStock(boards[2].name.c_str()), boards[2].codes);
}

TEST_F(HostMarketTest, CodeListsAreEightyByteEntriesOfTheListFile) {
  for (const auto& [list, key] : {std::pair{0, "Own"}, std::pair{1, "Holdings"}}) {
    SCOPED_TRACE(key);
    const std::string answer = Ask(kHostCodeList, Byte(static_cast<unsigned char>(list)));
    const std::vector<std::string> expected = SplitCodes(ProfileString(Lists(), "Lists", key));
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(answer.size(), expected.size() * sizeof(HostCodeListEntry));
    for (std::size_t i = 0; i < expected.size(); ++i) {
      HostCodeListEntry entry;
      std::memcpy(&entry, answer.data() + i * sizeof entry, sizeof entry);
      EXPECT_EQ(FieldText(entry.code), expected[i]);
      EXPECT_EQ(+entry.market, expected[i][0] == '6' ? 1 : 0) << expected[i];
    }
  }
  EXPECT_EQ(CwFileUtil::GetZXGBoard(), SplitCodes(ProfileString(Lists(), "Lists", "Own")));
  EXPECT_EQ(Ask(kHostCodeList, Byte(2)), "");  // no third list
  // An emptied list answers nothing rather than an empty buffer.
  ASSERT_TRUE(WriteProfileString(Lists(), "Lists", "Holdings", ""));
  EXPECT_EQ(HostDataFunc(nullptr, -1, kHostCodeList, nullptr, -1, Byte(1), {}, 1, 0), 0);
}

TEST_F(HostMarketTest, SavingABoardAppendsToTheSavedCustomBoard) {
  const auto codes = db_.Column("SELECT T003 FROM t100000001 WHERE T005 = '1' ORDER BY T003 LIMIT 3");
  ASSERT_EQ(codes.size(), 3u);
  std::string records;
  for (const std::string& code : {codes[0], codes[1], codes[0]}) records += std::string(1, '\xff') + code;
  EXPECT_EQ(HostSwitchFunc(nullptr, -1, records.data(), static_cast<int>(records.size()), kSwitchSaveBoard, 0, 0),
            1);
  const std::string more = std::string(1, '\xff') + codes[2];
  EXPECT_EQ(HostSwitchFunc(nullptr, -1, more.data(), static_cast<int>(more.size()), kSwitchSaveBoard, 0, 0), 1);
  const std::vector<HostBoard> boards = DecodeBoardSet(Ask(kHostCustomBoards));
  ASSERT_EQ(boards.size(), 2u);  // the default board and the saved one
  EXPECT_EQ(boards[1].name, HostMarket::kSavedBoardName);
  EXPECT_EQ(boards[1].codes, codes);
  EXPECT_EQ(CwFileUtil::GetZDYBoard(HostMarket::kSavedBoardName), codes);
  const auto requests = RecordedSwitchRequests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].codes, (std::vector<std::string>{codes[0], codes[1], codes[0]}));

  EXPECT_EQ(HostSwitchFunc("600000", -1, nullptr, -1, kSwitchShowSecurity, 0, 0), 1);
  ASSERT_EQ(RecordedSwitchRequests().size(), 3u);
  EXPECT_EQ(RecordedSwitchRequests()[2].codes, std::vector<std::string>{"600000"});
  EXPECT_EQ(HostSwitchFunc(nullptr, -1, nullptr, 0, kSwitchSaveBoard, 0, 0), 0);  // nothing to save
}

TEST_F(HostMarketTest, AFetchHandsOutExactlyWhatTheSizeQueryAnnounced) {
  const int size = HostDataFunc(nullptr, -1, kHostCustomBoards, nullptr, -1, {}, {}, 1, 0);
  ASSERT_GT(size, 0);
  // The list grows between the query and the fetch.
  ASSERT_TRUE(market_->SaveBoard({"600000", "000001"}));
  std::vector<char> buffer(static_cast<std::size_t>(size) + 1024, '\0');
  EXPECT_EQ(HostDataFunc(nullptr, -1, kHostCustomBoards, buffer.data(), 1, {}, {}, 1, 0), size);
  // Without a size query the buffer's size is unknown: nothing is written.
  EXPECT_EQ(HostDataFunc(nullptr, -1, kHostCustomBoards, buffer.data(), 1, {}, {}, 1, 0), 0);
  EXPECT_EQ(DecodeBoardSet(Ask(kHostCustomBoards)).size(), 2u);
}

TEST_F(HostMarketTest, AttributesAccountTextsSenderAndCallbackCommands) {
  const auto row =
      db_.Rows("SELECT T003, T004, T007 FROM t100000001 WHERE T005 = '1' AND T006 = '83' LIMIT 1");
  ASSERT_EQ(row.size(), 1u);
  const std::string code = row[0][0];
  const std::string attributes = Ask(kHostSecurityAttributes, Value(code), Byte(kHostShanghai));
  ASSERT_EQ(attributes.size(), sizeof(HostSecurityAttributes));
  HostSecurityAttributes record;
  std::memcpy(&record, attributes.data(), sizeof record);
  EXPECT_EQ(+record.market, kHostShanghai);
  EXPECT_EQ(+record.price_decimals, 2);
  EXPECT_EQ(+record.kind, 1);
  const auto board =
      db_.Column("SELECT text FROM orbe_consts WHERE class = '204' AND code = '" + row[0][2] + "'");
  ASSERT_EQ(board.size(), 1u);
  EXPECT_EQ(FieldText(record.block), board[0]);
  EXPECT_EQ(Ask(kHostSecurityAttributes, Value(code), Byte(kHostShenzhen)), "");
  EXPECT_EQ(Ask(kHostSecurityAttributes, Value(code), Byte(0xFF)), attributes);

  EXPECT_EQ(Ask(kHostTradingAccount), "");  // none configured
  ASSERT_TRUE(WriteProfileString(Lists(), "Account", "TradingAccount", "88001234"));
  const std::string account = Ask(kHostTradingAccount);
  ASSERT_EQ(account.size(), kHostTextSize);
  EXPECT_EQ(FieldText(account.data(), account.size()), "88001234");
  const std::string login = Ask(kHostLoginName);
  ASSERT_EQ(login.size(), kHostTextSize);
  EXPECT_EQ(FieldText(login.data(), login.size()), ProfileString(Lists(), "Account", "LoginName"));

  HostSenderBlock sender{};
  EXPECT_EQ(HostDataFunc(nullptr, -1, kHostSender, &sender, 1, {}, {}, 0, 0), 52);
  EXPECT_EQ(FieldText(sender.text), ProfileString(Lists(), "Account", "LoginName"));

  char text[64] = {};
  int length = sizeof text;
  const HostValue7 value = Value(code);
  EXPECT_EQ(HostCallbackFunc(kCallbackSecurityName, &value, 60, text, &length, 0), 1);
  EXPECT_EQ(std::string(text), row[0][1]);
  EXPECT_EQ(length, static_cast<int>(row[0][1].size()));
  length = sizeof text;
  EXPECT_EQ(HostCallbackFunc(kCallbackMarketName, &value, 60, text, &length, 0), 1);
  EXPECT_EQ(std::string(text), "上海证券交易所");
  length = sizeof text;
  const HostValue7 unknown = Value("999999");
  EXPECT_EQ(HostCallbackFunc(kCallbackSecurityName, &unknown, 60, text, &length, 0), 0);
  EXPECT_EQ(HostCallbackFunc(13, &value, 60, text, &length, 0), 0);
}

TEST(QuoteBuilderTest, SuspendedAndFreshlyListedSecurities) {
  DailyBar day1{20261127, 10.0, 10.1, 10.5, 9.9, 10.2, 1000, 10200, 0.5, 1.0e9};
  DailyBar day2{20261130, 10.2, 10.3, 10.8, 10.2, 10.6, 3000, 31800, 1.5, 1.1e9};
  // Listed on the last day: the previous close is the bar's own.
  const Hq104 fresh = BuildQuoteRecord({day2}, 20261130, 0);
  EXPECT_FLOAT_EQ(+fresh.previous_close, 10.2f);
  EXPECT_FLOAT_EQ(+fresh.volume_ratio, 0.0f);
  const Hq104 trading = BuildQuoteRecord({day1, day2}, 20261130, 0.53);
  EXPECT_FLOAT_EQ(+trading.volume_ratio, 3.0f);
  EXPECT_FLOAT_EQ(+trading.dynamic_pe, static_cast<float>(10.6 / 0.53));
  EXPECT_NEAR(+trading.float_market_value, 10.6 * 3000 * 100 / 1.5, 1e-3);
  // No bar on the last trading day: suspended at the last close.
  const Hq104 suspended = BuildQuoteRecord({day1}, 20261130, -0.2);
  EXPECT_EQ(+suspended.state, 1);
  EXPECT_FLOAT_EQ(+suspended.previous_close, 10.2f);
  EXPECT_FLOAT_EQ(+suspended.latest, 10.2f);
  EXPECT_FLOAT_EQ(+suspended.open, 10.2f);
  EXPECT_DOUBLE_EQ(+suspended.volume, 0.0);
  EXPECT_FLOAT_EQ(+suspended.dynamic_pe, 0.0f);  // losses give no ratio
  EXPECT_DOUBLE_EQ(AnnualisedEps(0.3, 20260930), 0.4);
  EXPECT_DOUBLE_EQ(AnnualisedEps(0.3, 20260915), 0.0);
}

TEST(BoardSetTest, LimitsOfTheLayoutAndTruncatedAnswers) {
  std::vector<HostBoard> boards(101, HostBoard{"板块", {"600000"}});
  boards[0].name = "一二三四五六七八九十";  // 20 bytes: cut to 9 characters
  const std::string bytes = EncodeBoardSet(boards);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 100);
  EXPECT_EQ(bytes.size(), kBoardCodesOffset + kBoardCodeSize * 100);
  const std::vector<HostBoard> decoded = DecodeBoardSet(bytes);
  ASSERT_EQ(decoded.size(), 100u);
  EXPECT_EQ(decoded[0].name, "一二三四五六七八九");
  // A cut answer keeps only its complete boards.
  EXPECT_EQ(DecodeBoardSet(std::string_view(bytes).substr(0, bytes.size() - 1)).size(), 99u);
  EXPECT_TRUE(DecodeBoardSet(std::string_view(bytes).substr(0, 2000)).empty());
}

}  // namespace
}  // namespace orbe
