// Without libFinDataComm.so the module still loads and every operation that
// needs the engine fails cleanly.
#include <gtest/gtest.h>

#include <filesystem>

#include "env/module_state.h"
#include "env/test_components.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"

namespace {

const bool kWithTestComponents = orbe_test::RunWithTestComponents("noengine");

TEST(MissingEngine, EverythingFailsCleanly) {
  ASSERT_TRUE(kWithTestComponents);
  ASSERT_FALSE(orbe::Siblings().HasEngineLibrary());
  ASSERT_TRUE(orbe::Siblings().HasCacheLibrary());
  EXPECT_EQ(orbe::Siblings().Engine().GetCwDataEnginInstance, nullptr);
  const std::string folder = orbe_test::MakeTempFolder();
  const std::string ini = folder + "comm.ini";
  // Host testing without an engine does nothing and does not wait.
  ASSERT_TRUE(orbe::WriteProfileString(ini, "CWSYS", "NLB", "6"));
  ASSERT_TRUE(orbe::WriteProfileString(ini, "CWSYS", "PrimaryCWHost", "1"));
  const int threads_before = orbe_test::ThreadCount();
  EXPECT_EQ(InitDataEngin(folder + "cache", ini, 2, nullptr), 0u);
  EXPECT_EQ(orbe_test::ThreadCount(), threads_before);
  EXPECT_EQ(orbe::ProfileString(ini, "CWSYS", "PrimaryCWHost"), "1");
  EXPECT_EQ(GetGlobalMainOrbeClientSession(), nullptr);
  EXPECT_EQ(GetGlobalSubOrbeClientSession(), nullptr);
  EXPECT_EQ(GetGlobalMainCwRequestSession(), nullptr);
  EXPECT_EQ(GetGlobalSub1CwRequestSession(), nullptr);
  EXPECT_EQ(FetchMainTable(nullptr), 0);
  SaveCWCacheInfo();
  DoCWCacheOption();
  SetTPInfoBlock(1, 1, 2, 3);
  TestCacheControl* cache = orbe_test::CacheControl();
  ASSERT_NE(cache, nullptr);
  {
    std::lock_guard<std::mutex> hold(cache->mutex);
    EXPECT_TRUE(cache->directories.empty());
    EXPECT_TRUE(cache->saved_state.empty());
  }
  // A session without engine never gets a request session.
  OrbeClientSession session(nullptr, folder, ini);
  EXPECT_NE(session.GetCwcache(), nullptr);
  EXPECT_EQ(session.CreateSession(false, false), nullptr);
  EXPECT_EQ(session.GetSession(), nullptr);
  EXPECT_FALSE(session.InitSession(0, nullptr));
  session.Quit();
  session.ResetReplyHandleQueue(true);
  UnInitDataEngin();
  EXPECT_TRUE(IsCBaseEnvInit());  // the script environment does not need the engine
  std::filesystem::remove_all(folder);
}

}  // namespace
