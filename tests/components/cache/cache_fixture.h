// A temporary cache folder, caches opened in it through the real component,
// and direct SQL on its file for what the interface cannot show.
#ifndef ORBE_TESTS_CACHE_CACHE_FIXTURE_H_
#define ORBE_TESTS_CACHE_CACHE_FIXTURE_H_

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "components/cache/cache_test_content.h"

namespace orbe::testing {

class CacheTest : public ::testing::Test {
 protected:
  struct Releaser {
    DeleteTCwCacheInstanceProc destroy;
    void operator()(ITCwcache* cache) const { destroy(cache); }
  };
  using CachePtr = std::unique_ptr<ITCwcache, Releaser>;

  void SetUp() override {
    ASSERT_TRUE(component().Loaded()) << LastLoaderError();
    std::string pattern = (std::filesystem::temp_directory_path() / "orbe_cache_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    if (!folder_.empty()) std::filesystem::remove_all(folder_);
  }

  static CacheComponent& component() {
    static CacheComponent loaded;
    return loaded;
  }
  CachePtr Open(const std::string& directory) const {
    return CachePtr(component().create(directory.c_str(), 0, 0), Releaser{component().destroy});
  }
  CachePtr Open() const { return Open(folder_); }
  std::string DatabasePath() const { return folder_ + "/replycache.db"; }

  // Runs SQL on the cache file beside the component; the first column of the
  // first row as text ("" when there is none). Exec is true when rows changed.
  std::string SqlText(const std::string& sql) const {
    sqlite3* db = nullptr;
    std::string value;
    if (sqlite3_open(DatabasePath().c_str(), &db) == SQLITE_OK) {
      sqlite3_busy_timeout(db, 10000);
      sqlite3_stmt* stmt = nullptr;
      if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
          sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0) != nullptr) {
        value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      }
      sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return value;
  }
  bool Exec(const std::string& sql) const {
    sqlite3* db = nullptr;
    bool done = sqlite3_open(DatabasePath().c_str(), &db) == SQLITE_OK;
    if (done) {
      sqlite3_busy_timeout(db, 10000);
      done = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK && sqlite3_changes(db) > 0;
    }
    sqlite3_close(db);
    return done;
  }
  std::int64_t SqlInt(const std::string& sql) const {
    const std::string text = SqlText(sql);
    return text.empty() ? -1 : std::stoll(text);
  }

  std::string folder_;
};

}  // namespace orbe::testing

#endif  // ORBE_TESTS_CACHE_CACHE_FIXTURE_H_
