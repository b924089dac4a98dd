// CwFileUtil's host boards against a fake host data function.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dictionary/host_board_reader.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"

namespace {

using Strings = std::vector<std::string>;

// What the fake host answers per request code (and list number for 134).
struct FakeAnswer {
  std::string bytes;
  int announced = -1;  // the size query's answer; -1: the size of bytes
  int written = -1;    // the fetch's answer; -1: the size of bytes
};
std::map<int, FakeAnswer> g_answers;
std::vector<int> g_fetch_counts;

int AnswerKey(int code, const HostValue7& first) { return code * 256 + first.bytes[0]; }

int FakeDataFunc(int* /*context*/, int minusOne, int code, void* buffer, short count, HostValue7 first,
                 HostValue7 /*second*/, int /*flag*/, int /*zero*/) {
  if (minusOne != -1) return 0;
  const auto found = g_answers.find(AnswerKey(code, first));
  if (found == g_answers.end()) return 0;
  const FakeAnswer& answer = found->second;
  const int size = static_cast<int>(answer.bytes.size());
  if (buffer == nullptr) return count == -1 ? (answer.announced >= 0 ? answer.announced : size) : 0;
  g_fetch_counts.push_back(count);
  // An honest host never writes past what it announced.
  const int announced = answer.announced >= 0 ? answer.announced : size;
  std::memcpy(buffer, answer.bytes.data(), std::min(size, announced));
  return answer.written >= 0 ? answer.written : size;
}

struct Board {
  std::string name;
  Strings codes;
};

std::string BoardSet(const std::vector<Board>& boards) {
  std::string bytes(2202, '\0');
  bytes[0] = static_cast<char>(boards.size());
  for (std::size_t i = 0; i < boards.size(); ++i) {
    std::memcpy(&bytes[1 + 20 * i], boards[i].name.data(), std::min<std::size_t>(20, boards[i].name.size()));
    const auto count = static_cast<std::int16_t>(boards[i].codes.size());
    std::memcpy(&bytes[2001 + 2 * i], &count, 2);
  }
  for (const Board& board : boards) {
    for (const std::string& code : board.codes) {
      std::string entry(15, '\0');
      std::memcpy(entry.data(), code.data(), std::min<std::size_t>(15, code.size()));
      bytes += entry;
    }
  }
  return bytes;
}

std::string CodeList(const std::vector<std::pair<std::uint16_t, std::string>>& entries) {
  std::string bytes;
  for (const auto& [market, code] : entries) {
    std::string entry(80, '\0');
    std::memcpy(entry.data(), &market, 2);
    std::memcpy(entry.data() + 2, code.data(), code.size());
    bytes += entry;
  }
  return bytes;
}

const char kSelectedIndex[] = "\xbe\xab\xd1\xa1\xd6\xb8\xca\xfd";  // the index board
const char kEtfFunds[] = "ETF\xbb\xf9\xbd\xf0";                    // the fund board
const char kConditionBoard[] = "\xcc\xf5\xbc\xfe\xb9\xc9";         // the condition board

class HostBoardsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_answers.clear();
    g_fetch_counts.clear();
    RegisterCallBack(FakeDataFunc, nullptr, nullptr);
  }
  void TearDown() override { RegisterCallBack(nullptr, nullptr, nullptr); }
};

TEST_F(HostBoardsTest, ConceptBoardsLeaveOutTheIndexAndFundBoards) {
  g_answers[110 * 256] = {BoardSet({{"robots", {"600001.SH", "000002"}},
                                    {kSelectedIndex, {"000300"}},
                                    {"chips", {"300001"}},
                                    {kEtfFunds, {"510050"}}})};
  EXPECT_EQ(CwFileUtil::GetConceptBoard(), (Strings{"robots", "chips"}));
  EXPECT_EQ(CwFileUtil::GetConceptContentStock("robots"), (Strings{"600001", "000002"}));
  EXPECT_EQ(CwFileUtil::GetConceptContentStock("chips"), (Strings{"300001"}));
  EXPECT_EQ(CwFileUtil::GetConceptContentStock("none"), Strings{});
  EXPECT_EQ(g_fetch_counts, (std::vector<int>{1, 1, 1, 1}));
}

TEST_F(HostBoardsTest, ConditionAndCustomBoards) {
  g_answers[107 * 256] = {BoardSet({{"quotes", {"600000"}}, {kConditionBoard, {"600001.SH", "000001"}}})};
  g_answers[111 * 256] = {BoardSet({{"mine", {"000001.SZ"}}, {"mine", {"999999"}}})};
  EXPECT_EQ(CwFileUtil::GetTJGBoard(), (Strings{"600001.SH", "000001"}));
  EXPECT_EQ(CwFileUtil::GetZDYBoard("mine"), (Strings{"000001"}));
  EXPECT_EQ(CwFileUtil::GetZDYBoard(nullptr), Strings{});
}

TEST_F(HostBoardsTest, CodeListsKeepOnlyAShares) {
  g_answers[134 * 256 + 0] = {CodeList({{0, "000001"},
                                        {0, "300001"},
                                        {0, "399001"},
                                        {0, "600000"},
                                        {1, "600000"},
                                        {1, "000001"},
                                        {2, "600001"},
                                        {1, "688001"}})};
  g_answers[134 * 256 + 1] = {CodeList({{0, "002001"}})};
  EXPECT_EQ(CwFileUtil::GetZXGBoard(), (Strings{"000001", "300001", "600000", "688001"}));
  EXPECT_EQ(CwFileUtil::GetCCGBoard(), (Strings{"002001"}));
}

TEST_F(HostBoardsTest, NoHostFunctionOrNoAnswerGivesEmptyLists) {
  EXPECT_EQ(CwFileUtil::GetConceptBoard(), Strings{});  // registered, but nothing to answer
  RegisterCallBack(nullptr, nullptr, nullptr);
  g_answers[134 * 256] = {CodeList({{0, "000001"}})};
  EXPECT_EQ(CwFileUtil::GetZXGBoard(), Strings{});
  EXPECT_TRUE(g_fetch_counts.empty());
}

TEST_F(HostBoardsTest, CountsBeyondTheAnswerAreNeverRead) {
  // The counts promise 2 + 30000 codes; the answer holds three.
  std::string bytes = BoardSet({{"a", {"000001", "000002"}}, {"b", {"000003"}}});
  const std::int16_t huge = 30000;
  std::memcpy(&bytes[2003], &huge, 2);
  bytes[0] = static_cast<char>(200);  // more boards than the layout holds
  g_answers[111 * 256] = {bytes};
  EXPECT_EQ(CwFileUtil::GetZDYBoard("b"), (Strings{"000003"}));
  // The fetch claims more bytes than the buffer it was given.
  g_answers[111 * 256].written = 1 << 30;
  EXPECT_EQ(CwFileUtil::GetZDYBoard("a"), (Strings{"000001", "000002"}));
  // A negative count takes no codes and the next board starts where it would.
  const std::int16_t negative = -5;
  const std::int16_t one = 1;
  std::memcpy(&bytes[2001], &negative, 2);
  std::memcpy(&bytes[2003], &one, 2);
  g_answers[111 * 256] = {bytes};
  EXPECT_EQ(CwFileUtil::GetZDYBoard("b"), (Strings{"000001"}));
  // A short fetch: the header holds the names, the codes are gone.
  g_answers[111 * 256] = {BoardSet({{"a", {"000001"}}}), -1, 100};
  EXPECT_EQ(CwFileUtil::GetZDYBoard("a"), Strings{});
  // A code list whose fetch reports a partial entry keeps whole entries only.
  g_answers[134 * 256] = {CodeList({{0, "000001"}, {0, "000002"}}), -1, 159};
  EXPECT_EQ(CwFileUtil::GetZXGBoard(), (Strings{"000001"}));
  // An absurd announced size is not allocated.
  g_answers[134 * 256] = {CodeList({{0, "000001"}}), 0x7FFFFFFF, -1};
  EXPECT_EQ(orbe::FetchHostAnswer(FakeDataFunc, 134, 0), "");
}

}  // namespace
