// The reply handles against a real orbe-dataserver through the real engine:
// the cache short-cut by table time stamp is proven by the server's request
// log, which names every request code it handled.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "dataservice/reply_packets.h"
#include "dataservice/reply_sql_handle.h"
#include "env/module_state.h"
#include "env/test_components.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/window.h"
#include "server/server_fixture.h"
#include "support/component_reexec.h"

namespace {

namespace fs = std::filesystem;

constexpr int kMainTable = 100000001;
constexpr std::int64_t kSampleStamp = 1796032800;
constexpr UINT kDone = WM_USER + 1;
const char kSelect[] = "SELECT T001,T002 FROM 100000001";

// The real engine beside the real cache, or the test cache while the real one
// is not built: the module loads both from the folder ORBE_COMPONENT_DIR names.
bool RunWithRealEngine() {
  const fs::path lib(ORBE_TEST_LIB_DIR);
  const fs::path cache = fs::exists(lib / "libFinCacheStore.so") ? lib / "libFinCacheStore.so"
                                                                  : lib / "testcomponents/full/libFinCacheStore.so";
  return orbe_test::RunWithComponentFolder(
      orbe_test::LinkComponentFolder("orbe_hdl", (lib / "libFinDataComm.so").string(), cache.string()));
}

const bool kWithRealEngine = RunWithRealEngine();

// The folder of links lives as long as the test program (also when it only
// lists its tests).
struct ComponentFolderCleanup {
  ~ComponentFolderCleanup() {
    if (const char* folder = getenv("ORBE_COMPONENT_DIR")) {
      std::error_code ignored;
      fs::remove_all(folder, ignored);
    }
  }
} kCleanup;

class RecordingWindow : public CWnd {
 public:
  std::vector<WPARAM> statuses;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kDone) statuses.push_back(wparam);
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

class FetchDataServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithRealEngine);
    work_ = orbe::testing::TestDirectory("hdl");
    const std::string db = work_ + "/market.db";
    ASSERT_EQ(std::system((std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver --make-sample " + db +
                           " --scale 0.01 >/dev/null").c_str()), 0);
    log_ = work_ + "/server.log";
    // The server logs every request on stderr: point the child's at a file.
    const int saved = ::dup(STDERR_FILENO);
    const int logFile = ::open(log_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(logFile, STDERR_FILENO);
    const std::uint16_t port = server_.Start({"--db", db, "--port", "0", "--log-level", "info"});
    ::dup2(saved, STDERR_FILENO);
    ::close(saved);
    ::close(logFile);
    ASSERT_NE(port, 0) << server_.FirstLine();

    cache_ = work_ + "/cache/";
    fs::create_directories(cache_);
    for (const char* name : {"tableinfo.idx", "fieldinfo.idx", "constinfo.idx"}) {
      fs::copy_file(db + ".files/" + name, cache_ + name);
    }
    const std::string ini = work_ + "/comm.ini";
    std::ofstream(ini) << "[CWSYS]\r\nCWHostNum=1\r\nCWHost01=127.0.0.1\r\nCWPort01=" << port << "\r\n";

    engine_ = orbe::Siblings().Engine().GetCwDataEnginInstance();
    ASSERT_NE(engine_, nullptr);
    engine_->SetConfigFile(ini.c_str());
    session_ = std::make_unique<OrbeClientSession>(engine_, cache_, ini);
    ASSERT_NE(session_->GetCwcache(), nullptr);
    session_->CreateSession(false, false);
    ASSERT_NE(session_->GetSession(), nullptr);
    ASSERT_TRUE(CwFileUtil::LoadCWSysData(session_.get(), cache_.c_str()));
    ASSERT_TRUE(orbe::PumpUntil([&] { return session_->GetSession()->GetConnectState() == kCwStateConnected; },
                                10000));
    ASSERT_TRUE(window_.Create(nullptr, RECT{0, 0, 10, 10}, 1));
    handle_ = std::make_unique<ReplySqlHandle>(session_.get(), window_.GetSafeHwnd(), kDone);
  }
  void TearDown() override {
    handle_.reset();
    session_.reset();
    orbe::Siblings().Engine().DelCwDataEnginInstance();
    server_.Stop();
    fs::remove_all(work_);
  }

  int Requests(int code) {
    std::ifstream file(log_);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string needle = "code=" + std::to_string(code) + " ";
    int count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
  }
  // Waits for the next completion post and returns its status.
  WPARAM NextStatus() {
    const std::size_t before = window_.statuses.size();
    EXPECT_TRUE(orbe::PumpUntil([&] { return window_.statuses.size() > before; }, 20000));
    return window_.statuses.size() > before ? window_.statuses.back() : WPARAM(-1);
  }
  void SeedCache(const char* sql, std::int64_t stamp, const CwPacketList& packets) {
    ASSERT_TRUE(session_->GetCwcache()->Store(orbe::CacheKeyOf(sql, "").c_str(), packets, stamp));
  }

  std::string work_;
  std::string log_;
  std::string cache_;
  orbe::testing::ServerProcess server_;
  ICwDataEngin* engine_ = nullptr;
  std::unique_ptr<OrbeClientSession> session_;
  RecordingWindow window_;
  std::unique_ptr<ReplySqlHandle> handle_;
};

TEST_F(FetchDataServerTest, TableTimeStamps) {
  EXPECT_EQ(handle_->SynGetTimestamp(kMainTable), kSampleStamp);
  EXPECT_EQ(handle_->SynGetTimestamp(42), -1);
  EXPECT_EQ(Requests(2015), 2);
}

TEST_F(FetchDataServerTest, UnchangedStampIsAnsweredByTheCacheWithoutASelect) {
  const CwPacketList packets = {std::string(24, 'a'), std::string(24, 'b')};
  SeedCache(kSelect, kSampleStamp, packets);
  ASSERT_TRUE(handle_->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(NextStatus(), 100u);
  EXPECT_EQ(handle_->GetRecordCount(), 2);
  EXPECT_EQ(Requests(2015), 1);
  EXPECT_EQ(Requests(2008), 0);

  ASSERT_TRUE(handle_->SynFetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(handle_->GetRecordCount(), 2);
  EXPECT_EQ(Requests(2008), 0);

  // Forced, the statement goes to the server whatever the cache holds.
  ASSERT_TRUE(handle_->FetchData(kSelect, nullptr, 0, TRUE));
  EXPECT_NE(NextStatus(), 0u);
  EXPECT_EQ(Requests(2008), 1);

  // A stored stamp that differs from the server's is stale.
  const char other[] = "SELECT T001 FROM 100000001";
  SeedCache(other, kSampleStamp - 1, packets);
  ASSERT_TRUE(handle_->FetchData(other, nullptr, 0, FALSE));
  EXPECT_NE(NextStatus(), 0u);
  EXPECT_EQ(Requests(2008), 2);
}

TEST_F(FetchDataServerTest, RecordsOfASelectReadByField) {
  ASSERT_TRUE(handle_->SynFetchData(kSelect, nullptr, 0, TRUE));
  ASSERT_GT(handle_->GetRecordCount(), 0);
  tagMemFieldInfo first{}, second{};
  ASSERT_TRUE(handle_->GetFieldInfo("T001", &first));
  ASSERT_TRUE(handle_->GetFieldInfo("t002", &second));
  EXPECT_EQ(+second.offset, +first.width);
  char text[256];
  for (int record = 0; record < handle_->GetRecordCount(); ++record) {
    EXPECT_TRUE(handle_->GetRecordAsString(record, &first, text, sizeof text)) << record;
    EXPECT_TRUE(handle_->GetRecordAsString(record, &second, text, sizeof text)) << record;
  }
  EXPECT_FALSE(handle_->GetRecordAsString(handle_->GetRecordCount(), &first, text, sizeof text));
  // Now cached under the server's stamp: the same statement needs no 2008.
  ASSERT_TRUE(handle_->SynFetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(Requests(2008), 1);
}

TEST_F(FetchDataServerTest, ReplyAfterTheWindowWasDestroyedIsDropped) {
  ASSERT_TRUE(handle_->FetchData(kSelect, nullptr, 0, TRUE));
  window_.DestroyWindow();
  ASSERT_TRUE(orbe::PumpUntil([&] { return handle_->IsReady(); }, 20000));
  orbe::RunUntilIdle();
  EXPECT_TRUE(window_.statuses.empty());
  EXPECT_EQ(Requests(2008), 1);
}

TEST_F(FetchDataServerTest, ExportsWithoutAGlobalSessionFailEveryRequest) {
  IFetchData* fetch = CreateFetchDataHandle(window_.GetSafeHwnd(), kDone);
  ASSERT_NE(fetch, nullptr);
  EXPECT_FALSE(fetch->FetchData(kSelect, nullptr, 0, FALSE));
  EXPECT_EQ(NextStatus(), 0u);
  EXPECT_FALSE(fetch->SynDeleteBySql("DELETE FROM 100000001"));
  DeleteFetchDataHandle(fetch);
  DeleteFetchDataHandle(nullptr);
  IFetchData* sub = CreateFetchDataHandle_Sub(nullptr, 0);
  EXPECT_EQ(sub->SynGetTimestamp(kMainTable), -1);
  DeleteFetchDataHandle(sub);
}

}  // namespace
