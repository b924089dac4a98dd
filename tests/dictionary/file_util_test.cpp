#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "dictionary/dictionary_test_util.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/crypto.h"

namespace orbe {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(FileUtilTest, LengthsOfOpenAndNamedFiles) {
  TempDir dir;
  const std::string path = dir.File("data.bin");
  WriteBytes(path, std::string(1000, 'x'));
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  ASSERT_EQ(std::fseek(file, 123, SEEK_SET), 0);
  EXPECT_EQ(CwFileUtil::filelength(file), 1000);
  EXPECT_EQ(std::ftell(file), 123) << "the position is kept";
  std::fclose(file);
  EXPECT_EQ(CwFileUtil::filelength(nullptr), 0);

  EXPECT_EQ(CwFileUtil::GetCwFileLen(path.c_str()), 1000);
  EXPECT_EQ(CwFileUtil::GetCwFileLen(dir.File("missing").c_str()), -1);
  EXPECT_EQ(CwFileUtil::GetCwFileLen(dir.Path().c_str()), -1) << "a folder has no length";
  EXPECT_EQ(CwFileUtil::GetCwFileLen(nullptr), -1);
  WriteBytes(path, "");
  EXPECT_EQ(CwFileUtil::GetCwFileLen(path.c_str()), 0);
}

TEST(FileUtilTest, ReadsCountWholeRecordsActuallyRead) {
  TempDir dir;
  const std::string path = dir.File("records.bin");
  WriteBytes(path, "0123456789abc");
  char buffer[32] = {};
  EXPECT_EQ(CwFileUtil::GetCwFileData(path.c_str(), 13, buffer, 5), 2);
  EXPECT_EQ(std::string(buffer, 13), "0123456789abc");
  EXPECT_EQ(CwFileUtil::GetCwFileData(path.c_str(), 13, buffer, 13), 1) << "a whole-file read reports 1";
  // The file is shorter than asked: the missing bytes are not counted.
  EXPECT_EQ(CwFileUtil::GetCwFileData(path.c_str(), 20, buffer, 20), 0);
  EXPECT_EQ(CwFileUtil::GetCwFileData(dir.File("missing").c_str(), 5, buffer, 5), 0);
  EXPECT_EQ(CwFileUtil::GetCwFileData(path.c_str(), 5, buffer, 0), 0);
  EXPECT_EQ(CwFileUtil::GetCwFileData(path.c_str(), -1, buffer, 1), 0);
  EXPECT_EQ(CwFileUtil::GetCwFileData(path.c_str(), 5, nullptr, 1), 0);
}

TEST(FileUtilTest, WritesReplaceTheWholeFile) {
  TempDir dir;
  const std::string path = dir.File("out.bin");
  WriteBytes(path, std::string(100, 'o'));
  EXPECT_EQ(CwFileUtil::PutCwFileData(path.c_str(), "new", 3), 1);
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(CwFileUtil::PutCwFileData(path.c_str(), nullptr, 0), 1);
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(CwFileUtil::PutCwFileData(dir.File("no/such/dir.bin").c_str(), "x", 1), 0);
  EXPECT_EQ(CwFileUtil::PutCwFileData(nullptr, "x", 1), 0);
  EXPECT_EQ(CwFileUtil::PutCwFileData(path.c_str(), nullptr, 4), 0);
}

TEST(FileUtilTest, Md5OfFilesInUpperCaseHex) {
  TempDir dir;
  const std::string path = dir.File("digest.bin");
  WriteBytes(path, "");
  EXPECT_EQ(CwFileUtil::GetFileMD5(path.c_str()), "D41D8CD98F00B204E9800998ECF8427E");
  WriteBytes(path, "abc");
  EXPECT_EQ(CwFileUtil::GetFileMD5(path.c_str()), "900150983CD24FB0D6963F7D28E17F72");
  // Exactly one block, and several blocks with a short tail.
  for (const std::size_t size : {std::size_t{16384}, std::size_t{40000}}) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    WriteBytes(path, bytes);
    EXPECT_EQ(CwFileUtil::GetFileMD5(path.c_str()), Md5Hex(bytes)) << size;
  }
  EXPECT_EQ(CwFileUtil::GetFileMD5(dir.File("missing").c_str()), "");
  EXPECT_EQ(CwFileUtil::GetFileMD5(dir.Path().c_str()), "");
  EXPECT_EQ(CwFileUtil::GetFileMD5(nullptr), "");
}

TEST(FileUtilTest, UuidsAreFreshAndWellFormed) {
  std::set<std::string> seen;
  for (int i = 0; i < 16; ++i) {
    const std::string uuid = CwFileUtil::GenUUID();
    ASSERT_EQ(uuid.size(), 36u);
    for (const std::size_t dash : {8, 13, 18, 23}) EXPECT_EQ(uuid[dash], '-') << uuid;
    EXPECT_EQ(uuid.find_first_not_of("0123456789abcdefABCDEF-"), std::string::npos) << uuid;
    seen.insert(uuid);
  }
  EXPECT_EQ(seen.size(), 16u);
}

}  // namespace
}  // namespace orbe
