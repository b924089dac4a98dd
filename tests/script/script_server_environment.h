// One orbe-dataserver and one started data environment over the real engine
// and cache components, shared by every test of a script test program, and
// the server's database read directly for what the scripts must have seen.
#ifndef ORBE_TESTS_SCRIPT_SCRIPT_SERVER_ENVIRONMENT_H_
#define ORBE_TESTS_SCRIPT_SCRIPT_SERVER_ENVIRONMENT_H_

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dataservice/transfer_server.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "support/component_reexec.h"
#include "support/sqlite_reader.h"

namespace orbe_test {

// Re-executes the program once with the real components linked into a
// folder of its own (`name`); the folder goes when the program ends.
inline bool RunWithRealComponents(const std::string& name) {
  const std::string lib = ORBE_TEST_LIB_DIR;
  static const struct Cleanup {
    ~Cleanup() {
      if (const char* folder = std::getenv("ORBE_COMPONENT_DIR")) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
      }
    }
  } cleanup;
  return RunWithComponentFolder(
      LinkComponentFolder(name, lib + "/libFinDataComm.so", lib + "/libFinCacheStore.so"));
}

class ScriptServerEnvironment : public ::testing::Environment {
 public:
  // `name` names the scratch folder; `with_components` is what
  // RunWithRealComponents answered when the program started.
  ScriptServerEnvironment(std::string name, bool with_components)
      : name_(std::move(name)), with_components_(with_components) {}

  void SetUp() override {
    ASSERT_TRUE(with_components_);
    folder_ = ScratchFolder(name_);
    ASSERT_TRUE(server_.Start(folder_));
    const std::string ini = folder_ + "comm.ini";
    ASSERT_TRUE(WriteServerHosts(ini, server_));
    ASSERT_TRUE(orbe::WriteProfileString(ini, "CWSYS", "GeneralDB", "3"));
    SetPrivPath(folder_);
    ASSERT_EQ(InitDataEngin(folder_ + "cache/", ini, -1, nullptr), 1u);
    ASSERT_NE(GetGlobalMainOrbeClientSession(), nullptr);
  }
  void TearDown() override {
    UnInitDataEngin();
    server_.Stop(SIGTERM);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static const TransferServer& Server() { return server_; }
  static const std::string& Folder() { return folder_; }

 private:
  static inline TransferServer server_;
  static inline std::string folder_;
  std::string name_;
  bool with_components_;
};

// The server's database, read only.
using ServerDatabase = SqliteReader;


}  // namespace orbe_test

#endif  // ORBE_TESTS_SCRIPT_SCRIPT_SERVER_ENVIRONMENT_H_
