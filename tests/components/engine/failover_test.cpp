// The configured host list: the first host, failover when a host goes, and
// what becomes of requests on the wire when their host dies or hangs.
#include "components/engine/engine_fixture.h"

namespace orbe_test {
namespace {

using orbe::testing::kStockTable;

class FailoverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(first_.port(), 0);
    ASSERT_NE(second_.port(), 0);
  }

  // A configured session of the shared engine, as the module makes its main
  // session; `alternative` picks the other kind.
  ICwRequestSession* Configured(const std::vector<std::string>& ports, int primary, bool alternative = false) {
    engine_ = library_.get();
    const std::string file = WriteHostList(first_.folder(), ports, primary, 1);
    EXPECT_TRUE(engine_->SetConfigFile(file.c_str()));
    return alternative ? engine_->CreateAltConfiguredRequestSession(&connect_)
                       : engine_->CreateConfiguredRequestSession(&connect_);
  }

  void TearDown() override {
    if (engine_ != nullptr) {
      engine_->Shutdown();
      library_.del();
    }
  }

  // The status a host-load request ends with.
  int HostLoadStatus(ICwRequestSession* session) {
    RecordingHandle handle;
    RequestHolder request(engine_, HostLoadFrame());
    if (!session->SendAndWait(&handle, request.get())) return 0;
    const std::vector<int> statuses = handle.Statuses();
    return statuses.size() == 1 ? statuses[0] : 0;
  }

  EngineLibrary library_;
  TestServer first_{"first"};
  TestServer second_{"second"};
  RecordingHandle connect_;
  ICwDataEngin* engine_ = nullptr;
};

TEST_F(FailoverTest, StartsAtThePrimaryHost) {
  ICwRequestSession* session =
      Configured({std::to_string(first_.port()), std::to_string(second_.port())}, 1);
  ASSERT_NE(session, nullptr);
  ASSERT_TRUE(connect_.WaitStatuses());
  EXPECT_EQ(session->GetConnectState(), kCwStateConnected);
  EXPECT_EQ(session->GetHostIndex(), 1);
  EXPECT_EQ(HostLoadStatus(session), kCwStatusComplete);
}

TEST_F(FailoverTest, SkipsAnUnreachableHost) {
  DeadPort dead;
  ICwRequestSession* session = Configured({std::to_string(dead.port()), std::to_string(second_.port())}, 0);
  ASSERT_TRUE(connect_.WaitStatuses());
  EXPECT_EQ(connect_.Statuses(), std::vector<int>{kCwStateConnected});
  EXPECT_EQ(session->GetHostIndex(), 1);
  EXPECT_EQ(HostLoadStatus(session), kCwStatusComplete);
}

TEST_F(FailoverTest, MovesToTheNextHostWhenOneStops) {
  for (const bool alternative : {false, true}) {
    SCOPED_TRACE(alternative ? "alternative kind" : "standard kind");
    TestServer a("a");
    TestServer b("b");
    RecordingHandle connect;
    engine_ = library_.get();
    const std::string file = WriteHostList(a.folder(), {std::to_string(a.port()), std::to_string(b.port())}, 0, 1);
    engine_->SetConfigFile(file.c_str());
    ICwRequestSession* session = alternative ? engine_->CreateAltConfiguredRequestSession(&connect)
                                             : engine_->CreateConfiguredRequestSession(&connect);
    ASSERT_TRUE(connect.WaitStatuses(1));
    EXPECT_EQ(session->GetHostIndex(), 0);
    EXPECT_EQ(HostLoadStatus(session), kCwStatusComplete);

    a.Terminate();
    // Lost (0), then connected to the other host (2).
    ASSERT_TRUE(connect.WaitStatuses(3));
    EXPECT_EQ(connect.Statuses(), (std::vector<int>{kCwStateConnected, 0, kCwStateConnected}));
    EXPECT_EQ(session->GetHostIndex(), 1);
    EXPECT_EQ(HostLoadStatus(session), kCwStatusComplete);
    session->Quit();
    engine_->Shutdown();
    library_.del();
    engine_ = nullptr;
  }
}

// A read on the wire when its host dies or hangs is sent to the next host
// and answered there; a write is reported failed (-1 lost, -2 timed out):
// the lost host may have applied it, so it is never sent again.
TEST(FailoverRuleTest, ReadsMoveToTheNextHostAndWritesFail) {
  struct Case {
    const char* name;
    std::string frame;
    bool hang;  // the host stops answering but keeps the connection
    int status;
  };
  const std::string read = TimeStampFrame(kStockTable);
  const std::string write = orbe::wire::EncodeTableRequest(0, orbe::wire::kCodeTimeStampIncrease, kStockTable);
  const Case cases[] = {
      {"read, host killed", read, false, kCwStatusComplete},
      {"read, host hung", read, true, kCwStatusComplete},
      {"write, host killed", write, false, -1},
      {"write, host hung", write, true, -2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EngineLibrary library;
    TestServer first("rule_a");
    TestServer second("rule_b");
    RecordingHandle connect;
    ICwDataEngin* engine = library.get();
    ASSERT_TRUE(engine->SetConfigFile(
        WriteHostList(first.folder(), {std::to_string(first.port()), std::to_string(second.port())}, 0, 1).c_str()));
    ICwRequestSession* session = engine->CreateConfiguredRequestSession(&connect);
    // Requests go back to the engine before it is released.
    const auto release = [&](void*) {
      engine->Shutdown();
      library.del();
    };
    const std::unique_ptr<void, decltype(release)> released(&library, release);
    ASSERT_TRUE(connect.WaitStatuses());
    // Stopped first, so that the request is certainly sent and unanswered.
    first.Pause();
    RecordingHandle handle;
    RequestHolder request(engine, c.frame);
    ASSERT_TRUE(session->Send(&handle, request.get()));
    if (!c.hang) first.Kill();
    ASSERT_TRUE(handle.WaitStatuses());
    EXPECT_EQ(handle.Statuses(), std::vector<int>{c.status});
    EXPECT_EQ(session->GetHostIndex(), 1);
    if (c.status == kCwStatusComplete) {
      ASSERT_EQ(handle.Bodies().size(), 1u);
      EXPECT_EQ(orbe::wire::DecodeTimeStampBody(handle.Bodies()[0])->stamp, orbe::testing::kStockStamp);
    } else {
      EXPECT_TRUE(handle.Bodies().empty());
    }
    // The second host never saw the write: its stamp is the original one.
    RecordingHandle stamp;
    RequestHolder ask(engine, read);
    ASSERT_TRUE(session->SendAndWait(&stamp, ask.get()));
    ASSERT_EQ(stamp.Bodies().size(), 1u);
    EXPECT_EQ(orbe::wire::DecodeTimeStampBody(stamp.Bodies()[0])->stamp, orbe::testing::kStockStamp);
    if (c.hang) first.Kill();
  }
}

TEST_F(FailoverTest, RequestsWaitForTheConnectionAndFailWhenNoneComes) {
  DeadPort dead;
  ICwRequestSession* session = Configured({std::to_string(dead.port())}, 0);
  RecordingHandle handle;
  RequestHolder request(engine_, HostLoadFrame());
  ASSERT_TRUE(session->SendAndWait(&handle, request.get()));
  EXPECT_EQ(handle.Statuses(), std::vector<int>{-2});
  EXPECT_NE(session->GetConnectState(), kCwStateConnected);
  EXPECT_TRUE(connect_.Statuses().empty());
}

TEST_F(FailoverTest, ProxyRecordIsRefusedClearly) {
  engine_ = library_.get();
  CWHOSTINFO host = LoopbackHost(first_.port());
  host.proxy.proxyType = 1;
  orbe::CopyToField(host.proxy.proxyAddress, "10.0.0.1");
  ::testing::internal::CaptureStderr();
  ICwRequestSession* session = engine_->CreateRequestSession(&host, &connect_);
  RecordingHandle handle;
  RequestHolder request(engine_, HostLoadFrame());
  ASSERT_TRUE(session->SendAndWait(&handle, request.get()));
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(handle.Statuses(), std::vector<int>{-3});
  EXPECT_EQ(session->GetConnectState(), 0);
  EXPECT_NE(log.find("proxy type 1"), std::string::npos) << log;
  EXPECT_TRUE(connect_.Statuses().empty());
}

TEST_F(FailoverTest, GlobalProxyAppliesToConfiguredHosts) {
  ASSERT_NE(library_.set_global_proxy, nullptr);
  CWPROXYINFO proxy;
  std::memset(&proxy, 0, sizeof proxy);
  orbe::CopyToField(proxy.proxyAddress, "10.0.0.2");
  library_.set_global_proxy(&proxy);
  ::testing::internal::CaptureStderr();
  ICwRequestSession* session = Configured({std::to_string(first_.port())}, 0);
  const std::string log = ::testing::internal::GetCapturedStderr();
  library_.set_global_proxy(nullptr);
  EXPECT_NE(log.find("10.0.0.2"), std::string::npos) << log;
  EXPECT_EQ(HostLoadStatus(session), -3);

  // Forgotten again: a new session connects directly.
  ICwRequestSession* direct = engine_->CreateConfiguredRequestSession(nullptr);
  EXPECT_EQ(HostLoadStatus(direct), kCwStatusComplete);
}

}  // namespace
}  // namespace orbe_test
