// How long the module's sessions and the handles made on them live, end to
// end: the real engine and reply cache against a real orbe-dataserver. A
// server stopped with SIGSTOP keeps requests in flight for as long as a case
// needs them there. Run under ASan, a handle freed too early or never freed
// fails the run.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "dataservice/reply_sql_handle.h"
#include "dataservice/transfer_server.h"
#include "env/module_state.h"
#include "orbe/dataservice/fetch_data.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/env.h"
#include "orbe/platform/profile.h"
#include "support/component_reexec.h"

namespace {

bool RunWithRealComponents() {
  const std::string lib = ORBE_TEST_LIB_DIR;
  return orbe_test::RunWithComponentFolder(orbe_test::LinkComponentFolder(
      "orbe_lifetime_components", lib + "/libFinDataComm.so", lib + "/libFinCacheStore.so"));
}

const bool kWithRealComponents = RunWithRealComponents();

constexpr char kSelect[] = "SELECT T001,T002 FROM 100000001";

class SessionLifetimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithRealComponents);
    folder_ = orbe_test::ScratchFolder("lifetime");
    ASSERT_TRUE(server_.Start(folder_));
    ini_ = folder_ + "comm.ini";
    ASSERT_TRUE(orbe_test::WriteServerHosts(ini_, server_));
    SetPrivPath(folder_);
  }
  void TearDown() override {
    Resume();
    while (orbe::State().init_flag) UnInitDataEngin();
    UnInitDataEngin();
    server_.Stop(SIGTERM);
    std::filesystem::remove_all(folder_);
  }
  unsigned int Start() { return InitDataEngin(folder_ + "cache/", ini_, 0, nullptr); }
  // The server answers nothing until Resume.
  void Pause() {
    ASSERT_EQ(::kill(server_.Pid(), SIGSTOP), 0);
    paused_ = true;
  }
  void Resume() {
    if (paused_) ::kill(server_.Pid(), SIGCONT);
    paused_ = false;
  }
  // Handles on the main session, each with a SELECT in flight.
  std::vector<IFetchData*> HandlesInFlight(int count) {
    std::vector<IFetchData*> handles;
    for (int i = 0; i < count; ++i) {
      IFetchData* handle = CreateFetchDataHandle(nullptr, 0);
      EXPECT_TRUE(handle->FetchData(kSelect, nullptr, 0, TRUE)) << i;
      EXPECT_FALSE(Ours(handle)->IsReady()) << i;
      handles.push_back(handle);
    }
    return handles;
  }
  static ReplySqlHandle* Ours(IFetchData* handle) { return dynamic_cast<ReplySqlHandle*>(handle); }

  std::string folder_;
  std::string ini_;
  orbe_test::TransferServer server_;
  bool paused_ = false;
};

// What a handle shows once its session went from under its request: the
// request ended unanswered, and nothing more goes out through it.
void ExpectOrphaned(IFetchData* handle, int index) {
  auto* ours = dynamic_cast<ReplySqlHandle*>(handle);
  ASSERT_NE(ours, nullptr);
  EXPECT_TRUE(ours->IsReady()) << index;
  EXPECT_NE(ours->LastStatus(), kCwStatusComplete) << index;
  EXPECT_FALSE(handle->FetchData(kSelect, nullptr, 0, TRUE)) << index;
  EXPECT_FALSE(handle->SynFetchData(kSelect, nullptr, 0, TRUE)) << index;
  EXPECT_EQ(handle->SynGetTimestamp(100000001), -1) << index;
}

TEST_F(SessionLifetimeTest, TearDownEndsFiftyRequestsInFlightAndTheHandlesGoAfterwards) {
  ASSERT_EQ(Start(), 1u);
  Pause();
  std::vector<IFetchData*> handles = HandlesInFlight(50);
  // Ten are given back with their request in flight: they go when it ends.
  for (int i = 0; i < 10; ++i) DeleteFetchDataHandle(handles[i]);
  UnInitDataEngin();
  ASSERT_FALSE(orbe::State().init_flag);
  EXPECT_EQ(GetGlobalMainOrbeClientSession(), nullptr);
  for (int i = 10; i < 50; ++i) ExpectOrphaned(handles[i], i);
  for (int i = 10; i < 50; ++i) DeleteFetchDataHandle(handles[i]);
  // A new start serves new handles.
  Resume();
  ASSERT_EQ(Start(), 1u);
  IFetchData* fresh = CreateFetchDataHandle(nullptr, 0);
  EXPECT_TRUE(fresh->SynFetchData(kSelect, nullptr, 0, TRUE));
  EXPECT_GT(fresh->GetRecordCount(), 0);
  DeleteFetchDataHandle(fresh);
}

// A host resets the asynchronous queue with fetches in flight: each ends
// unanswered before the reset returns, one given back meanwhile goes with
// it, and the others fetch again without the dropped replies mixed in.
TEST_F(SessionLifetimeTest, AQueueResetEndsTheFetchesInFlight) {
  ASSERT_EQ(Start(), 1u);
  IFetchData* fresh = CreateFetchDataHandle(nullptr, 0);
  ASSERT_TRUE(fresh->SynFetchData(kSelect, nullptr, 0, TRUE));
  const int records = fresh->GetRecordCount();
  DeleteFetchDataHandle(fresh);
  ASSERT_GT(records, 0);
  Pause();
  std::vector<IFetchData*> handles = HandlesInFlight(3);
  DeleteFetchDataHandle(handles[0]);
  GetGlobalMainOrbeClientSession()->ResetReplyHandleQueue(false);
  for (int i = 1; i < 3; ++i) {
    EXPECT_TRUE(Ours(handles[i])->IsReady()) << i;
    EXPECT_EQ(Ours(handles[i])->LastStatus(), orbe::wire::kStatusDropped) << i;
  }
  Resume();
  for (int i = 1; i < 3; ++i) {
    EXPECT_TRUE(handles[i]->SynFetchData(kSelect, nullptr, 0, TRUE)) << i;
    EXPECT_EQ(handles[i]->GetRecordCount(), records) << i;
    DeleteFetchDataHandle(handles[i]);
  }
}

TEST_F(SessionLifetimeTest, ARetriedStartReplacesTheSessionsHandlesStillUse) {
  // Without a dictionary to fetch the start fails and leaves its sessions
  // for the retry to replace.
  std::filesystem::remove_all(server_.Root());
  std::filesystem::create_directories(server_.Root());
  ASSERT_EQ(Start(), 0u);
  ASSERT_NE(GetGlobalMainOrbeClientSession(), nullptr);
  ASSERT_NE(GetGlobalMainCwRequestSession(), nullptr);
  Pause();
  std::vector<IFetchData*> handles;
  for (int i = 0; i < 5; ++i) {
    handles.push_back(CreateFetchDataHandle(nullptr, 0));
    // Without a dictionary no SELECT is built; a call needs none.
    EXPECT_TRUE(handles.back()->CallTQL("P_NONE", "")) << i;
  }
  DeleteFetchDataHandle(handles[0]);
  Resume();
  EXPECT_EQ(Start(), 0u);
  for (int i = 1; i < 5; ++i) {
    auto* ours = Ours(handles[i]);
    EXPECT_TRUE(ours->IsReady()) << i;
    EXPECT_FALSE(handles[i]->CallTQL("P_NONE", "")) << i;
    DeleteFetchDataHandle(handles[i]);
  }
}

// The child starts the environment and keeps a second session with its
// dictionary loaded in a static object, then leaves without tearing down,
// as hosts leave with their globals: every static of the module, its
// components and the host goes in whatever order the exit takes.
[[noreturn]] void ExitHoldingASessionInAStatic(const std::string& cache, const std::string& ini) {
  if (InitDataEngin(cache, ini, 0, nullptr) != 1) std::_Exit(3);
  static OrbeClientSession held(orbe::Siblings().Engine().GetCwDataEnginInstance(), cache + "held/", ini);
  held.CreateSession(false, false);
  if (!held.InitSession(1, nullptr)) std::_Exit(4);
  std::vector<tagMemTableInfo> tables(orbe::kMaxTables);
  if (CwFileUtil::GetAllTable(&held, tables.data()) <= 0) std::_Exit(5);
  // A handle on it, too, with its request in flight.
  static ReplySqlHandle handle(&held, nullptr, 0);
  if (!handle.FetchData(kSelect, nullptr, 0, TRUE)) std::_Exit(6);
  std::exit(0);
}

TEST_F(SessionLifetimeTest, AProgramHoldingASessionInAStaticObjectExitsCleanly) {
  std::filesystem::create_directories(folder_ + "cache/held");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ExitHoldingASessionInAStatic(folder_ + "cache/", ini_);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
