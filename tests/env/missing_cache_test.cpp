// Without libFinCacheStore.so the environment refuses to start and leaves the
// engine alone.
#include <gtest/gtest.h>

#include <filesystem>

#include "env/module_state.h"
#include "env/test_components.h"
#include "orbe/env.h"

namespace {

const bool kWithTestComponents = orbe_test::RunWithTestComponents("nocache");

TEST(MissingCache, InitDataEnginReturnsZeroWithoutTouchingTheEngine) {
  ASSERT_TRUE(kWithTestComponents);
  ASSERT_TRUE(orbe::Siblings().HasEngineLibrary());
  ASSERT_FALSE(orbe::Siblings().HasCacheLibrary());
  TestEngineControl* engine = orbe_test::EngineControl();
  ASSERT_NE(engine, nullptr);
  const std::string folder = orbe_test::MakeTempFolder();
  EXPECT_EQ(InitDataEngin(folder + "cache", folder + "comm.ini", 2, nullptr), 0u);
  EXPECT_EQ(GetGlobalMainOrbeClientSession(), nullptr);
  EXPECT_EQ(GetGlobalMainCwRequestSession(), nullptr);
  {
    std::lock_guard<std::mutex> hold(engine->mutex);
    EXPECT_EQ(engine->instances_made, 0);
    EXPECT_TRUE(engine->config_file.empty());
    EXPECT_EQ(engine->configured_sessions, 0);
  }
  // A session made anyway has no cache.
  OrbeClientSession session(nullptr, folder, folder + "comm.ini");
  EXPECT_EQ(session.GetCwcache(), nullptr);
  UnInitDataEngin();
  std::filesystem::remove_all(folder);
}

}  // namespace
