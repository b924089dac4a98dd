// Several processes on one cache folder: a writer killed in the middle of its
// stores, and two writers at once. The writers are cache_writer children
// that report every store once it has returned.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "components/cache/cache_fixture.h"

extern char** environ;

namespace orbe::testing {
namespace {

// A cache_writer child whose output is read line by line.
class Writer {
 public:
  Writer(const std::string& folder, int writer, int first, int count) {
    const std::string program = std::string(ORBE_TEST_BIN_DIR) + "/cache_writer";
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const std::string args[] = {program, folder, std::to_string(writer), std::to_string(first),
                                std::to_string(count)};
    char* const argv[] = {const_cast<char*>(args[0].c_str()), const_cast<char*>(args[1].c_str()),
                          const_cast<char*>(args[2].c_str()), const_cast<char*>(args[3].c_str()),
                          const_cast<char*>(args[4].c_str()), nullptr};
    if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv, environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    output_ = ::fdopen(out[0], "r");
  }
  ~Writer() {
    if (pid_ > 0) Kill();
    if (output_ != nullptr) std::fclose(output_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  bool Started() const { return pid_ > 0 && output_ != nullptr; }
  // The index of the next store reported, or -1 at the end of the output.
  int NextStored() {
    int index = -1;
    return std::fscanf(output_, "stored %d\n", &index) == 1 ? index : -1;
  }
  // The exit code; -1 when killed by a signal.
  int Wait() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Kill() {
    ::kill(pid_, SIGKILL);
    Wait();
  }

 private:
  pid_t pid_ = -1;
  FILE* output_ = nullptr;
};

using CacheProcessesTest = CacheTest;

TEST_F(CacheProcessesTest, WriterKilledWhileStoringLeavesEveryEarlierEntry) {
  ASSERT_EQ(::access((std::string(ORBE_TEST_BIN_DIR) + "/cache_writer").c_str(), X_OK), 0)
      << "build the cache_writer helper first";
  std::mt19937 random(20261206);
  std::uniform_int_distribution<int> stores_before_kill(1, 120);
  std::vector<std::pair<int, int>> confirmed;  // (writer, index)
  for (int round = 0; round < 6; ++round) {
    Writer writer(folder_, round, 0, 0);
    ASSERT_TRUE(writer.Started());
    const int wanted = stores_before_kill(random);
    for (int seen = 0; seen < wanted; ++seen) {
      const int index = writer.NextStored();
      ASSERT_EQ(index, seen) << "the writer stopped early";
      confirmed.emplace_back(round, index);
    }
    // The writer is already inside its next store (or its read-back) here.
    writer.Kill();

    EXPECT_EQ(SqlText("PRAGMA integrity_check"), "ok");
    const CachePtr cache = Open();
    ASSERT_NE(cache, nullptr);
    for (const auto& [id, index] : confirmed) {
      CwPacketList loaded;
      ASSERT_TRUE(cache->Load(CacheTestKey(id, index).c_str(), loaded)) << id << "/" << index;
      ASSERT_EQ(loaded, CacheTestPackets(id, index)) << id << "/" << index;
      ASSERT_EQ(cache->GetTimeStamp(CacheTestKey(id, index).c_str()), CacheTestStamp(id, index));
    }
    ASSERT_TRUE(cache->Store("after the kill", {"ok"}, 1));
  }
}

TEST_F(CacheProcessesTest, TwoWritersAtOnceLoseNothing) {
  ASSERT_EQ(::access((std::string(ORBE_TEST_BIN_DIR) + "/cache_writer").c_str(), X_OK), 0)
      << "build the cache_writer helper first";
  constexpr int kKeysEach = 300;
  Writer first(folder_, 1, 0, kKeysEach);
  Writer second(folder_, 2, 0, kKeysEach);
  ASSERT_TRUE(first.Started() && second.Started());
  int reported[2] = {0, 0};
  while (first.NextStored() >= 0) ++reported[0];
  while (second.NextStored() >= 0) ++reported[1];
  EXPECT_EQ(first.Wait(), 0);
  EXPECT_EQ(second.Wait(), 0);
  EXPECT_EQ(reported[0], kKeysEach);
  EXPECT_EQ(reported[1], kKeysEach);

  const CachePtr cache = Open();
  ASSERT_NE(cache, nullptr);
  for (int writer = 1; writer <= 2; ++writer) {
    for (int index = 0; index < kKeysEach; ++index) {
      CwPacketList loaded;
      ASSERT_TRUE(cache->Load(CacheTestKey(writer, index).c_str(), loaded)) << writer << "/" << index;
      ASSERT_EQ(loaded, CacheTestPackets(writer, index)) << writer << "/" << index;
    }
  }
  EXPECT_EQ(SqlInt("SELECT count(*) FROM entries"), 2 * kKeysEach);
  EXPECT_EQ(SqlText("PRAGMA integrity_check"), "ok");
}

}  // namespace
}  // namespace orbe::testing
