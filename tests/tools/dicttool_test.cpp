#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "dictionary/dictionary_test_util.h"
#include "orbe/dictionary/cw_dictionary.h"
#include "orbe/platform/crypto.h"

namespace orbe {
namespace {

// Members of packed records are compared as copies (+member): gtest would
// bind a reference to a misaligned member.

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct RunResult {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs orbe-dicttool with arguments already quoted for the shell.
RunResult RunTool(const TempDir& dir, const std::string& arguments) {
  const std::string err_path = dir.File("stderr.txt");
  const std::string command =
      std::string("'") + ORBE_TEST_BIN_DIR + "/orbe-dicttool' " + arguments + " 2>'" + err_path + "'";
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0;) result.out.append(buffer, got);
  const int status = pclose(pipe);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = ReadBytes(err_path);
  return result;
}

// Schema texts are UTF-8 whatever the execution character set of this file.
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

constexpr const char8_t* kSchema =
    u8"\xEF\xBB\xBF# listed companies\n"
    u8"table   100000013 上市公司基本资料   key=1\r\n"
    u8"field 1 4 4 - 证券内码\n"
    u8"\n"
    u8"  field 2 2 20 -  \"证券 \\\"简称\\\"\"\n"
    u8"field 5 1 8 974 所属行业\n"
    u8"const 974 01 农业 parent= attr=A1\n"
    u8"table 7 \"\"\n"
    u8"const 974 02 \"制造=业\" parent=\"01\"\n"
    u8"const \"-\" \"\" x\n";

constexpr const char8_t* kNormalised =
    u8"table 100000013 上市公司基本资料 key=1\n"
    u8"field 1 4 4 - 证券内码\n"
    u8"field 2 2 20 - \"证券 \\\"简称\\\"\"\n"
    u8"field 5 1 8 974 所属行业\n"
    u8"table 7 \"\"\n"
    u8"const 974 01 农业 attr=A1\n"
    u8"const 974 02 \"制造=业\" parent=01\n"
    u8"const \"-\" - x\n";

TEST(DicttoolTest, DumpOfBuildIsTheNormalisedSchema) {
  TempDir dir;
  WriteBytes(dir.File("schema.txt"), Utf8(kSchema));
  const RunResult build = RunTool(dir, "build --compress '" + dir.File("schema.txt") + "' '" + dir.File("out") + "'");
  ASSERT_EQ(build.exit_code, 0) << build.err;
  const RunResult dump = RunTool(dir, "dump '" + dir.File("out") + "'");
  ASSERT_EQ(dump.exit_code, 0) << dump.err;
  EXPECT_EQ(dump.out, Utf8(kNormalised));
  EXPECT_EQ(dump.err, "");

  // The normalised text is a fixed point.
  WriteBytes(dir.File("normal.txt"), dump.out);
  ASSERT_EQ(RunTool(dir, "build '" + dir.File("normal.txt") + "' '" + dir.File("again") + "'").exit_code, 0);
  for (const char* name : {"/constinfo.idx", "/tableinfo.idx", "/fieldinfo.idx"}) {
    EXPECT_EQ(ReadBytes(dir.File("again") + name), ReadBytes(dir.File("out") + name)) << name;
  }
  EXPECT_EQ(Uncompress(ReadBytes(dir.File("out/fieldinfo.idx.compress")), 1 << 20),
            ReadBytes(dir.File("out/fieldinfo.idx")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("again/fieldinfo.idx.compress")));
}

TEST(DicttoolTest, BuiltFilesLoadAsTheSchemaSays) {
  TempDir dir;
  WriteBytes(dir.File("schema.txt"), Utf8(kSchema));
  ASSERT_EQ(RunTool(dir, "build '" + dir.File("schema.txt") + "' '" + dir.Path() + "'").exit_code, 0);
  EXPECT_EQ(ReadBytes(dir.File("tableinfo.idx")).size(), 2u * 75);
  EXPECT_EQ(ReadBytes(dir.File("fieldinfo.idx")).size(), 3u * 100);
  CwDictionary dictionary;
  ASSERT_TRUE(LoadDictionaryFiles(dictionary, dir.Path()));
  EXPECT_EQ(dictionary.FindTableRecord(100000013)->key_field, 1);
  tagMemFieldInfo field{};
  ASSERT_TRUE(dictionary.GetOneFieldInfo(100000013, "T005", &field));
  EXPECT_EQ(+field.offset, 24u);
  EXPECT_STREQ(field.const_class, "974");
  EXPECT_STREQ(field.name, "所属行业");  // GBK, as the module holds it
  EXPECT_STREQ(dictionary.GetConst("974", "02").text, "制造=业");
}

TEST(DicttoolTest, BadSchemasNameTheLine) {
  const struct {
    const char8_t* text;
    const char* message;
  } cases[] = {
      {u8"field 1 4 4 - x\n", "line 1: field before any table"},
      {u8"table 1 t\n# ok\nfield 1 4 70000 - x\n", "line 3: field number"},
      {u8"table 4294967296 t\n", "line 1: table number"},
      {u8"table 1 t key=256\n", "line 1: key must be"},
      {u8"table 1 一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一\n", "longer than 60 bytes"},
      {u8"const ABCDEFGHIJKLM 01 x\n", "longer than 12 bytes"},
      {u8"table 1 \"open\n", "line 1: unterminated quote"},
      {u8"table 1 \xff\n", "line 1: table name is not valid"},
      {u8"view 1 t\n", "line 1: unknown record"},
      {u8"const a b c colour=red\n", "line 1: unknown constant option"},
  };
  TempDir dir;
  for (const auto& test : cases) {
    WriteBytes(dir.File("bad.txt"), Utf8(test.text));
    const RunResult run = RunTool(dir, "build '" + dir.File("bad.txt") + "' '" + dir.File("out") + "'");
    EXPECT_EQ(run.exit_code, 1) << Utf8(test.text);
    EXPECT_NE(run.err.find(test.message), std::string::npos) << Utf8(test.text) << " -> " << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out/tableinfo.idx"))) << "nothing written for a bad schema";
  EXPECT_EQ(RunTool(dir, "dump '" + dir.File("nowhere") + "'").exit_code, 1);
  EXPECT_EQ(RunTool(dir, "build only-one-argument").exit_code, 2);
  EXPECT_EQ(RunTool(dir, "").exit_code, 2);
}

TEST(DicttoolTest, DumpWarnsAboutWhatTheTextCannotHold) {
  TempDir dir;
  WriteBytes(dir.File("schema.txt"), "table 1 t\nfield 1 4 4 - a\nfield 2 4 4 - b\n");
  ASSERT_EQ(RunTool(dir, "build '" + dir.File("schema.txt") + "' '" + dir.Path() + "'").exit_code, 0);
  // One field record more than the table claims.
  WriteBytes(dir.File("fieldinfo.idx"), ReadBytes(dir.File("fieldinfo.idx")) + std::string(100, '\0'));
  const RunResult dump = RunTool(dir, "dump '" + dir.Path() + "'");
  EXPECT_EQ(dump.exit_code, 0);
  EXPECT_EQ(dump.out, "table 1 t\nfield 1 4 4 - a\nfield 2 4 4 - b\n");
  EXPECT_NE(dump.err.find("1 field records belong to no table"), std::string::npos) << dump.err;
}

}  // namespace
}  // namespace orbe
