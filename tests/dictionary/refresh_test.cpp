#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dictionary/dictionary_refresh.h"
#include "dictionary/dictionary_test_util.h"
#include "dictionary/dictionary_writer.h"
#include "orbe/dataservice/orbe_client_session.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/crypto.h"

namespace orbe {
namespace {

// Members of packed records are compared as copies (+member): gtest would
// bind a reference to a misaligned member.

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;
using Names = std::vector<std::string>;

TEST(DictionaryRefreshTest, FilesToFetchDependOnTheMode) {
  EXPECT_EQ(DictionaryFilesToFetch(0), (Names{"constinfo.idx", "tableinfo.idx.compress", "fieldinfo.idx.compress"}));
  EXPECT_EQ(DictionaryFilesToFetch(1), (Names{"tableinfo.idx.compress", "fieldinfo.idx.compress"}));
  EXPECT_EQ(DictionaryFilesToFetch(3), (Names{"constinfo.idx", "ZQ_Sort_Export_0.xml", "tableinfo.idx.compress",
                                              "fieldinfo.idx.compress"}));
  EXPECT_EQ(PlainNameOf("fieldinfo.idx.compress"), "fieldinfo.idx");
  EXPECT_EQ(PlainNameOf("constinfo.idx"), "constinfo.idx");
}

TEST(DictionaryRefreshTest, ProgressTextsAndLocalDigests) {
  EXPECT_EQ(DictionaryProgressText("constinfo.idx"), "更新文件常量表");
  EXPECT_EQ(DictionaryProgressText("tableinfo.idx.compress"), "更新文件表之表");
  EXPECT_EQ(DictionaryProgressText("fieldinfo.idx.compress"), "更新文件字段表");
  EXPECT_EQ(DictionaryFileLabel("ZQ_Sort_Export_0.xml"), "字段表") << "any other file";

  TempDir dir;
  WriteBytes(dir.File("tableinfo.idx"), "abc");
  WriteBytes(dir.File("tableinfo.idx.compress"), "other bytes");
  const std::vector<DictionaryDownload> plan = PlanDictionaryDownloads(dir.Path(), 0);
  ASSERT_EQ(plan.size(), 3u);
  EXPECT_EQ(plan[0].local_digest, "") << "no local constant file";
  EXPECT_EQ(plan[1].listed_name, "tableinfo.idx.compress");
  EXPECT_EQ(plan[1].local_digest, "900150983CD24FB0D6963F7D28E17F72") << "digest of the plain file";
  EXPECT_EQ(plan[1].progress_text, "更新文件表之表");
}

TEST(DictionaryRefreshTest, CompressedDownloadsBecomePlainFiles) {
  TempDir dir;
  const std::string table_bytes(750, 't');
  WriteBytes(dir.File("tableinfo.idx.compress"), Compress(table_bytes));
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "tableinfo.idx.compress"), PostProcessResult::kDecompressed);
  EXPECT_EQ(ReadBytes(dir.File("tableinfo.idx")), table_bytes);

  // Bytes that are no zlib stream reach the plain name as they came.
  WriteBytes(dir.File("fieldinfo.idx.compress"), "plain field bytes");
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "fieldinfo.idx.compress"), PostProcessResult::kCopied);
  EXPECT_EQ(ReadBytes(dir.File("fieldinfo.idx")), "plain field bytes");

  // Files under their own names are inflated in place, or left as they are.
  WriteBytes(dir.File("constinfo.idx"), Compress("constants"));
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "constinfo.idx"), PostProcessResult::kDecompressed);
  EXPECT_EQ(ReadBytes(dir.File("constinfo.idx")), "constants");
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "constinfo.idx"), PostProcessResult::kCopied);
  EXPECT_EQ(ReadBytes(dir.File("constinfo.idx")), "constants");
}

TEST(DictionaryRefreshTest, EmptyMissingAndOversizedDownloadsAreLeftAlone) {
  TempDir dir;
  WriteBytes(dir.File("tableinfo.idx"), "previous");
  WriteBytes(dir.File("tableinfo.idx.compress"), "");
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "tableinfo.idx.compress"), PostProcessResult::kLeftAlone);
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "fieldinfo.idx.compress"), PostProcessResult::kLeftAlone);
  WriteBytes(dir.File("tableinfo.idx.compress"), std::string(kDictionaryFileLimit, 'x'));
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "tableinfo.idx.compress"), PostProcessResult::kLeftAlone);
  EXPECT_EQ(ReadBytes(dir.File("tableinfo.idx")), "previous");

  // Inflating to exactly 4 MiB fits; one byte more does not, so the stream is copied.
  WriteBytes(dir.File("tableinfo.idx.compress"), Compress(std::string(kDictionaryFileLimit, '\0')));
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "tableinfo.idx.compress"), PostProcessResult::kDecompressed);
  EXPECT_EQ(ReadBytes(dir.File("tableinfo.idx")).size(), kDictionaryFileLimit);
  const std::string too_big = Compress(std::string(kDictionaryFileLimit + 1, '\0'));
  WriteBytes(dir.File("tableinfo.idx.compress"), too_big);
  EXPECT_EQ(PostProcessDownloadedFile(dir.Path(), "tableinfo.idx.compress"), PostProcessResult::kCopied);
  EXPECT_EQ(ReadBytes(dir.File("tableinfo.idx")), too_big);
}

TEST(DictionaryRefreshTest, DownloadedDictionaryLoads) {
  DictionarySchema schema;
  schema.tables.push_back({100000013, 1, "上市公司基本资料", {{1, 4, 4, "", "证券内码"}, {2, 2, 20, "", "证券简称"}}});
  schema.constants.push_back({"974", "01", "农业", "", ""});
  const DictionaryFiles files = BuildDictionaryFiles(schema);
  TempDir dir;
  WriteBytes(dir.File("constinfo.idx"), Compress(files.constants));
  WriteBytes(dir.File("tableinfo.idx.compress"), Compress(files.tables));
  WriteBytes(dir.File("fieldinfo.idx.compress"), Compress(files.fields));
  PostProcessDownloadedFiles(dir.Path());

  OrbeClientSession session;
  ASSERT_TRUE(CwFileUtil::LoadCWSysData(&session, dir.Path().c_str()));
  tagMemFieldInfo field{};
  ASSERT_TRUE(CwFileUtil::GetOneFieldInfo(&session, 100000013, "T002", &field));
  EXPECT_EQ(+field.offset, 4u);
  EXPECT_STREQ(CwFileUtil::GetConst(&session, "974", "01").text, "农业");
}

}  // namespace
}  // namespace orbe
