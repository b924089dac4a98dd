// InitDataEngin and UnInitDataEngin against the test engine and cache, loaded
// by the module under their real names.
#include <gtest/gtest.h>

#include <filesystem>

#include "env/module_state.h"
#include "env/report_period.h"
#include "env/test_components.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"

namespace {

const bool kWithTestComponents = orbe_test::RunWithTestComponents("full");

class RecordingNotify : public IClientNotify {
 public:
  void OnPushMessage(const unsigned char* /*data*/, std::uint32_t /*length*/) override {}
};

class InitDataEnginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithTestComponents);
    engine_ = orbe_test::EngineControl();
    cache_ = orbe_test::CacheControl();
    ASSERT_NE(engine_, nullptr);
    ASSERT_NE(cache_, nullptr);
    engine_->Reset();
    cache_->Reset();
    folder_ = orbe_test::MakeTempFolder();
    ini_ = folder_ + "comm.ini";
    SetPrivPath(folder_);
  }
  void TearDown() override {
    while (orbe::State().init_flag) UnInitDataEngin();
    UnInitDataEngin();
    std::filesystem::remove_all(folder_);
  }
  void Put(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(orbe::WriteProfileString(ini_, section, key, value));
  }
  unsigned int Start(int general_database, const std::string& root_name = "cache/") {
    return InitDataEngin(folder_ + root_name, ini_, general_database, nullptr);
  }
  int CacheAlive() {
    std::lock_guard<std::mutex> hold(cache_->mutex);
    return cache_->alive;
  }

  TestEngineControl* engine_ = nullptr;
  TestCacheControl* cache_ = nullptr;
  std::string folder_;
  std::string ini_;
};

TEST_F(InitDataEnginTest, StartsTheMainSession) {
  ASSERT_TRUE(orbe::Siblings().HasEngineLibrary());
  ASSERT_TRUE(orbe::Siblings().HasCacheLibrary());
  ASSERT_TRUE(orbe::WriteProfileString(folder_ + "usercomm.ini", "PROXY", "HasProxy", "1"));
  ASSERT_TRUE(orbe::WriteProfileString(folder_ + "usercomm.ini", "PROXY", "ProxyIP", "10.4.4.4"));
  RecordingNotify notify;
  orbe::SetPushNotifyReceiver(&notify);

  EXPECT_EQ(Start(2), 1u);
  orbe::SetPushNotifyReceiver(nullptr);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ + "cache/cachem"));
  EXPECT_FALSE(std::filesystem::exists(folder_ + "cache/cache0"));
  {
    std::lock_guard<std::mutex> hold(engine_->mutex);
    EXPECT_EQ(engine_->config_file, ini_);
    EXPECT_EQ(engine_->options, std::vector<int>{8});
    EXPECT_EQ(engine_->configured_sessions, 1);
    EXPECT_EQ(engine_->alt_configured_sessions, 0);
    EXPECT_EQ(engine_->private_made, 0);  // NLB 0: no host test
    EXPECT_EQ(engine_->global_proxy_calls, 1);
    ASSERT_TRUE(engine_->global_proxy);
    EXPECT_STREQ(engine_->global_proxy->proxyAddress, "10.4.4.4");
    EXPECT_EQ(engine_->push_notify, &notify);
  }
  {
    std::lock_guard<std::mutex> hold(cache_->mutex);
    EXPECT_EQ(cache_->directories, std::vector<std::string>{folder_ + "cache/cachem/"});
  }
  ASSERT_NE(GetGlobalMainOrbeClientSession(), nullptr);
  EXPECT_NE(GetGlobalMainCwRequestSession(), nullptr);
  EXPECT_EQ(GetGlobalSubOrbeClientSession(), nullptr);
  EXPECT_EQ(GetGlobalSub1CwRequestSession(), nullptr);
  EXPECT_EQ(GetCommConfigPath(), folder_.substr(0, folder_.size() - 1));
  // Database 2 starts nothing, so the session is still not initialised:
  // FetchMainTable with GeneralDB 0 tries the dictionary, which is missing.
  Put("CWSYS", "GeneralDB", "2");
  EXPECT_EQ(FetchMainTable(nullptr), 1);
  Put("CWSYS", "GeneralDB", "0");
  EXPECT_EQ(FetchMainTable(nullptr), 0);
  EXPECT_EQ(FetchMainTable(nullptr), 1);  // marked initialised by the failed pass

  std::string year, period;
  GetCurReport(year, period, 0);
  const orbe::ReportTerm finished = orbe::ReportTermOf(orbe::ReportIndexForDate(orbe::Today()) - 1);
  EXPECT_EQ(year, finished.year);
  EXPECT_EQ(period, finished.period);

  SaveCWCacheInfo();
  DoCWCacheOption();
  SetTPInfoBlock(1, 7, 8, 9);
  SetTPInfoBlock(0, 1, 1, 1);  // no sub session: nothing happens
  unsigned char a = 0, b = 0, c = 0;
  GetGlobalMainOrbeClientSession()->GetInfoBlock(a, b, c);
  EXPECT_EQ(a + b + c, 7 + 8 + 9);
  {
    std::lock_guard<std::mutex> hold(cache_->mutex);
    EXPECT_EQ(cache_->saved_state, std::vector<std::string>{folder_ + "cache/cachem/"});
    EXPECT_EQ(cache_->maintained.size(), 1u);
  }

  UnInitDataEngin();
  std::lock_guard<std::mutex> hold(engine_->mutex);
  EXPECT_EQ(engine_->push_notify, nullptr);
  EXPECT_FALSE(engine_->instance_alive);
  EXPECT_EQ(engine_->shutdowns, 1);
}

TEST_F(InitDataEnginTest, TwoStartsAndOneTearDownKeepTheEngineButNotTheSessions) {
  EXPECT_EQ(Start(2, "cache"), 1u);
  std::string first_year, first_period;
  GetCurReport(first_year, first_period, 0);
  EXPECT_EQ(Start(2, "cache/"), 1u);
  std::string year, period;
  GetCurReport(year, period, 0);
  EXPECT_EQ(year + period, first_year + first_period);  // a second start keeps the period
  EXPECT_EQ(orbe::State().init_count, 2);
  {
    std::lock_guard<std::mutex> hold(cache_->mutex);
    EXPECT_EQ(cache_->directories, std::vector<std::string>{folder_ + "cache/cachem/"});
  }

  UnInitDataEngin();
  EXPECT_EQ(orbe::State().init_count, 1);
  EXPECT_EQ(GetGlobalMainOrbeClientSession(), nullptr);
  EXPECT_EQ(CacheAlive(), 0);
  {
    std::lock_guard<std::mutex> hold(engine_->mutex);
    EXPECT_TRUE(engine_->instance_alive);
    EXPECT_EQ(engine_->shutdowns, 0);
  }
  UnInitDataEngin();
  EXPECT_EQ(orbe::State().init_count, 0);
  EXPECT_FALSE(orbe::State().init_flag);
  std::lock_guard<std::mutex> hold(engine_->mutex);
  EXPECT_FALSE(engine_->instance_alive);
  EXPECT_EQ(engine_->shutdowns, 1);
}

TEST_F(InitDataEnginTest, TearDownWritesTheHostInUse) {
  Put("CWSYS", "PrimaryCWHost", "0");
  {
    std::lock_guard<std::mutex> hold(engine_->mutex);
    engine_->host_index = 2;
  }
  ASSERT_EQ(Start(2), 1u);
  UnInitDataEngin();
  EXPECT_EQ(orbe::ProfileString(ini_, "CWSYS", "PrimaryCWHost"), "2");
}

TEST_F(InitDataEnginTest, FailedStartIsReplacedWithoutLeakingItsSessions) {
  // General database 0 loads the dictionary, which the cache folder lacks.
  EXPECT_EQ(Start(0), 0u);
  ASSERT_NE(GetGlobalMainOrbeClientSession(), nullptr);
  EXPECT_TRUE(GetGlobalMainOrbeClientSession()->IsInitialised());
  EXPECT_EQ(orbe::State().init_count, 0);
  EXPECT_EQ(Start(0), 0u);
  EXPECT_EQ(CacheAlive(), 1);
  {
    std::lock_guard<std::mutex> hold(engine_->mutex);
    EXPECT_EQ(engine_->configured_sessions, 2);
  }
  UnInitDataEngin();
  EXPECT_EQ(CacheAlive(), 0);
  EXPECT_EQ(GetGlobalMainOrbeClientSession(), nullptr);
}

TEST_F(InitDataEnginTest, SubSessionTalksToItsOwnHost) {
  Put("CWSYS", "SubCwHost", "1");
  Put("CWSYS", "SMT", "4");
  Put("SUBCWSYS", "CWHost", "10.7.7.7");
  Put("SUBCWSYS", "ProxyType", "2");
  Put("SUBCWSYS", "ProxyIP", "10.8.8.8");
  ASSERT_EQ(Start(2), 1u);
  EXPECT_TRUE(std::filesystem::is_directory(folder_ + "cache/cache0"));
  ASSERT_NE(GetGlobalSubOrbeClientSession(), nullptr);
  EXPECT_NE(GetGlobalSub1CwRequestSession(), nullptr);
  {
    std::lock_guard<std::mutex> hold(engine_->mutex);
    EXPECT_EQ(engine_->alt_configured_sessions, 1);
    EXPECT_EQ(engine_->alt_host_sessions, 1);
  }
  SaveCWCacheInfo();
  {
    std::lock_guard<std::mutex> hold(cache_->mutex);
    const std::vector<std::string> expected = {folder_ + "cache/cachem/", folder_ + "cache/cache0/"};
    EXPECT_EQ(cache_->saved_state, expected);
  }
  SetTPInfoBlock(0, 4, 5, 6);
  unsigned char a = 0, b = 0, c = 0;
  GetGlobalSubOrbeClientSession()->GetInfoBlock(a, b, c);
  EXPECT_EQ(c, 6);
  UnInitDataEngin();
  EXPECT_EQ(GetGlobalSubOrbeClientSession(), nullptr);
  EXPECT_EQ(CacheAlive(), 0);
}

TEST_F(InitDataEnginTest, SubSessionReadsItsHostRecord) {
  Put("CWSYS", "SubCwHost", "1");
  Put("SUBCWSYS", "CWHost", "10.7.7.7");
  Put("SUBCWSYS", "ProxyType", "2");
  Put("SUBCWSYS", "ProxyIP", "10.8.8.8");
  ASSERT_EQ(Start(2), 1u);
  std::lock_guard<std::mutex> hold(engine_->mutex);
  ASSERT_EQ(engine_->host_sessions.size(), 1u);
  EXPECT_STREQ(engine_->host_sessions[0].host, "10.7.7.7");
  EXPECT_STREQ(engine_->host_sessions[0].port, "7722");
  EXPECT_EQ(engine_->host_sessions[0].proxy.proxyType, 2);
  EXPECT_STREQ(engine_->host_sessions[0].proxy.proxyAddress, "10.8.8.8");
}

TEST_F(InitDataEnginTest, FailedSubSessionIsNotHiddenByTheMainOne) {
  Put("CWSYS", "SubCwHost", "1");
  Put("CWSYS", "GeneralDB", "2");
  Put("SUBCWSYS", "GeneralDB", "0");  // needs a dictionary the sub folder lacks
  EXPECT_EQ(Start(-1), 0u);
  ASSERT_NE(GetGlobalSubOrbeClientSession(), nullptr);
  EXPECT_FALSE(orbe::State().init_flag);
}

TEST_F(InitDataEnginTest, FileServersWaitForTheTransferManager) {
  Put("FILESRV", "Num", "2");
  Put("FILESRV", "MaxSize", "600");
  ASSERT_EQ(Start(2), 1u);
  EXPECT_EQ(orbe::State().file_servers.hosts.size(), 2u);
  EXPECT_EQ(orbe::State().file_servers.max_file_bytes, 10u * 1048576);
  UnInitDataEngin();
  EXPECT_TRUE(orbe::State().file_servers.hosts.empty());
}

TEST_F(InitDataEnginTest, HostTestWithSilentHostsEndsAndLeavesTheChoice) {
  Put("CWSYS", "NLB", "1");
  Put("CWSYS", "CWHostNum", "2");
  Put("CWSYS", "CWHost01", "10.0.0.1");
  Put("CWSYS", "CWHost02", "10.0.0.2");
  Put("CWSYS", "PrimaryCWHost", "5");
  const int threads_before = orbe_test::ThreadCount();
  ASSERT_EQ(Start(2), 1u);
  EXPECT_EQ(orbe::ProfileString(ini_, "CWSYS", "PrimaryCWHost"), "5");
  std::lock_guard<std::mutex> hold(engine_->mutex);
  EXPECT_EQ(engine_->private_made, 1);
  EXPECT_EQ(engine_->private_alive, 0);
  EXPECT_EQ(engine_->tested_hosts.size(), 2u);
  EXPECT_EQ(engine_->started_sessions, 2);
  // The shared engine's dispatcher thread is the only one added.
  EXPECT_EQ(orbe_test::ThreadCount(), threads_before + 1);
}

TEST_F(InitDataEnginTest, HostTestWritesTheIdleHost) {
  Put("CWSYS", "NLB", "9");
  Put("CWSYS", "CWHostNum", "2");
  Put("CWSYS", "CWHost01", "10.0.0.1");
  Put("CWSYS", "CWHost02", "10.0.0.2");
  {
    std::lock_guard<std::mutex> hold(engine_->mutex);
    engine_->hosts = {{"10.0.0.1", true, true, 900, 1000, 0}, {"10.0.0.2", true, true, 300, 1000, 0}};
  }
  ASSERT_EQ(Start(2), 1u);
  EXPECT_EQ(orbe::ProfileString(ini_, "CWSYS", "PrimaryCWHost"), "1");
  std::lock_guard<std::mutex> hold(engine_->mutex);
  EXPECT_EQ(engine_->good_queries, 2);
  EXPECT_EQ(engine_->bad_queries, 0);
  EXPECT_EQ(engine_->private_alive, 0);
}

}  // namespace
