#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "orbe/widgets/kvx_functions.h"

namespace {

// The test plug-in (tests/widgets/plugin) appends "init;" and "uninit;" here.
constexpr const char* kEvents = "KVX_TEST_PLUGIN_EVENTS";
constexpr const char* kPlugin = "KvxTestPlugin.dll";

std::string Events() {
  const char* events = std::getenv(kEvents);
  return events ? events : "";
}

class KvxPluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv(kEvents);
    unsetenv("KVX_TEST_PLUGIN_REFUSE");
  }
  void TearDown() override { UnLoadPluginDll(); }
};

TEST_F(KvxPluginTest, MissingLibraryIsRefusedQuietly) {
  EXPECT_EQ(LoadPluginDll("NoSuchPanelPlugin.dll"), FALSE);
  EXPECT_EQ(LoadPluginDll(""), FALSE);
  UnLoadPluginDll();
  EXPECT_EQ(Events(), "");
}

TEST_F(KvxPluginTest, LoadCallsInitAndUnloadCallsUninitOnce) {
  ASSERT_EQ(LoadPluginDll(kPlugin), TRUE) << "is libKvxTestPlugin.so built beside the components?";
  EXPECT_EQ(Events(), "init;");
  UnLoadPluginDll();
  EXPECT_EQ(Events(), "init;uninit;");
  UnLoadPluginDll();
  EXPECT_EQ(Events(), "init;uninit;");
}

TEST_F(KvxPluginTest, LoadingAgainStopsThePreviousPlugin) {
  ASSERT_EQ(LoadPluginDll(kPlugin), TRUE);
  ASSERT_EQ(LoadPluginDll(kPlugin), TRUE);
  EXPECT_EQ(Events(), "init;uninit;init;");
  // A failed load leaves nothing loaded: the old plug-in is already stopped.
  EXPECT_EQ(LoadPluginDll("NoSuchPanelPlugin.dll"), FALSE);
  UnLoadPluginDll();
  EXPECT_EQ(Events(), "init;uninit;init;uninit;");
}

TEST_F(KvxPluginTest, RefusingPluginIsReleasedWithoutUninit) {
  setenv("KVX_TEST_PLUGIN_REFUSE", "1", 1);
  EXPECT_EQ(LoadPluginDll(kPlugin), FALSE);
  UnLoadPluginDll();
  EXPECT_EQ(Events(), "init;");
}

TEST_F(KvxPluginTest, EntryPointsAreOptional) {
  // The widget library itself is a component library without plug-in entry points.
  EXPECT_EQ(LoadPluginDll("KvxCtrl.dll"), TRUE);
  UnLoadPluginDll();
  EXPECT_EQ(Events(), "");
}

}  // namespace
