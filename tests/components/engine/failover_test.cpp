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

TEST_F(FailoverTest, RequestOnTheWireEndsWithFailureWhenTheServerIsKilled) {
  ICwRequestSession* session = Configured({std::to_string(first_.port()), std::to_string(second_.port())}, 0);
  ASSERT_TRUE(connect_.WaitStatuses());
  // Stopped first, so that the request is certainly sent and unanswered.
  first_.Pause();
  RecordingHandle handle;
  RequestHolder request(engine_, TimeStampFrame(kStockTable));
  ASSERT_TRUE(session->Send(&handle, request.get()));
  first_.Kill();
  ASSERT_TRUE(handle.WaitStatuses());
  EXPECT_EQ(handle.Statuses(), std::vector<int>{-1});
  EXPECT_TRUE(handle.Bodies().empty());
  // And the session goes on with the other host.
  EXPECT_EQ(HostLoadStatus(session), kCwStatusComplete);
  EXPECT_EQ(session->GetHostIndex(), 1);
}

TEST_F(FailoverTest, HungServerEndsTheRequestAfterTheTimeOut) {
  ICwRequestSession* session = Configured({std::to_string(first_.port()), std::to_string(second_.port())}, 0);
  ASSERT_TRUE(connect_.WaitStatuses());
  first_.Pause();
  RecordingHandle handle;
  RequestHolder request(engine_, HostLoadFrame());
  // The waiting send returns by itself: the time-out (1 s here) ends it.
  ASSERT_TRUE(session->SendAndWait(&handle, request.get()));
  EXPECT_EQ(handle.Statuses(), std::vector<int>{-2});
  EXPECT_EQ(HostLoadStatus(session), kCwStatusComplete);
  EXPECT_EQ(session->GetHostIndex(), 1);
  first_.Kill();
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
