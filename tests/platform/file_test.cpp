#include "orbe/platform/file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orbe_file_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }

  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string folder_;
};

TEST_F(FileTest, WritesAndReadsWholeFiles) {
  const std::string path = PathOf("data.bin");
  const std::string binary("a\0b\r\n\xFF", 6);
  ASSERT_TRUE(orbe::WriteFileAtomically(path, binary));
  EXPECT_EQ(orbe::ReadWholeFile(path), binary);
  const std::string big(1 << 20, 'x');
  ASSERT_TRUE(orbe::WriteFileAtomically(path, big));
  EXPECT_EQ(orbe::ReadWholeFile(path), big);
  ASSERT_TRUE(orbe::WriteFileAtomically(path, ""));
  EXPECT_EQ(orbe::ReadWholeFile(path), "");
  EXPECT_EQ(Entries(), std::vector<std::string>{"data.bin"});  // no temporaries left

  EXPECT_FALSE(orbe::ReadWholeFile(PathOf("missing")).has_value());
  EXPECT_FALSE(orbe::ReadWholeFile(folder_).has_value());
  EXPECT_FALSE(orbe::WriteFileAtomically(PathOf("no/such/folder/file"), "x"));
  EXPECT_FALSE(orbe::WriteFileAtomically(folder_, "x"));  // never replaces a folder
  EXPECT_FALSE(orbe::WriteFileAtomically("", "x"));
  EXPECT_TRUE(fs::is_directory(folder_));
}

TEST_F(FileTest, IdentityTellsVersionsApart) {
  const std::string path = PathOf("id.ini");
  orbe::FileIdentity written;
  ASSERT_TRUE(orbe::WriteFileAtomically(path, "same", &written));
  EXPECT_EQ(orbe::IdentifyFile(path), written);
  orbe::FileIdentity read;
  ASSERT_TRUE(orbe::ReadWholeFile(path, &read));
  EXPECT_EQ(read, written);
  // Same bytes again: a new inode, so a cache cannot mistake it for the old one.
  orbe::FileIdentity rewritten;
  ASSERT_TRUE(orbe::WriteFileAtomically(path, "same", &rewritten));
  EXPECT_NE(rewritten, written);
  EXPECT_EQ(orbe::IdentifyFile(path), rewritten);
  EXPECT_FALSE(orbe::IdentifyFile(folder_).has_value());
}

TEST_F(FileTest, RewriteKeepsPermissionsAndSymbolicLinks) {
  const std::string path = PathOf("private.ini");
  ASSERT_TRUE(orbe::WriteFileAtomically(path, "one"));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(orbe::WriteFileAtomically(path, "two"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  const std::string link = PathOf("link.ini");
  fs::create_symlink("private.ini", link);
  ASSERT_TRUE(orbe::WriteFileAtomically(link, "through the link"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(orbe::ReadWholeFile(path), "through the link");
}

TEST_F(FileTest, StaleTemporariesOfDeadWritersAreRemoved) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(child, nullptr, 0), child);

  const std::string dead = ".cfg.ini.orbe-" + std::to_string(child) + "-7.tmp";
  const std::string alive = ".cfg.ini.orbe-" + std::to_string(::getpid()) + "-999.tmp";
  const std::string other_target = ".other.ini.orbe-" + std::to_string(child) + "-1.tmp";
  for (const std::string& name : {dead, alive, other_target}) std::ofstream(PathOf(name)) << "partial";
  EXPECT_TRUE(orbe::IsTemporaryFileFor(dead, "cfg.ini"));
  EXPECT_FALSE(orbe::IsTemporaryFileFor(other_target, "cfg.ini"));
  EXPECT_FALSE(orbe::IsTemporaryFileFor(".cfg.ini.orbe-12-.tmp", "cfg.ini"));
  EXPECT_FALSE(orbe::IsTemporaryFileFor(".cfg.ini.orbe-x-1.tmp", "cfg.ini"));
  EXPECT_FALSE(orbe::IsTemporaryFileFor("cfg.ini", "cfg.ini"));

  ASSERT_TRUE(orbe::WriteFileAtomically(PathOf("cfg.ini"), "[a]\r\n"));
  std::vector<std::string> expected = {alive, other_target, "cfg.ini"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Entries(), expected);
}

TEST_F(FileTest, ExistenceChecks) {
  const std::string path = PathOf("here.txt");
  EXPECT_FALSE(orbe::FileExists(path));
  EXPECT_FALSE(PathFileExistsA(path.c_str()));
  ASSERT_TRUE(orbe::WriteFileAtomically(path, "x"));
  EXPECT_TRUE(orbe::FileExists(path));
  EXPECT_TRUE(PathFileExistsA(path.c_str()));
  EXPECT_TRUE(PathFileExistsA(folder_.c_str()));  // folders count, as on Windows
  EXPECT_FALSE(PathFileExistsA(nullptr));
  EXPECT_FALSE(PathFileExistsA(""));
}

}  // namespace
