// The dictionary refresh at session start-up, end to end: InitDataEngin with
// the real engine against a fresh orbe-dataserver fills an empty cache folder
// and loads the dictionary; a second start with nothing changed fetches
// nothing. The cache component is the test double (the reply cache plays no
// part in the refresh).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "dataservice/transfer_server.h"
#include "support/component_reexec.h"
#include "dataservice/updown_file_mgr.h"
#include "dictionary/dictionary_refresh_dialog.h"
#include "env/module_state.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"

namespace {

// The module loads its siblings before main, so the program starts itself
// again with a component folder holding the real engine and the test cache.
bool RunWithRealEngine() {
  const std::string lib = ORBE_TEST_LIB_DIR;
  return orbe_test::RunWithComponentFolder(orbe_test::LinkComponentFolder(
      "orbe_xfr_components", lib + "/libFinDataComm.so", lib + "/testcomponents/full/libFinCacheStore.so"));
}

const bool kWithRealEngine = RunWithRealEngine();

std::uint64_t InodeOf(const std::string& path) {
  const auto identity = orbe::IdentifyFile(path);
  return identity ? identity->inode : 0;
}

class RefreshTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithRealEngine);
    folder_ = orbe_test::ScratchFolder("refresh");
    ASSERT_TRUE(server_.Start(folder_));
    ini_ = folder_ + "comm.ini";
    ASSERT_TRUE(orbe_test::WriteServerHosts(ini_, server_));
    SetPrivPath(folder_);
  }
  void TearDown() override {
    while (orbe::State().init_flag) UnInitDataEngin();
    UnInitDataEngin();
    server_.Stop(SIGTERM);
    std::filesystem::remove_all(folder_);
    // The components stay loaded; their links are no longer needed.
    if (const char* components = std::getenv("ORBE_COMPONENT_DIR")) std::filesystem::remove_all(components);
  }
  unsigned int Start() { return InitDataEngin(folder_ + "cache/", ini_, 0, nullptr); }
  std::string Cache() const { return folder_ + "cache/cachem/"; }

  std::string folder_;
  std::string ini_;
  orbe_test::TransferServer server_;
};

TEST_F(RefreshTest, FirstStartDownloadsTheDictionaryAndTheSecondFetchesNothing) {
  ASSERT_FALSE(std::filesystem::exists(Cache() + "tableinfo.idx"));
  ASSERT_EQ(Start(), 1u);
  OrbeClientSession* session = GetGlobalMainOrbeClientSession();
  ASSERT_NE(session, nullptr);
  for (const char* name : {"constinfo.idx", "tableinfo.idx", "fieldinfo.idx"}) {
    SCOPED_TRACE(name);
    EXPECT_GT(orbe::IdentifyFile(Cache() + name)->size, 0u);
    EXPECT_EQ(CwFileUtil::GetFileMD5((Cache() + name).c_str()),
              CwFileUtil::GetFileMD5((server_.Root() + "/" + name).c_str()));
  }
  std::vector<tagMemTableInfo> tables(orbe::kMaxTables);
  EXPECT_GT(CwFileUtil::GetAllTable(session, tables.data()), 0);
  // The file servers went to the transfer manager.
  ASSERT_EQ(orbe::UpdownFileMgr::Instance().Servers().size(), 1u);
  EXPECT_EQ(std::string(orbe::UpdownFileMgr::Instance().Servers()[0].port),
            std::to_string(server_.FilePort()));

  const std::uint64_t table_inode = InodeOf(Cache() + "tableinfo.idx.compress");
  const std::uint64_t const_inode = InodeOf(Cache() + "constinfo.idx");
  UnInitDataEngin();
  ASSERT_EQ(Start(), 1u);
  // A fetched file would have been renamed into place as a new file.
  EXPECT_EQ(InodeOf(Cache() + "tableinfo.idx.compress"), table_inode);
  EXPECT_EQ(InodeOf(Cache() + "constinfo.idx"), const_inode);
  EXPECT_GT(CwFileUtil::GetAllTable(GetGlobalMainOrbeClientSession(), tables.data()), 0);
  for (const auto& entry : std::filesystem::directory_iterator(Cache())) {
    EXPECT_NE(entry.path().extension(), ".part") << entry.path();
  }
}

TEST_F(RefreshTest, AFetchOfAMissingFileFailsAndKeepsTheLocalCopy) {
  ASSERT_EQ(Start(), 1u);
  OrbeClientSession* session = GetGlobalMainOrbeClientSession();
  ASSERT_NE(session, nullptr);
  // Mode 3 also lists the bond export, which this server does not have.
  const std::string kept = "kept";
  std::ofstream(Cache() + "ZQ_Sort_Export_0.xml", std::ios::binary) << kept;
  EXPECT_FALSE(orbe::RefreshDictionaryFiles(*session, Cache(), 3));
  std::ifstream in(Cache() + "ZQ_Sort_Export_0.xml", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kept);
  EXPECT_TRUE(orbe::RefreshDictionaryFiles(*session, Cache(), 0));
}

}  // namespace
