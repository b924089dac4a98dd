// ReplySqlHandle over an in-process engine that records the frames it is sent
// and answers them as scripted; the session's cache is the test cache.
#include "dataservice/reply_sql_handle.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "dataservice/reply_cache_lock.h"
#include "dictionary/dictionary_writer.h"
#include "env/test_components.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/crypto.h"
#include "orbe/platform/sync.h"
#include "orbe/platform/window.h"
#include "protocol/replies.h"
#include "support/fake_reply.h"

namespace {

const bool kWithTestComponents = orbe_test::RunWithTestComponents("full");

constexpr int kTable = 100;
constexpr UINT kDoneMessage = WM_USER + 7;
constexpr UINT kProgressMessage = WM_USER + 8;

template <typename T>
std::string Bytes(T value) {
  std::string bytes(sizeof(T), '\0');
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

using orbe_test::FakeReply;
using orbe_test::FakeRequest;
namespace wire = orbe::wire;

constexpr std::size_t kLengthOffset = offsetof(wire::RequestHeader, total_length);

// What the fake server answers to one request.
struct Answer {
  std::vector<std::string> records;
  int status = kCwStatusComplete;
  bool zlib = false;
};

// The sent frame (header and body) with its code.
struct SentFrame {
  std::uint16_t code = 0;
  std::string frame;
  std::string Body() const { return frame.substr(wire::kRequestHeaderSize); }
};

class FakeRequestSession : public ICwRequestSession {
 public:
  ~FakeRequestSession() override = default;
  bool Send(IReplyHandle* handle, ICwRequest* request) override { return Accept(handle, request); }
  bool SendAndWait(IReplyHandle* handle, ICwRequest* request) override { return Accept(handle, request); }
  void SetReplyHandle(IReplyHandle*) override {}
  void Quit() override {}
  int GetConnectState() override { return kCwStateConnected; }
  void ResetReplyHandleQueue() override {}
  void ResetSecondReplyHandleQueue() override {}
  int GetHostIndex() override { return 0; }

  // Answers requests of this code as given (else an empty reply with 100).
  std::function<Answer(const SentFrame&)> answer = [](const SentFrame&) { return Answer{}; };
  bool hold = false;      // keep requests for a later Deliver
  bool refuse = false;    // Send fails, no callback
  std::vector<SentFrame> sent;

  int Count(std::uint16_t code) const {
    int count = 0;
    for (const SentFrame& frame : sent) count += frame.code == code ? 1 : 0;
    return count;
  }
  std::size_t Held() const { return held_.size(); }
  // Answers the oldest held request.
  void Deliver() {
    auto [handle, frame] = held_.front();
    held_.pop_front();
    Reply(handle, frame);
  }

 private:
  bool Accept(IReplyHandle* handle, ICwRequest* request) {
    if (refuse || handle == nullptr) return false;
    SentFrame frame;
    frame.frame = orbe_test::FrameOf(*request);
    frame.code = At<std::uint16_t>(frame.frame, wire::kRequestHeaderSize);
    sent.push_back(frame);
    if (hold) {
      held_.emplace_back(handle, frame);
    } else {
      Reply(handle, frame);
    }
    return true;
  }
  void Reply(IReplyHandle* handle, const SentFrame& frame) {
    const Answer reply = answer(frame);
    int progress = 0;
    for (const std::string& record : reply.records) {
      progress += 100 / static_cast<int>(reply.records.size());
      FakeReply packet = reply.zlib ? FakeReply::Compressed(record, progress) : FakeReply::Plain(record, progress);
      handle->OnReply(&packet);
    }
    handle->OnStatus(reply.status);
  }

  std::deque<std::pair<IReplyHandle*, SentFrame>> held_;
};

class FakeEngine : public ICwDataEngin {
 public:
  ~FakeEngine() override = default;
  bool SetConfigFile(const char*) override { return true; }
  void SetTimeOut(int) override {}
  void SetOption(int) override {}
  void Shutdown() override {}
  void StartSessions(int) override {}
  void Stop() override {}
  ICwRequestSession* CreateRequestSession(CWHOSTINFO*, IReplyHandle*) override { return &session; }
  ICwRequestSession* CreateConfiguredRequestSession(IReplyHandle*) override { return &session; }
  ICwRequestSession* CreateAltRequestSession(CWHOSTINFO*, IReplyHandle*) override { return &session; }
  ICwRequestSession* CreateAltConfiguredRequestSession(IReplyHandle*) override { return &session; }
  ICwRequest* CreateRequest() override {
    requests.push_back(std::make_unique<FakeRequest>());
    return requests.back().get();
  }
  void ReleaseRequest(ICwRequest*) override { ++released; }

  FakeRequestSession session;
  std::vector<std::unique_ptr<FakeRequest>> requests;
  int released = 0;
};

struct Posted {
  UINT message;
  WPARAM status;
  LPARAM handle;
};

class RecordingWindow : public CWnd {
 public:
  std::vector<Posted> posted;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kDoneMessage || message == kProgressMessage) posted.push_back({message, wparam, lparam});
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

// One record of the test table: T001 text(6), T002 codes(8), T003 double,
// T004 date-time, T005 int.
std::string StockRecord(const char* code, const char* industry, double price, std::int32_t date,
                        std::int32_t time, std::int32_t volume) {
  std::string record(6, '\0');
  std::memcpy(record.data(), code, std::min<std::size_t>(6, std::strlen(code)));
  std::string codes(8, '\0');
  std::memcpy(codes.data(), industry, std::min<std::size_t>(8, std::strlen(industry)));
  return record + codes + Bytes(price) + Bytes(date) + Bytes(time) + Bytes(volume);
}

class ReplySqlHandleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithTestComponents);
    folder_ = orbe_test::MakeTempFolder();
    orbe::DictionarySchema schema;
    orbe::SchemaTable table;
    table.number = kTable;
    table.name = "stock";
    table.fields = {{1, 2, 6, "", "code"}, {2, 1, 8, "974", "industry"}, {3, 8, 8, "", "price"},
                    {4, 10, 8, "", "stamp"}, {5, 4, 4, "", "volume"}};
    schema.tables.push_back(table);
    schema.constants = {{"974", "01", "farming", "", ""}, {"974", "02", "mining", "", ""}};
    ASSERT_TRUE(orbe::WriteDictionaryFiles(orbe::BuildDictionaryFiles(schema), folder_, false));
    session_ = std::make_unique<OrbeClientSession>(&engine_, folder_, folder_ + "comm.ini");
    ASSERT_NE(session_->GetCwcache(), nullptr);
    session_->CreateSession(false, false);
    ASSERT_TRUE(CwFileUtil::LoadCWSysData(session_.get(), folder_.c_str()));
    ASSERT_TRUE(window_.Create(nullptr, RECT{0, 0, 10, 10}, 1));
    handle_ = std::make_unique<ReplySqlHandle>(session_.get(), window_.GetSafeHwnd(), kDoneMessage);
    Script(1);
  }
  void TearDown() override {
    SetKeyDown(VK_SHIFT, false);
    handle_.reset();
    session_.reset();
    std::filesystem::remove_all(folder_);
  }

  // The server: table stamp `stamp`, two records for every SELECT.
  void Script(std::int64_t stamp) {
    engine_.session.answer = [stamp](const SentFrame& frame) {
      Answer answer;
      if (frame.code == wire::kCodeTableTimeStamp) {
        answer.records = {wire::EncodeTimeStampBody({wire::kTableKnown, stamp})};
      } else if (frame.code == wire::kCodeSelect) {
        answer.records = {StockRecord("600000", "01,02", 10.5, 20240105, 93000, 1200),
                          StockRecord("000001", "02", -1.25, 20231231, 0, -5)};
      }
      return answer;
    };
  }
  std::vector<Posted> Pump() {
    orbe::RunUntilIdle();
    std::vector<Posted> posted = window_.posted;
    window_.posted.clear();
    return posted;
  }
  IFetchData* Face() { return handle_.get(); }
  LPARAM FaceParam() { return reinterpret_cast<LPARAM>(Face()); }

  std::string folder_;
  FakeEngine engine_;
  std::unique_ptr<OrbeClientSession> session_;
  RecordingWindow window_;
  std::unique_ptr<ReplySqlHandle> handle_;
};

const char kSelect[] = "SELECT T001,T002,T003,T004,T005 FROM 100";

TEST_F(ReplySqlHandleTest, SelectSendsStampThenStatementAndPostsCompletion) {
  std::string options(9000, 'o');
  ASSERT_TRUE(Face()->FetchData(kSelect, options.data(), static_cast<int>(options.size()), FALSE));
  ASSERT_EQ(engine_.session.sent.size(), 2u);
  const SentFrame& stamp = engine_.session.sent[0];
  EXPECT_EQ(stamp.code, wire::kCodeTableTimeStamp);
  EXPECT_EQ(At<std::uint32_t>(stamp.frame, kLengthOffset), 20u);
  EXPECT_EQ(At<std::int32_t>(stamp.Body(), 2), kTable);
  const SentFrame& select = engine_.session.sent[1];
  EXPECT_EQ(select.code, wire::kCodeSelect);
  EXPECT_EQ(At<std::uint32_t>(select.frame, kLengthOffset), 590u + 7999u);  // 9000 is cut to 7999
  EXPECT_EQ(At<std::uint16_t>(select.Body(), offsetof(cw_command_req, extra_length)), 7999);
  EXPECT_EQ(select.Body().substr(576), options.substr(0, 7999));
  EXPECT_EQ(At<std::int32_t>(select.Body(), offsetof(cw_command_req, table)), kTable);

  const std::vector<Posted> posted = Pump();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, kDoneMessage);
  EXPECT_EQ(posted[0].status, 100u);
  EXPECT_EQ(posted[0].handle, FaceParam());
  EXPECT_EQ(Face()->GetRecordCount(), 2);
  EXPECT_EQ(handle_->CacheKey(), orbe::Md5Hex(std::string(kSelect) + options.substr(0, 7999)));
  EXPECT_EQ(Face()->GetCacheTimeStamp(handle_->CacheKey().c_str()), 1);
}

TEST_F(ReplySqlHandleTest, UnchangedStampCompletesFromTheCache) {
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  Pump();
  ASSERT_EQ(engine_.session.Count(wire::kCodeSelect), 1);

  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeTableTimeStamp), 2);
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 1);  // answered by the cache
  std::vector<Posted> posted = Pump();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].status, 100u);
  EXPECT_EQ(Face()->GetRecordCount(), 2);
  tagMemFieldInfo volume{};
  ASSERT_TRUE(Face()->GetFieldInfo("T005", &volume));
  int value = 0;
  ASSERT_TRUE(Face()->GetRecordAsInt(1, &volume, &value));
  EXPECT_EQ(value, -5);

  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, TRUE));  // forced
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 2);
  SetKeyDown(VK_SHIFT, true);
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 3);
  SetKeyDown(VK_SHIFT, false);
  Script(2);  // the table changed
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 4);
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 4);
  EXPECT_EQ(Pump().size(), 4u);
}

TEST_F(ReplySqlHandleTest, UnknownOrZeroStampsAndFailedRepliesAreNotCached) {
  Script(0);  // a table that never had a stamp
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 2);

  // A reply cut short by a lost connection must not be taken for the table.
  engine_.session.answer = [](const SentFrame& frame) {
    Answer answer;
    if (frame.code == wire::kCodeTableTimeStamp) answer.records = {wire::EncodeTimeStampBody({wire::kTableKnown, 9})};
    if (frame.code == wire::kCodeSelect) {
      answer.records = {StockRecord("600000", "01", 1, 1, 1, 1)};
      answer.status = -1;
    }
    return answer;
  };
  ASSERT_TRUE(Face()->FetchData("SELECT T001 FROM 100", nullptr, 0, FALSE));
  EXPECT_EQ(handle_->LastStatus(), -1);
  EXPECT_EQ(Face()->GetCacheTimeStamp(handle_->CacheKey().c_str()), -1);
  ASSERT_TRUE(Face()->FetchData("SELECT T001 FROM 100", nullptr, 0, FALSE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 4);
}

TEST_F(ReplySqlHandleTest, WaitingSelectUsesTheCacheToo) {
  ASSERT_TRUE(Face()->SynFetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(Face()->GetRecordCount(), 2);
  ASSERT_TRUE(Face()->SynFetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 1);
  EXPECT_EQ(Face()->GetRecordCount(), 2);
  ASSERT_TRUE(Face()->SynFetchData(kSelect, nullptr, 0, TRUE));
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 2);
  EXPECT_EQ(Face()->SynGetTimestamp(kTable), 1);
  EXPECT_EQ(Face()->GetRecordCount(), 2);  // a stamp query keeps the records
}

TEST_F(ReplySqlHandleTest, RecordReadsThroughTheFieldList) {
  ASSERT_TRUE(Face()->FetchData("SELECT T002,T004,T003,T001,T005 FROM 100", nullptr, 0, TRUE));
  // The reply is in the scripted order, which the field list must not assume:
  // here it describes the selected order, so offsets follow it.
  tagMemFieldInfo field{};
  EXPECT_FALSE(Face()->GetFieldInfo("T03", &field));
  EXPECT_FALSE(Face()->GetFieldInfo("T0003", &field));
  EXPECT_FALSE(Face()->GetFieldInfo("X003", &field));
  EXPECT_FALSE(Face()->GetFieldInfo("T009", &field));
  ASSERT_TRUE(Face()->GetFieldInfo("t004", &field));
  EXPECT_EQ(+field.offset, 8u);
  ASSERT_TRUE(Face()->GetFieldInfo("T001", &field));
  EXPECT_EQ(+field.offset, 24u);
}

// A statement sent again is prepared once, but never across a dictionary
// reload: the field list and the request follow the dictionary as it is now.
TEST_F(ReplySqlHandleTest, AStatementSentAgainFollowsADictionaryReload) {
  const char kStatement[] = "SELECT T001,T003 FROM 100";
  const auto offset_of_t003 = [&] {
    tagMemFieldInfo field{};
    return Face()->GetFieldInfo("T003", &field) ? static_cast<int>(field.offset) : -1;
  };
  ASSERT_TRUE(Face()->FetchData(kStatement, nullptr, 0, TRUE));
  Pump();
  EXPECT_EQ(offset_of_t003(), 6);
  ASSERT_TRUE(Face()->FetchData(kStatement, nullptr, 0, TRUE));
  Pump();
  EXPECT_EQ(offset_of_t003(), 6);

  // The same table with a wider code field and without T005.
  orbe::DictionarySchema schema;
  schema.tables.push_back({kTable, 0, "stock", {{1, 2, 10, "", "code"}, {3, 8, 8, "", "price"}}});
  ASSERT_TRUE(orbe::WriteDictionaryFiles(orbe::BuildDictionaryFiles(schema), folder_, false));
  ASSERT_TRUE(CwFileUtil::LoadCWSysData(session_.get(), folder_.c_str()));
  ASSERT_TRUE(Face()->FetchData(kStatement, nullptr, 0, TRUE));
  Pump();
  EXPECT_EQ(offset_of_t003(), 10);
  EXPECT_FALSE(Face()->FetchData("SELECT T001,T005 FROM 100", nullptr, 0, TRUE));
  Pump();
}

TEST_F(ReplySqlHandleTest, TypedReadsOfAllFields) {
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, TRUE));
  tagMemFieldInfo code{}, industry{}, price{}, stamp{}, volume{};
  ASSERT_TRUE(Face()->GetFieldInfo("T001", &code));
  ASSERT_TRUE(Face()->GetFieldInfo("T002", &industry));
  ASSERT_TRUE(Face()->GetFieldInfo("T003", &price));
  ASSERT_TRUE(Face()->GetFieldInfo("T004", &stamp));
  ASSERT_TRUE(Face()->GetFieldInfo("T005", &volume));
  char text[64];
  ASSERT_TRUE(Face()->GetRecordAsString(0, &code, text, sizeof text));
  EXPECT_STREQ(text, "600000");
  ASSERT_TRUE(Face()->GetRecordAsString(0, &industry, text, sizeof text));
  EXPECT_STREQ(text, "farming,mining");
  ASSERT_TRUE(Face()->GetRecordAsRawString(0, &industry, text, sizeof text));
  EXPECT_STREQ(text, "01,02");
  ASSERT_TRUE(Face()->GetRecordAsString(0, &stamp, text, sizeof text));
  EXPECT_STREQ(text, "20240105-093000");
  ASSERT_TRUE(Face()->GetRecordAsString(1, &stamp, text, sizeof text));
  EXPECT_STREQ(text, "20231231");
  ASSERT_TRUE(Face()->GetRecordAsString(1, &price, text, sizeof text));
  EXPECT_STREQ(text, "-1.250");
  EXPECT_FALSE(Face()->GetRecordAsString(1, &price, text, 8));
  double real = 0;
  ASSERT_TRUE(Face()->GetRecordAsDouble(0, &price, &real));
  EXPECT_EQ(real, 10.5);
  std::int64_t wide = 0;
  ASSERT_TRUE(Face()->GetRecordAsInt64(0, &stamp, &wide));
  EXPECT_EQ(wide, (std::int64_t{93000} << 32) | 20240105);
  int value = 0;
  EXPECT_FALSE(Face()->GetRecordAsInt(0, &code, &value));
  EXPECT_FALSE(Face()->GetRecordAsInt(2, &volume, &value));  // past the last record
  EXPECT_FALSE(Face()->GetRecordAsInt(-1, &volume, &value));
  EXPECT_FALSE(Face()->GetRecordAsInt(0, nullptr, &value));
}

TEST_F(ReplySqlHandleTest, CompressedPacketsAndProgress) {
  Face()->SetProgressNotify(window_.GetSafeHwnd(), kProgressMessage);
  engine_.session.answer = [](const SentFrame& frame) {
    Answer answer;
    if (frame.code == wire::kCodeSelect) {
      answer.records = {StockRecord("600000", "01", 1, 2, 3, 4), std::string(65536, 'z')};
      answer.zlib = true;
    }
    return answer;
  };
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, TRUE));
  EXPECT_EQ(Face()->GetRecordCount(), 2);
  tagMemFieldInfo volume{};
  ASSERT_TRUE(Face()->GetFieldInfo("T005", &volume));
  int value = 0;
  ASSERT_TRUE(Face()->GetRecordAsInt(0, &volume, &value));
  EXPECT_EQ(value, 4);
  const std::vector<Posted> posted = Pump();
  ASSERT_EQ(posted.size(), 3u);  // the stamp reply makes none: two packets, then completion
  EXPECT_EQ(posted[0].message, kProgressMessage);
  EXPECT_EQ(posted[0].status, 50u);
  EXPECT_EQ(posted[1].message, kProgressMessage);
  EXPECT_EQ(posted[1].status, 100u);
  EXPECT_EQ(posted[1].handle, FaceParam());
  EXPECT_EQ(posted[2].message, kDoneMessage);
}

TEST_F(ReplySqlHandleTest, RefusalsAndFailures) {
  engine_.session.hold = true;
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(Face()->GetRecordCount(), 0);
  EXPECT_FALSE(Face()->FetchData(kSelect, nullptr, 0, FALSE));  // one request at a time
  EXPECT_FALSE(Face()->DeleteBySql("DELETE FROM 100"));
  EXPECT_TRUE(Pump().empty());  // a refusal in flight must not end the request in flight
  engine_.session.Deliver();    // the stamp, which sends the statement
  engine_.session.Deliver();
  EXPECT_EQ(Face()->GetRecordCount(), 2);
  engine_.session.hold = false;

  EXPECT_FALSE(Face()->FetchData("SELECT T001 FROM", nullptr, 0, FALSE));  // does not parse
  std::vector<Posted> posted = Pump();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[1].status, 0u);

  engine_.session.refuse = true;
  EXPECT_FALSE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_FALSE(Face()->SynDeleteBySql("DELETE FROM 100"));
  EXPECT_EQ(Face()->GetRecordCount(), 0);
  EXPECT_TRUE(Face()->SynGetTimestamp(kTable) == -1);
  engine_.session.refuse = false;

  ReplySqlHandle detached(nullptr, window_.GetSafeHwnd(), kDoneMessage);
  EXPECT_FALSE(detached.FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_FALSE(detached.DeleteBySql("DELETE FROM 100"));
  EXPECT_EQ(detached.SynGetTimestamp(kTable), -1);
  EXPECT_FALSE(detached.LoadCache("x"));
  posted = Pump();
  ASSERT_FALSE(posted.empty());
  EXPECT_EQ(posted.back().status, 0u);
  EXPECT_EQ(posted.back().handle, reinterpret_cast<LPARAM>(static_cast<IFetchData*>(&detached)));
}

TEST_F(ReplySqlHandleTest, ChangesAndStatistics) {
  engine_.session.answer = [](const SentFrame& frame) {
    Answer answer;
    if (frame.code == wire::kCodeDelete || frame.code == wire::kCodeUpdate || frame.code == wire::kCodeInsert) {
      answer.records = {wire::EncodeWriteResult({wire::kResultOk, frame.code - 2000u})};
    } else if (frame.code == wire::kCodeStatistics) {
      answer.records = {wire::EncodeStatResult(wire::kResultOk, 8, Bytes(2.5))};
    }
    return answer;
  };
  int count = 0;
  ASSERT_TRUE(Face()->SynDeleteBySql("DELETE FROM 100 WHERE T005>3"));
  EXPECT_EQ(Face()->GetDeleteResult(&count), 0);
  EXPECT_EQ(count, 16);
  const SentFrame del = engine_.session.sent.back();
  EXPECT_EQ(At<std::uint32_t>(del.frame, kLengthOffset), 358u);
  EXPECT_EQ(del.Body().substr(2, 32).find_first_not_of("0123456789abcdef"), std::string::npos);
  ASSERT_TRUE(Face()->SynUpdateBySql("UPDATE 100 SET T005=7 WHERE T001='600000'"));
  EXPECT_EQ(Face()->GetUpdateResult(&count), 0);
  EXPECT_EQ(count, 17);
  EXPECT_EQ(At<std::uint32_t>(engine_.session.sent.back().frame, kLengthOffset), 563u + 4u);
  ASSERT_TRUE(Face()->InsertBySql("INSERT INTO 100 (T001,T005) VALUES ('600001',9)"));
  EXPECT_EQ(Face()->GetInsertResult(&count), 0);
  EXPECT_EQ(count, 18);
  EXPECT_FALSE(Face()->DeleteBySql("DELETE 100"));

  ASSERT_TRUE(Face()->SynFetchStatData("SELECT AVG(T003) FROM 100", "\x01\x01\x00z", 5));
  const SentFrame stat = engine_.session.sent.back();
  EXPECT_EQ(At<std::uint32_t>(stat.frame, kLengthOffset), 331u + 5u);
  EXPECT_EQ(At<std::int16_t>(stat.Body(), offsetof(cw_sqlstat_req, extra_length)), 5);
  double real = 0;
  ASSERT_TRUE(Face()->GetStatResultAsDouble(&real));
  EXPECT_EQ(real, 2.5);
  int value = 0;
  ASSERT_TRUE(Face()->GetStatResultAsInt(&value));
  EXPECT_EQ(value, 2);
  char text[16];
  ASSERT_TRUE(Face()->GetStatResultAsString(text, sizeof text));
  EXPECT_STREQ(text, "2.500");
  EXPECT_FALSE(Face()->GetStatResultAsString(text, 5));
  double raw = 0;
  EXPECT_EQ(Face()->GetStatResultAsRaw(&raw, sizeof raw), 8);
  EXPECT_EQ(raw, 2.5);
  EXPECT_EQ(Face()->GetStatResultAsRaw(&raw, 7), -1);
  // Results of a reply with another record count fail.
  EXPECT_EQ(Face()->GetDeleteResult(&count), 0);  // the stat record is read as a change status
  ASSERT_TRUE(Face()->SynFetchData(kSelect, nullptr, 0, TRUE));
  EXPECT_EQ(Face()->GetDeleteResult(&count), 1);
  EXPECT_EQ(count, -1);
  EXPECT_FALSE(Face()->GetStatResultAsInt(&value));
}

TEST_F(ReplySqlHandleTest, StampsFlushAndCalls) {
  engine_.session.answer = [](const SentFrame& frame) {
    Answer answer;
    if (frame.code == wire::kCodeTimeStampIncrease) answer.records = {wire::EncodeTimeStampBody({wire::kResultOk, 77})};
    if (frame.code == wire::kCodeFlush) answer.records = {wire::EncodeFlushResult(wire::kResultOk)};
    if (frame.code == wire::kCodeCall || frame.code == wire::kCodeReload) {
      answer.records = {wire::EncodeCallReply(wire::CallStatus::kSuccess,
                                              Bytes<std::int32_t>(41) + Bytes<std::int16_t>(-2) +
                                                  std::string("name\0\0", 6) + Bytes(1.5f) + Bytes(2.5) +
                                                  Bytes<std::int64_t>(-9) + "e")};
    }
    return answer;
  };
  ASSERT_TRUE(Face()->SynIncTimestamp(kTable));
  EXPECT_EQ(Face()->GetIncTimestampResult(), 77);
  EXPECT_EQ(At<std::int32_t>(engine_.session.sent.back().Body(), 2), kTable);
  ASSERT_TRUE(Face()->FlushTable(kTable));
  EXPECT_EQ(Face()->GetFlushTableResult(), 0);
  EXPECT_EQ(Face()->GetIncTimestampResult(), -1);

  const char parameters[] = {'\x01', '\0', '\x02'};
  ASSERT_TRUE(Face()->SynCallRPC("proc_a", parameters, 3));
  const std::string body = engine_.session.sent.back().Body();
  EXPECT_EQ(At<std::uint16_t>(body, 0), wire::kCodeCall);
  EXPECT_STREQ(body.c_str() + 2, "proc_a");
  EXPECT_EQ(At<std::uint32_t>(body, 66), 3u);
  EXPECT_EQ(body.substr(70), std::string(parameters, 3));
  EXPECT_EQ(Face()->GetCallResult(), 0);
  EXPECT_EQ(Face()->GetReplyReadPos(), 1);
  EXPECT_EQ(Face()->GetReplyLength(), 33);
  int integer = 0;
  short shortValue = 0;
  char text[8];
  float single = 0;
  double real = 0;
  std::int64_t wide = 0;
  signed char byte = 0;
  ASSERT_TRUE(Face()->PopReplyAsInt(&integer));
  EXPECT_EQ(integer, 41);
  ASSERT_TRUE(Face()->PopReplyAsShort(&shortValue));
  EXPECT_EQ(shortValue, -2);
  EXPECT_FALSE(Face()->PopReplyAsString(6, text, 4));  // "name" does not fit four bytes
  EXPECT_EQ(Face()->GetReplyReadPos(), 7);
  ASSERT_TRUE(Face()->PopReplyAsString(6, text, sizeof text));
  EXPECT_STREQ(text, "name");
  ASSERT_TRUE(Face()->PopReplyAsFloat(&single));
  EXPECT_EQ(single, 1.5f);
  ASSERT_TRUE(Face()->PopReplyAsDouble(&real));
  EXPECT_EQ(real, 2.5);
  ASSERT_TRUE(Face()->PopReplyAsInt64(&wide));
  EXPECT_EQ(wide, -9);
  ASSERT_TRUE(Face()->PopReplyAsChar(&byte));
  EXPECT_EQ(byte, 'e');
  EXPECT_FALSE(Face()->PopReplyAsChar(&byte));
  EXPECT_FALSE(Face()->SetReplyReadPos(0));
  EXPECT_TRUE(Face()->SetReplyReadPos(31));
  EXPECT_FALSE(Face()->SetReplyReadPos(32));
  EXPECT_FALSE(Face()->PopReplyAsInt(&integer));  // three bytes remain

  ASSERT_TRUE(Face()->SynCallTQL("tql", "a|b"));
  EXPECT_EQ(engine_.session.sent.back().Body().substr(70), "a|b");
  ASSERT_TRUE(Face()->SynReloadTQL("set"));
  EXPECT_EQ(At<std::uint32_t>(engine_.session.sent.back().Body(), 66), 0u);
  EXPECT_FALSE(Face()->CallTQL(std::string(64, 'n').c_str(), ""));  // the name field holds 63
  EXPECT_FALSE(Face()->CallRPC("p", nullptr, 4));
  engine_.session.answer = [](const SentFrame&) { return Answer{}; };
  ASSERT_TRUE(Face()->ReloadTQL("set"));
  EXPECT_EQ(Face()->GetCallResult(), 1);  // empty reply
}

TEST_F(ReplySqlHandleTest, LocalCacheOperationsAndOptions) {
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, TRUE));
  ASSERT_TRUE(Face()->SaveCache("mine", 55));
  EXPECT_EQ(Face()->GetCacheTimeStamp("mine"), 55);
  EXPECT_EQ(Face()->GetCacheTimeStamp("other"), -1);
  ASSERT_TRUE(Face()->SynCallTQL("tql", ""));
  EXPECT_EQ(Face()->GetRecordCount(), 0);
  ASSERT_TRUE(Face()->LoadCache("mine"));
  EXPECT_EQ(Face()->GetRecordCount(), 2);
  EXPECT_FALSE(Face()->LoadCache("other"));
  Pump();

  Face()->AddSqlOption(1, "600000,000001");
  Face()->AddSqlOption(0, "ignored");
  Face()->AddSqlOption(2, "x");
  char block[64];
  ASSERT_EQ(Face()->GetSqlOptionBuffer(block, sizeof block), 17 + 5);
  EXPECT_EQ(block[0], 1);
  EXPECT_STREQ(block + 3, "600000,000001");
  Face()->ClearSqlOption();
  EXPECT_EQ(Face()->GetSqlOptionBuffer(block, sizeof block), 0);
}

TEST_F(ReplySqlHandleTest, ReplyAfterTheWindowIsGoneIsDropped) {
  engine_.session.hold = true;
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  window_.DestroyWindow();
  std::thread engineThread([this] {
    engine_.session.Deliver();
    engine_.session.Deliver();
  });
  engineThread.join();
  EXPECT_TRUE(Pump().empty());
  EXPECT_EQ(Face()->GetRecordCount(), 2);
}

TEST_F(ReplySqlHandleTest, DestructionWaitsForTheRequestInFlight) {
  engine_.session.hold = true;
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  std::atomic<bool> destroyed{false};
  std::thread owner([&] {
    handle_.reset();
    destroyed = true;
  });
  // The owner blocks until the engine has ended the request.
  engine_.session.Deliver();
  engine_.session.Deliver();
  owner.join();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(engine_.released, 2);
}

// The SELECT goes right behind its stamp when the cache holds nothing the
// stamp could spare it; with an entry it waits for the stamp's answer.
TEST_F(ReplySqlHandleTest, TheSelectWaitsForItsStampOnlyWhenTheCacheCouldAnswer) {
  engine_.session.hold = true;
  ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
  ASSERT_EQ(engine_.session.sent.size(), 2u) << "both before any answer";
  EXPECT_EQ(engine_.session.sent[0].code, wire::kCodeTableTimeStamp);
  EXPECT_EQ(engine_.session.sent[1].code, wire::kCodeSelect);
  EXPECT_FALSE(Face()->FetchData(kSelect, nullptr, 0, FALSE)) << "busy until both ended";
  engine_.session.Deliver();
  EXPECT_TRUE(Pump().empty()) << "the stamp's answer posts nothing";
  engine_.session.Deliver();
  ASSERT_EQ(Pump().size(), 1u);
  EXPECT_EQ(Face()->GetCacheTimeStamp(handle_->CacheKey().c_str()), 1);

  const struct {
    const char* name;
    std::int64_t server_stamp;
    int selects_after;
  } cases[] = {{"unchanged: the cache answers", 1, 1}, {"changed: the SELECT follows the answer", 2, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Script(c.server_stamp);
    const std::size_t before = engine_.session.sent.size();
    ASSERT_TRUE(Face()->FetchData(kSelect, nullptr, 0, FALSE));
    EXPECT_EQ(engine_.session.sent.size(), before + 1) << "the stamp alone";
    engine_.session.Deliver();
    if (c.selects_after == 2) engine_.session.Deliver();
    EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), c.selects_after);
    const std::vector<Posted> posted = Pump();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].status, 100u);
    EXPECT_EQ(Face()->GetRecordCount(), 2);
  }
}

// While a reply is being written to the cache (the cache lock held by the
// engine's thread), the window's thread does not wait to learn whether the
// cache holds the key: the stamp goes alone, and the SELECT follows its
// answer, as without the shortcut.
TEST_F(ReplySqlHandleTest, ACacheBeingWrittenIsNotWaitedForTheShortcut) {
  Script(1);
  engine_.session.hold = true;
  std::atomic<bool> sent{false};
  std::atomic<bool> holding{false};
  std::thread writer([&] {
    const std::lock_guard<std::mutex> hold(orbe::ReplyCacheLock());
    holding.store(true);
    // Long enough that a FetchData waiting for the lock shows as sending
    // after it; released at once when FetchData returned without it.
    for (int i = 0; i < 500 && !sent.load(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  });
  while (!holding.load()) std::this_thread::yield();
  const bool fetched = Face()->FetchData("SELECT T001 FROM 100", nullptr, 0, FALSE) != FALSE;
  const std::size_t sent_while_held = engine_.session.sent.size();
  sent.store(true);
  writer.join();
  while (engine_.session.Held() > 0) engine_.session.Deliver();
  EXPECT_TRUE(fetched);
  EXPECT_EQ(sent_while_held, 1u) << "the stamp alone";
  EXPECT_EQ(engine_.session.sent.at(0).code, wire::kCodeTableTimeStamp);
  EXPECT_EQ(engine_.session.Count(wire::kCodeSelect), 1) << "not in the cache: the SELECT follows";
  const std::vector<Posted> posted = Pump();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].status, 100u);
}

// Given back with its requests in flight, a handle stays until the last of
// them ends, however long that takes, and then goes without posting; a
// session that ends first leaves it nothing to reach but those ends.
TEST_F(ReplySqlHandleTest, AHandleGivenBackInFlightGoesWhenItsRequestEnds) {
  struct Case {
    const char* name;
    bool session_ends_first;
    int released_requests;  // the handle's two request objects, when their engine is still there
  };
  for (const Case& c : {Case{"session stays", false, 2}, Case{"session ends first", true, 0}}) {
    SCOPED_TRACE(c.name);
    engine_.session.hold = true;
    engine_.released = 0;
    ReplySqlHandle* given = handle_.release();
    ASSERT_TRUE(given->FetchData(kSelect, nullptr, 0, TRUE));
    ASSERT_EQ(engine_.session.sent.size(), 2u);
    given->Release();
    if (c.session_ends_first) session_.reset();
    engine_.session.Deliver();  // the table stamp
    EXPECT_EQ(engine_.released, 0);  // still there
    engine_.session.Deliver();  // the SELECT: the engine ends every request it accepted
    EXPECT_EQ(engine_.released, c.released_requests);
    EXPECT_TRUE(Pump().empty());
    engine_.session.sent.clear();
    engine_.session.hold = false;
    if (c.session_ends_first) break;
    handle_ = std::make_unique<ReplySqlHandle>(session_.get(), window_.GetSafeHwnd(), kDoneMessage);
  }
}

}  // namespace
