// A scheme store killed in the middle of SaveSchemes must still hold all the
// old or all the new schemes.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "catalogue_test_util.h"
#include "orbe/indicators/index_scheme.h"

namespace {

constexpr int kKills = 200;

// About 40 KB: a save is mostly the sync, so kills land in every step of it.
std::vector<IndexScheme> Store(const std::string& tag, int schemes, int rows) {
  std::vector<IndexScheme> store;
  for (int s = 0; s < schemes; ++s) {
    IndexScheme scheme;
    scheme.name = tag + "方案" + std::to_string(s);
    scheme.descrip = tag + "说明";
    scheme.expression = "#1 and #2";
    for (int r = 0; r < rows; ++r) {
      IndexSchemeItem item;
      item.index = tag + "指标" + std::to_string(r);
      item.op = "大于";
      item.value = std::to_string(s * rows + r);
      item.colwidth = r;
      scheme.items.push_back(item);
    }
    store.push_back(scheme);
  }
  return store;
}

// `store` comes bound to the file from the parent, so the child starts
// writing at once.
[[noreturn]] void SaveForever(IndexSchemeMgr& store, const std::vector<IndexScheme>& a,
                              const std::vector<IndexScheme>& b) {
  for (;;) {
    store.SetSchemes(b);
    store.SaveSchemes();
    store.SetSchemes(a);
    store.SaveSchemes();
  }
}

TEST(SchemeCrashTest, KilledSaveLeavesAllOldOrAllNewSchemes) {
  const orbe::testing::TempFolder temp;
  ASSERT_FALSE(temp.path.empty());
  const std::string path = temp.File("schemes.ini");
  const std::vector<IndexScheme> old_store = Store("旧", 20, 8);
  const std::vector<IndexScheme> new_store = Store("新", 16, 9);
  IndexSchemeMgr writer;
  writer.LoadSchemes(path);
  writer.SetSchemes(old_store);
  ASSERT_TRUE(writer.SaveSchemes());

  std::mt19937 random(20261206);
  std::uniform_int_distribution<useconds_t> delay_us(0, 60000);
  int old_seen = 0;
  int new_seen = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) SaveForever(writer, old_store, new_store);
    ::usleep(delay_us(random));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    IndexSchemeMgr store;
    store.LoadSchemes(path);
    const std::vector<IndexScheme> schemes = store.GetSchemes();
    const bool is_old = schemes == old_store;
    const bool is_new = schemes == new_store;
    ASSERT_TRUE(is_old || is_new) << "kill " << kill << ": " << schemes.size() << " schemes";
    old_seen += is_old;
    new_seen += is_new;
  }
  std::printf("old store %d times, new store %d times\n", old_seen, new_seen);
}

}  // namespace
