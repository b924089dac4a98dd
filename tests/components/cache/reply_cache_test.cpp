// The reply cache component as the module sees it: loaded by name, driven
// through ITCwcache, its file inspected and damaged with plain SQL.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "components/cache/cache_fixture.h"

namespace orbe::testing {
namespace {

using ReplyCacheTest = CacheTest;

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

TEST_F(ReplyCacheTest, ThousandKeysReloadByteForByteAfterReopening) {
  {
    const CachePtr cache = Open();
    ASSERT_NE(cache, nullptr);
    for (int i = 0; i < 1000; ++i) {
      ASSERT_TRUE(cache->Store(CacheTestKey(1, i).c_str(), CacheTestPackets(1, i), CacheTestStamp(1, i)));
    }
  }
  const CachePtr cache = Open();
  ASSERT_NE(cache, nullptr);
  for (int i = 0; i < 1000; ++i) {
    CwPacketList loaded;
    ASSERT_TRUE(cache->Load(CacheTestKey(1, i).c_str(), loaded)) << i;
    ASSERT_EQ(loaded, CacheTestPackets(1, i)) << i;
    ASSERT_EQ(cache->GetTimeStamp(CacheTestKey(1, i).c_str()), CacheTestStamp(1, i)) << i;
  }
  EXPECT_EQ(SqlInt("SELECT count(*) FROM entries"), 1000);
}

TEST_F(ReplyCacheTest, StoreReplacesAndKeepsEmptyRepliesAndBinaryBytes) {
  const CachePtr cache = Open();
  ASSERT_NE(cache, nullptr);
  const CwPacketList binary = {std::string("\0\x01\xff", 3), "", std::string(70000, '\xd6')};
  ASSERT_TRUE(cache->Store("K", binary, 5));
  CwPacketList loaded;
  ASSERT_TRUE(cache->Load("K", loaded));
  EXPECT_EQ(loaded, binary);

  // A later reply replaces everything of the earlier one, through either slot.
  ASSERT_TRUE(cache->Save("K", {"new"}, 7));
  ASSERT_TRUE(cache->Load("K", loaded));
  EXPECT_EQ(loaded, CwPacketList{"new"});
  EXPECT_EQ(cache->GetTimeStamp("K"), 7);

  // A reply without records is a reply: it loads as zero packets.
  ASSERT_TRUE(cache->Store("K", {}, 0));
  loaded = {"stale"};
  ASSERT_TRUE(cache->Load("K", loaded));
  EXPECT_TRUE(loaded.empty());
  EXPECT_EQ(cache->GetTimeStamp("K"), 0);
  EXPECT_EQ(SqlInt("SELECT count(*) FROM entries"), 1);
  EXPECT_EQ(SqlInt("SELECT count(*) FROM payloads"), 1);
}

TEST_F(ReplyCacheTest, MissingAndInvalidKeysAreRefused) {
  const CachePtr cache = Open();
  ASSERT_NE(cache, nullptr);
  CwPacketList loaded = {"untouched"};
  EXPECT_FALSE(cache->Load("absent", loaded));
  EXPECT_EQ(loaded, CwPacketList{"untouched"});
  EXPECT_EQ(cache->GetTimeStamp("absent"), -1);
  EXPECT_FALSE(cache->IsUsable("absent"));
  EXPECT_FALSE(cache->Store(nullptr, {"x"}, 1));
  EXPECT_FALSE(cache->Store("", {"x"}, 1));
  EXPECT_FALSE(cache->Load(nullptr, loaded));
  EXPECT_EQ(cache->GetTimeStamp(nullptr), -1);
  EXPECT_FALSE(cache->IsUsable(""));
  // GBK keys are bytes: near spellings are other keys.
  ASSERT_TRUE(cache->Save("\xd6\xd0", {"a"}, 1));
  EXPECT_EQ(cache->GetTimeStamp("\xd6\xd0"), 1);
  EXPECT_EQ(cache->GetTimeStamp("\xd6"), -1);
}

TEST_F(ReplyCacheTest, UsableOnlyWhileFreshWithAKnownStamp) {
  const CachePtr cache = Open();
  ASSERT_NE(cache, nullptr);
  ASSERT_TRUE(cache->Store("fresh", {"a"}, 10));
  ASSERT_TRUE(cache->Store("unstamped", {"a"}, -1));
  ASSERT_TRUE(cache->Store("old", {"a"}, 10));
  ASSERT_TRUE(cache->Store("future", {"a"}, 10));
  ASSERT_TRUE(Exec("UPDATE entries SET stored_at = stored_at - 31000 WHERE key = CAST('old' AS BLOB)"));
  ASSERT_TRUE(Exec("UPDATE entries SET stored_at = stored_at + 3600000 WHERE key = CAST('future' AS BLOB)"));
  EXPECT_TRUE(cache->IsUsable("fresh"));
  EXPECT_FALSE(cache->IsUsable("unstamped"));
  EXPECT_FALSE(cache->IsUsable("old"));
  EXPECT_FALSE(cache->IsUsable("future")) << "a clock set back must not make an entry fresh";

  // The window comes from the folder's settings; 0 turns the short-cut off.
  WriteFile(folder_ + "/cachestore.ini", "[Cache]\r\nFreshSeconds=0\r\n");
  const CachePtr strict = Open();
  ASSERT_NE(strict, nullptr);
  EXPECT_FALSE(strict->IsUsable("fresh"));
  WriteFile(folder_ + "/cachestore.ini", "[Cache]\r\nFreshSeconds=60\r\n");
  const CachePtr lenient = Open();
  ASSERT_NE(lenient, nullptr);
  EXPECT_TRUE(lenient->IsUsable("old"));
}

TEST_F(ReplyCacheTest, MaintenanceEvictsLeastRecentlyUsedToTheSizeBound) {
  WriteFile(folder_ + "/cachestore.ini", "[Cache]\r\nMaxKB=64\r\n");
  const CachePtr cache = Open();
  ASSERT_NE(cache, nullptr);
  const std::string ten_kb(10 * 1024, 'r');
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(cache->Store(("k" + std::to_string(i)).c_str(), {ten_kb}, i));
  // Uses in a known order, long ago, so the loads below are the newest.
  ASSERT_TRUE(Exec("UPDATE entries SET used_at = 1000 + CAST(substr(CAST(key AS TEXT), 2) AS INTEGER)"));
  CwPacketList loaded;
  ASSERT_TRUE(cache->Load("k0", loaded));
  ASSERT_TRUE(cache->Load("k1", loaded));
  cache->SaveState();
  EXPECT_GT(SqlInt("SELECT used_at FROM entries WHERE key = CAST('k0' AS BLOB)"), 1000000);

  cache->Maintain();
  EXPECT_LE(SqlInt("SELECT total(size) FROM entries"), 64 * 1024);
  // Six entries of 10 KB and a few bytes fit: the used two and the four newest stores.
  for (const char* kept : {"k0", "k1", "k6", "k7", "k8", "k9"}) {
    EXPECT_TRUE(cache->Load(kept, loaded)) << kept;
  }
  for (const char* gone : {"k2", "k3", "k4", "k5"}) EXPECT_EQ(cache->GetTimeStamp(gone), -1) << gone;
  EXPECT_EQ(SqlInt("SELECT count(*) FROM payloads"), 6);

  // A reply larger than the bound is not kept, nor is the one it replaces.
  EXPECT_FALSE(cache->Store("k9", {std::string(65 * 1024, 'x')}, 99));
  EXPECT_EQ(cache->GetTimeStamp("k9"), -1);
}

TEST_F(ReplyCacheTest, FolderSpellingsShareOneFileAndMissingFoldersAreMade) {
  const CachePtr plain = Open(folder_);
  const CachePtr slash = Open(folder_ + "/");
  const CachePtr backslash = Open(folder_ + "\\");
  ASSERT_TRUE(plain && slash && backslash);
  ASSERT_TRUE(plain->Store("shared", {"v"}, 3));
  EXPECT_EQ(slash->GetTimeStamp("shared"), 3);
  EXPECT_EQ(backslash->GetTimeStamp("shared"), 3);

  const std::string nested = folder_ + "/a/b/cachem/";
  const CachePtr made = Open(nested);
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(std::filesystem::exists(nested + "replycache.db"));
}

TEST_F(ReplyCacheTest, DamagedFileIsSetAsideAndDamagedEntriesAreNotServed) {
  WriteFile(DatabasePath(), std::string(8192, 'G'));
  {
    const CachePtr cache = Open();
    ASSERT_NE(cache, nullptr);
    ASSERT_TRUE(cache->Store("a", {"1", "22"}, 1));
    ASSERT_TRUE(cache->Store("b", {"333"}, 1));
  }
  EXPECT_TRUE(std::filesystem::exists(DatabasePath() + ".bad"));

  // A blob cut short, or with bytes behind its last packet, is refused.
  ASSERT_TRUE(Exec("UPDATE payloads SET packets = x'0200000001000000310200000032'"
                   " WHERE id = (SELECT id FROM entries WHERE key = CAST('a' AS BLOB))"));
  ASSERT_TRUE(Exec("UPDATE payloads SET packets = x'010000000300000033333300'"
                   " WHERE id = (SELECT id FROM entries WHERE key = CAST('b' AS BLOB))"));
  const CachePtr cache = Open();
  ASSERT_NE(cache, nullptr);
  CwPacketList loaded = {"untouched"};
  EXPECT_FALSE(cache->Load("a", loaded));
  EXPECT_FALSE(cache->Load("b", loaded));
  EXPECT_EQ(loaded, CwPacketList{"untouched"});
  // A count that claims more packets than the blob can hold.
  ASSERT_TRUE(Exec("UPDATE payloads SET packets = x'ffffffff00000000'"
                   " WHERE id = (SELECT id FROM entries WHERE key = CAST('b' AS BLOB))"));
  EXPECT_FALSE(cache->Load("b", loaded));
  ASSERT_TRUE(cache->Store("a", {"again"}, 2));
  ASSERT_TRUE(cache->Load("a", loaded));
  EXPECT_EQ(loaded, CwPacketList{"again"});
}

TEST_F(ReplyCacheTest, FileIsSharedInWalModeAndReleaseIgnoresForeignPointers) {
  const CachePtr first = Open();
  const CachePtr second = Open();
  ASSERT_TRUE(first && second);
  ASSERT_TRUE(first->Store("x", {"from first"}, 1));
  CwPacketList loaded;
  ASSERT_TRUE(second->Load("x", loaded));
  EXPECT_EQ(loaded, CwPacketList{"from first"});
  EXPECT_EQ(SqlText("PRAGMA journal_mode"), "wal");

  component().destroy(nullptr);
  // A pointer the component did not make is left alone.
  class Foreign : public ITCwcache {
   public:
    ~Foreign() override = default;
    bool Store(const char*, const CwPacketList&, std::int64_t) override { return false; }
    std::int64_t GetTimeStamp(const char*) override { return 42; }
    bool Load(const char*, CwPacketList&) override { return false; }
    bool IsUsable(const char*) override { return false; }
    void Maintain() override {}
    void SaveState() override {}
    bool Save(const char*, const CwPacketList&, std::int64_t) override { return false; }
  } foreign;
  component().destroy(&foreign);
  EXPECT_EQ(foreign.GetTimeStamp("x"), 42);
  EXPECT_EQ(first->GetTimeStamp("x"), 1);
}

}  // namespace
}  // namespace orbe::testing
