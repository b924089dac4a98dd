#include "env/start_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dataservice/host_records.h"
#include "env/cache_directories.h"
#include "env/global_proxy.h"
#include "env/test_components.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"

namespace orbe {
namespace {

class StartSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = orbe_test::MakeTempFolder();
    ASSERT_FALSE(folder_.empty());
    ini_ = folder_ + "comm.ini";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void Put(const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WriteProfileString(ini_, section, key, value));
  }

  std::string folder_;
  std::string ini_;
};

TEST_F(StartSettingsTest, HostTestSecondsAreClamped) {
  const std::pair<const char*, int> cases[] = {{"9", 3}, {"-1", 3}, {"7", 3}, {"6", 6}, {"0", 0}, {"1", 1}};
  for (const auto& [nlb, seconds] : cases) {
    Put("CWSYS", "NLB", nlb);
    EXPECT_EQ(ReadStartSettings(ini_, -1).host_test_seconds, seconds) << nlb;
  }
  Put("CWSYS", "GeneralDB", "3");
  EXPECT_EQ(ReadStartSettings(ini_, -1).general_database, 3);
  EXPECT_EQ(ReadStartSettings(ini_, 0).general_database, 0);
  EXPECT_FALSE(ReadStartSettings(ini_, -1).alternative_sessions);
  Put("CWSYS", "SMT", "4");
  EXPECT_TRUE(ReadStartSettings(ini_, -1).alternative_sessions);
}

TEST_F(StartSettingsTest, MaxSizeOutsideItsRangeIsTenMebibytes) {
  const std::pair<const char*, std::uint64_t> cases[] = {
      {"600", 10}, {"5", 10}, {"500", 500}, {"10", 10}, {"11", 11}};
  for (const auto& [size, mebibytes] : cases) {
    Put("FILESRV", "MaxSize", size);
    EXPECT_EQ(ReadFileServerList(ini_).max_file_bytes, mebibytes * 1048576) << size;
  }
}

TEST_F(StartSettingsTest, FileServersComeFromFilesrvOrFromTheDataHosts) {
  Put("FILESRV", "Num", "2");
  Put("FILESRV", "Primary", "1");
  Put("FILESRV", "Host02", "10.0.0.2");
  Put("FILESRV", "ProxyType02", "2");
  Put("FILESRV", "ProxyIP02", "10.9.9.9");
  FileServerList list = ReadFileServerList(ini_);
  ASSERT_EQ(list.hosts.size(), 2u);
  EXPECT_EQ(list.primary, 1);
  EXPECT_STREQ(list.hosts[0].host, "127.0.0.1");
  EXPECT_STREQ(list.hosts[0].port, "8368");
  EXPECT_STREQ(list.hosts[1].host, "10.0.0.2");
  EXPECT_EQ(list.hosts[1].proxy.proxyType, 2);
  EXPECT_STREQ(list.hosts[1].proxy.proxyAddress, "10.9.9.9");

  Put("FILESRV", "UserTPHost", "1");
  Put("CWSYS", "CWHostNum", "1");
  Put("CWSYS", "CWHost01", "10.0.0.7");
  list = ReadFileServerList(ini_);
  ASSERT_EQ(list.hosts.size(), 1u);
  EXPECT_EQ(list.primary, 0);
  EXPECT_STREQ(list.hosts[0].host, "10.0.0.7");
  EXPECT_STREQ(list.hosts[0].port, "8368");
}

TEST_F(StartSettingsTest, DataHostRecordsReadProxiesOnlyWhenTyped) {
  Put("CWSYS", "CWHost01", "10.1.1.1");
  Put("CWSYS", "ProxyIP01", "10.2.2.2");
  CWHOSTINFO host = ReadHostRecord(ini_, kDataHostKeys, 1);
  EXPECT_STREQ(host.host, "10.1.1.1");
  EXPECT_STREQ(host.port, "7722");
  EXPECT_EQ(host.proxy.proxyType, 0);
  EXPECT_STREQ(host.proxy.proxyAddress, "");
  // The type is read as one character: "12" is type 1.
  Put("CWSYS", "ProxyType01", "12");
  host = ReadHostRecord(ini_, kDataHostKeys, 1);
  EXPECT_EQ(host.proxy.proxyType, 1);
  EXPECT_STREQ(host.proxy.proxyAddress, "10.2.2.2");
  EXPECT_STREQ(host.proxy.proxyPort, "8080");
  // Texts longer than a field are cut to fit, terminated.
  Put("CWSYS", "CWPort01", "123456789012");
  host = ReadHostRecord(ini_, kDataHostKeys, 1);
  EXPECT_STREQ(host.port, "1234567");

  CWPROXYINFO global{};
  CopyToField(global.proxyAddress, "10.3.3.3");
  ApplyGlobalProxy(host, global);
  EXPECT_EQ(host.proxy.proxyType, 3);
  EXPECT_STREQ(host.proxy.proxyAddress, "10.3.3.3");
  global.proxyType = 5;
  ApplyGlobalProxy(host, global);
  EXPECT_EQ(host.proxy.proxyType, 5);
}

TEST_F(StartSettingsTest, GlobalProxyFromUserFile) {
  EXPECT_FALSE(ReadGlobalProxy(""));
  EXPECT_FALSE(ReadGlobalProxy(ini_));
  Put("KVXPROXY", "HasKvxProxy", "1");
  EXPECT_FALSE(ReadGlobalProxy(ini_));  // buse is not set
  Put("KVXPROXY", "buse", "1");
  Put("KVXPROXY", "IP", "10.0.0.1");
  Put("KVXPROXY", "IP3", "10.0.0.3");
  Put("KVXPROXY", "Port3", "8443");
  std::optional<CWPROXYINFO> proxy = ReadGlobalProxy(ini_);
  ASSERT_TRUE(proxy);
  EXPECT_EQ(proxy->proxyType, 4);
  EXPECT_STREQ(proxy->proxyAddress, "10.0.0.1");
  EXPECT_STREQ(proxy->proxyPort, "443");
  Put("KVXPROXY", "Primary", "2");
  proxy = ReadGlobalProxy(ini_);
  EXPECT_STREQ(proxy->proxyAddress, "10.0.0.3");
  EXPECT_STREQ(proxy->proxyPort, "8443");
  // PROXY wins when switched on.
  Put("PROXY", "HasProxy", "1");
  Put("PROXY", "SockType", "2");
  Put("PROXY", "ProxyIP", "10.5.5.5");
  Put("PROXY", "ProxyUser", "user");
  proxy = ReadGlobalProxy(ini_);
  EXPECT_EQ(proxy->proxyType, 2);
  EXPECT_STREQ(proxy->proxyAddress, "10.5.5.5");
  EXPECT_STREQ(proxy->proxyUser, "user");
  EXPECT_STREQ(proxy->proxyPort, "");
}

TEST(CacheDirectories, TrailingSeparatorGivesTheSameDirectories) {
  for (const char* root : {"/data/cache", "/data/cache/", "/data/cache\\"}) {
    const CacheDirectories dirs = CacheDirectoriesFor(root);
    EXPECT_EQ(dirs.main, "/data/cache/cachem/") << root;
    EXPECT_EQ(dirs.sub, "/data/cache/cache0/") << root;
  }
  EXPECT_EQ(CacheDirectoriesFor("").main, "./cachem/");
  EXPECT_EQ(CacheDirectoriesFor("/").main, "/cachem/");
}

}  // namespace
}  // namespace orbe
