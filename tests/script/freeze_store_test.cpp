// The freeze store: what scripts see of it, its limit, its file, and its
// survival across a restart of the module and across a writer killed while
// it writes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "orbe/env.h"
#include "orbe/platform/file.h"
#include "orbe/platform/window.h"
#include "orbe/script/freeze_store.h"
#include "script/freeze_content.h"
#include "support/script_harness.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }
extern char** environ;

namespace {

namespace fs = std::filesystem;
using orbe::FreezeStore;

std::string NewFolder() {
  std::string pattern = (fs::temp_directory_path() / "orbe_freeze_XXXXXX").string();
  return ::mkdtemp(pattern.data()) != nullptr ? pattern + "/" : std::string();
}

pid_t SpawnWriter(const std::string& folder, const char* mode, int entries) {
  const std::string program = std::string(ORBE_TEST_BIN_DIR) + "/freeze_writer";
  const std::string count = std::to_string(entries);
  char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(folder.c_str()),
                        const_cast<char*>(mode), const_cast<char*>(count.c_str()), nullptr};
  pid_t pid = -1;
  return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

class FreezeStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = NewFolder();
    ASSERT_FALSE(folder_.empty());
    SetPrivPath(folder_);
    FreezeStore::Module().Clear();
  }
  void TearDown() override {
    FreezeStore::Module().Clear();
    SetPrivPath("");
    fs::remove_all(folder_);
  }
  std::string File() const { return folder_ + FreezeStore::kFileName; }

  std::string folder_;
};

// The script methods, case by case: (call, expected result).
TEST_F(FreezeStoreTest, ScriptMethodsSetGetAndDelete) {
  orbe_test::HarnessContainer container;
  ASSERT_TRUE(container.Load(R"py(
CASES = [
    ("c.FreezeSet('', 'k', 'v')", 0),
    ("c.FreezeSet('g', '', 'v')", 0),
    ("c.FreezeSet('g', 'k', 'x' * 10240)", 0),
    ("c.FreezeSet('g', 'k', 'x' * 10239)", 1),
    ("c.FreezeGet('g', 'k')[1] == 'x' * 10239", True),
    ("c.FreezeSet('g', 'k', '\u4e2d')", 1),
    ("c.FreezeGet('g', 'k')", (1, '\u4e2d')),
    ("c.FreezeGet('g', 'other')", (0, '')),
    ("c.FreezeGet('none', 'k')", (0, '')),
    ("c.FreezeSet('g', 'k2', 'v2')", 1),
    ("c.FreezeDel('none', 'k')", 1),
    ("c.FreezeDel('g', 'absent')", 1),
    ("c.FreezeDel('g', 'k')", 1),
    ("c.FreezeGet('g', 'k2')", (1, 'v2')),
    ("c.FreezeDel('g', 'k2')", 0),
    ("c.FreezeGet('g', 'k2')", (0, '')),
    ("c.FreezeSet('shared', 'key', 'from the first container')", 1),
]
failures = []
def run(c):
    for expression, expected in CASES:
        got = eval(expression)
        if got != expected:
            failures.append('%s gave %r, not %r' % (expression, got, expected))
def other(c):
    global seen
    seen = c.FreezeGet('shared', 'key')
)py")) << container.LastError();
  ASSERT_TRUE(container.Call("run")) << container.LastError();
  EXPECT_EQ(container.Global("failures"), "[]");
  // Module-wide: another container sees it, and the call's end wrote it.
  orbe_test::HarnessContainer second;
  ASSERT_TRUE(second.Load("def other(c):\n    global seen\n    seen = c.FreezeGet('shared', 'key')\n"));
  ASSERT_TRUE(second.Call("other")) << second.LastError();
  EXPECT_EQ(second.Global("seen"), "(1, 'from the first container')");
  EXPECT_FALSE(FreezeStore::Module().Dirty());
  EXPECT_TRUE(fs::exists(File()));
}

TEST_F(FreezeStoreTest, TheLimitCountsEntriesAndReplacingIsAlwaysAllowed) {
  FreezeStore store;
  for (std::size_t i = 0; i < FreezeStore::kMaxEntries; ++i) {
    ASSERT_TRUE(store.Set("g" + std::to_string(i % 100), std::to_string(i), "v")) << i;
  }
  EXPECT_EQ(store.EntryCount(), FreezeStore::kMaxEntries);
  EXPECT_FALSE(store.Set("g0", "new", "v"));
  EXPECT_FALSE(store.Set("a new group", "k", "v"));
  EXPECT_TRUE(store.Set("g0", "0", "replaced"));
  EXPECT_EQ(store.Get("g0", "0"), "replaced");
  EXPECT_EQ(store.Remove("g1", "1"), FreezeStore::Removal::kKeyRemoved);
  EXPECT_TRUE(store.Set("g0", "new", "v"));
  EXPECT_FALSE(store.Set("g0", "newer", "v"));
  // A removed group frees its entries.
  for (std::size_t i = 2; i < FreezeStore::kMaxEntries; i += 100) store.Remove("g2", std::to_string(i));
  EXPECT_EQ(store.Get("g2", "2"), std::nullopt);
  EXPECT_TRUE(store.Set("g0", "newer", "v"));
  EXPECT_EQ(store.EntryCount(), FreezeStore::kMaxEntries - 999);
}

TEST_F(FreezeStoreTest, TheFileRoundTripsAndADamagedOneIsSetAside) {
  const FreezeStore::Groups groups = orbe_test::FreezeContent('x', 50);
  const std::string bytes = FreezeStore::Serialize(groups);
  ASSERT_EQ(FreezeStore::Parse(bytes), groups);
  EXPECT_EQ(FreezeStore::Parse(FreezeStore::Serialize({})), FreezeStore::Groups{});
  // Every single damage is found: a flipped byte anywhere, a cut at any
  // length, bytes added.
  for (std::size_t at = 0; at < bytes.size(); at += 7) {
    std::string flipped = bytes;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x20);
    EXPECT_EQ(FreezeStore::Parse(flipped), std::nullopt) << "flip at " << at;
    EXPECT_EQ(FreezeStore::Parse(bytes.substr(0, at)), std::nullopt) << "cut at " << at;
  }
  EXPECT_EQ(FreezeStore::Parse(bytes + "x"), std::nullopt);

  ASSERT_TRUE(orbe::WriteFileAtomically(File(), bytes.substr(0, bytes.size() / 2)));
  SetPrivPath(folder_);
  EXPECT_EQ(FreezeStore::Module().EntryCount(), 0u);
  EXPECT_TRUE(fs::exists(File() + ".bad"));
  EXPECT_FALSE(fs::exists(File()));
  // The next change writes a sound file again.
  ASSERT_TRUE(FreezeStore::Module().Set("g", "k", "v"));
  ASSERT_TRUE(FreezeStore::Module().Flush());
  EXPECT_EQ(FreezeStore::Parse(orbe::ReadWholeFile(File()).value()),
            (FreezeStore::Groups{{"g", {{"k", "v"}}}}));
}

TEST_F(FreezeStoreTest, ContentSurvivesARestartOfTheModule) {
  const pid_t writer = SpawnWriter(folder_, "once", 2000);
  ASSERT_GT(writer, 0);
  int status = 0;
  ASSERT_EQ(::waitpid(writer, &status, 0), writer);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  SetPrivPath(folder_);  // loads what the other process left
  EXPECT_EQ(FreezeStore::Module().EntryCount(), 2000u);
  EXPECT_EQ(FreezeStore::Module().Get("group3", "key10"), std::string(80, 'a') + "10");
  // Switching folders writes the changed store to its own file first.
  ASSERT_TRUE(FreezeStore::Module().Set("group3", "key10", "changed"));
  const std::string other = NewFolder();
  SetPrivPath(other);
  EXPECT_EQ(FreezeStore::Module().EntryCount(), 0u);
  SetPrivPath(folder_);
  EXPECT_EQ(FreezeStore::Module().Get("group3", "key10"), "changed");
  fs::remove_all(other);
}

// A writer killed at any moment leaves the old or the new content: every kill
// lands while the writer rewrites its 300 KB file in a loop.
TEST_F(FreezeStoreTest, AWriterKilledDuringItsWriteLeavesOldOrNewContent) {
  constexpr int kEntries = 3000;
  constexpr int kKills = 25;
  const std::string content_a = FreezeStore::Serialize(orbe_test::FreezeContent('a', kEntries));
  const std::string content_b = FreezeStore::Serialize(orbe_test::FreezeContent('b', kEntries));
  ASSERT_GT(content_a.size(), 250000u);
  ASSERT_TRUE(orbe::WriteFileAtomically(File(), content_a));
  std::mt19937 random(20240612);
  std::uniform_int_distribution<int> delay_us(0, 20000);
  int seen_b = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::optional<orbe::FileIdentity> before = orbe::IdentifyFile(File());
    const pid_t child = SpawnWriter(folder_, "loop", kEntries);
    ASSERT_GT(child, 0);
    // Once the file changed the writer is in its loop.
    ASSERT_TRUE(orbe::PumpUntil([&] { return orbe::IdentifyFile(File()) != before; }, 20000)) << kill;
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended on its own: " << WEXITSTATUS(status);
    const std::optional<std::string> content = orbe::ReadWholeFile(File());
    ASSERT_TRUE(content.has_value()) << kill;
    ASSERT_TRUE(*content == content_a || *content == content_b) << "after kill " << kill << ": a file of "
                                                                  << content->size() << " bytes";
    seen_b += *content == content_b ? 1 : 0;
  }
  RecordProperty("kills_after_content_b", seen_b);
  // The store loads whichever content was left.
  SetPrivPath(folder_);
  EXPECT_EQ(FreezeStore::Module().EntryCount(), static_cast<std::size_t>(kEntries));
}

}  // namespace
