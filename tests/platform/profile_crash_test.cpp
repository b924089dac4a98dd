// A writer killed at any instant must leave the old or the new file, never a
// partial one, and its leftovers must not be taken for the file.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#include "orbe/platform/file.h"
#include "orbe/platform/profile.h"

#include "support/ini_rewrite_content.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kKeys = 2000;  // about 200 KB, so that kills land inside writes
constexpr int kKills = 200;
constexpr char kSection[] = "big";

using orbe::testing::SectionPairs;

pid_t SpawnRewriter(const std::string& file) {
  const std::string program = std::string(ORBE_TEST_BIN_DIR) + "/ini_rewriter";
  const std::string keys = std::to_string(kKeys);
  char* const argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(file.c_str()),
                        const_cast<char*>(kSection), const_cast<char*>(keys.c_str()), nullptr};
  pid_t pid = -1;
  return ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) == 0 ? pid : -1;
}

// Removes the test folder however the test ends.
struct TempFolder {
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "orbe_crash_XXXXXX").string();
    if (::mkdtemp(pattern.data()) != nullptr) path = pattern;
  }
  ~TempFolder() {
    if (!path.empty()) fs::remove_all(path);
  }
  std::string path;
};

TEST(ProfileCrashTest, KilledWriterLeavesOldOrNewFile) {
  ASSERT_EQ(::access((std::string(ORBE_TEST_BIN_DIR) + "/ini_rewriter").c_str(), X_OK), 0)
      << "build the ini_rewriter helper first";
  const TempFolder temp;
  ASSERT_FALSE(temp.path.empty());
  const std::string& folder = temp.path;
  const std::string file = folder + "/settings.ini";

  // The two full contents the writer alternates between.
  ASSERT_TRUE(orbe::WriteFileAtomically(file, "; kept\r\n[other]\r\nx=1\r\n"));
  ASSERT_TRUE(WritePrivateProfileSectionA(kSection, SectionPairs('a', kKeys).c_str(), file.c_str()));
  const std::string content_a = orbe::ReadWholeFile(file).value();
  ASSERT_TRUE(WritePrivateProfileSectionA(kSection, SectionPairs('b', kKeys).c_str(), file.c_str()));
  const std::string content_b = orbe::ReadWholeFile(file).value();
  ASSERT_TRUE(WritePrivateProfileSectionA(kSection, SectionPairs('a', kKeys).c_str(), file.c_str()));
  ASSERT_EQ(orbe::ReadWholeFile(file), content_a);
  ASSERT_GT(content_a.size(), 200000u);
  ASSERT_NE(content_a, content_b);

  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> delay_us(0, 15000);
  int seen_b = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const pid_t child = SpawnRewriter(file);
    ASSERT_GT(child, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // A writer that failed on its own would exit instead of being killed.
    ASSERT_TRUE(WIFSIGNALED(status)) << "rewriter exited with " << WEXITSTATUS(status);
    const std::optional<std::string> content = orbe::ReadWholeFile(file);
    ASSERT_TRUE(content.has_value()) << "after kill " << kill;
    ASSERT_TRUE(*content == content_a || *content == content_b)
        << "after kill " << kill << ": a partial file of " << content->size() << " bytes";
    seen_b += *content == content_b ? 1 : 0;
  }
  // How often a kill found the second content: shows the writer got going.
  RecordProperty("kills_after_second_content", seen_b);

  // The next writer removes what killed writers left behind.
  ASSERT_TRUE(WritePrivateProfileStringA("other", "x", "2", file.c_str()));
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().filename(), "settings.ini") << "leftover " << entry.path();
  }
}

}  // namespace
