#include "orbe/platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "orbe/platform/file.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orbe_profile_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    path_ = folder_ + "/test.ini";
  }
  void TearDown() override { fs::remove_all(folder_); }

  void Put(const std::string& bytes) { ASSERT_TRUE(orbe::WriteFileAtomically(path_, bytes)); }
  std::string Content() const { return orbe::ReadWholeFile(path_).value_or("<missing>"); }

  std::string Get(const char* app, const char* key, const char* def, DWORD size = 256) {
    std::string buffer(size, '#');
    const DWORD n = GetPrivateProfileStringA(app, key, def, buffer.data(), size, path_.c_str());
    last_return_ = n;
    return buffer.substr(0, std::strlen(buffer.c_str()));
  }

  // The raw buffer after a listing call, for checking the NUL layout.
  std::string List(const char* app, DWORD size) {
    std::string buffer(size, '#');
    last_return_ = GetPrivateProfileStringA(app, nullptr, "dflt", buffer.data(), size, path_.c_str());
    return buffer;
  }

  std::string folder_;
  std::string path_;
  DWORD last_return_ = 0;
};

constexpr char kWindowsSample[] =
    "[section1]\r\n"
    "name1=val1\r\n"
    "name2=\"val2\"\r\n"
    "name3\r\n"
    "name4=a\r\n"
    "[section2]\r\n";

TEST_F(ProfileTest, MissingFileGivesTheDefaultAndAWriteCreatesIt) {
  EXPECT_EQ(Get("s", "k", "default"), "default");
  EXPECT_EQ(last_return_, 7u);
  EXPECT_EQ(Get("s", "k", "default  "), "default");  // trailing spaces trimmed
  EXPECT_EQ(Get("s", "k", "  lead"), "  lead");
  EXPECT_EQ(Get("s", "k", "tab\t"), "tab\t");  // only spaces are trimmed
  EXPECT_EQ(Get("s", "k", "    "), "");
  EXPECT_EQ(Get("s", "k", nullptr), "");
  EXPECT_EQ(last_return_, 0u);
  EXPECT_EQ(GetPrivateProfileIntA("s", "k", -5, path_.c_str()), static_cast<UINT>(-5));

  // Deleting from a missing file succeeds without creating it.
  EXPECT_TRUE(WritePrivateProfileStringA("s", "k", nullptr, path_.c_str()));
  EXPECT_TRUE(WritePrivateProfileStringA("s", nullptr, nullptr, path_.c_str()));
  EXPECT_FALSE(orbe::FileExists(path_));

  EXPECT_TRUE(WritePrivateProfileStringA("s", "k", "v", path_.c_str()));
  EXPECT_EQ(Content(), "[s]\r\nk=v\r\n");
  EXPECT_EQ(Get("S", "K", "default"), "v");

  // A missing folder is not created.
  const std::string nested = folder_ + "/no/such/dir.ini";
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", nested.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", nullptr));
}

TEST_F(ProfileTest, ValueLookupRules) {
  Put("[Main]\r\n"
      "  Spaced Key  =   padded value   \r\n"
      "dq=\"quoted\"\r\n"
      "sq='single'\r\n"
      "mixed=\"no'\r\n"
      "inner=a \"b\"\r\n"
      "; comment=1\r\n"
      "bare\r\n"
      "empty=\r\n"
      "semi=x ; not a comment\r\n");
  EXPECT_EQ(Get("main", "SPACED KEY", "d"), "padded value");
  EXPECT_EQ(Get(" Main ", " spaced key ", "d"), "padded value");
  EXPECT_EQ(Get("Main", "dq", "d"), "quoted");
  EXPECT_EQ(Get("Main", "sq", "d"), "single");
  EXPECT_EQ(Get("Main", "mixed", "d"), "\"no'");
  EXPECT_EQ(Get("Main", "inner", "d"), "a \"b\"");
  EXPECT_EQ(Get("Main", "; comment", "d"), "d");
  EXPECT_EQ(Get("Main", "bare", "d"), "d");
  EXPECT_EQ(Get("Main", "empty", "d"), "");
  EXPECT_EQ(last_return_, 0u);
  EXPECT_EQ(Get("Main", "semi", "d"), "x ; not a comment");
  EXPECT_EQ(Get("Main", "", "d"), "d");
  EXPECT_EQ(Get("", "dq", "d"), "d");
  EXPECT_EQ(Get("Other", "dq", "d"), "d");

  // LF files read as CRLF files do.
  Put("[Main]\nk = v \n");
  EXPECT_EQ(Get("main", "k", "d"), "v");
}

// The section reader gives, key for key, what the one-key calls give.
TEST_F(ProfileTest, SectionReaderAgreesWithTheOneKeyCalls) {
  Put("[Main]\r\n"
      "  Spaced Key  =   padded value   \r\n"
      "dq=\"quoted\"\r\n"
      "n=0x1F tail\r\n"
      "neg=-7\r\n"
      "bare\r\n"
      "empty=\r\n"
      "gbk=a\xD6\xD0\xCE\xC4\r\n"
      "[main]\r\n"
      "dq=second section of the name\r\n");
  const char* const kSections[] = {"Main", " main ", "Other", ""};
  const char* const kKeys[] = {"spaced key", " SPACED KEY ", "dq", "n", "neg", "bare", "empty", "gbk", "missing", ""};
  const char* const kDefaults[] = {"def  ", nullptr};
  const DWORD kSizes[] = {256, 4, 3, 1};
  for (const char* section : kSections) {
    const orbe::ProfileSectionReader reader(path_, section);
    for (const char* key : kKeys) {
      SCOPED_TRACE(std::string(section) + "/" + key);
      EXPECT_EQ(reader.Int(key, -3), orbe::ProfileInt(path_, section, key, -3));
      for (const char* def : kDefaults) {
        for (const DWORD size : kSizes) {
          std::string read(size, '#');
          const DWORD n = reader.String(key, def, read.data(), size);
          const std::string expected = Get(section, key, def, size);
          EXPECT_EQ(read.substr(0, std::strlen(read.c_str())), expected);
          EXPECT_EQ(n, last_return_);
        }
      }
    }
  }
  // It reads the copy it was made from.
  const orbe::ProfileSectionReader before(path_, "Main");
  Put("[Main]\r\ndq=changed\r\n");
  char value[32] = {};
  before.String("dq", "", value, sizeof(value));
  EXPECT_STREQ(value, "quoted");
  orbe::ProfileSectionReader(path_, "Main").String("dq", "", value, sizeof(value));
  EXPECT_STREQ(value, "changed");
}

TEST_F(ProfileTest, ValueTruncationMatchesWindows) {
  Put(kWindowsSample);
  EXPECT_EQ(Get("section1", "name1", "d", 4), "val");
  EXPECT_EQ(last_return_, 3u);
  EXPECT_EQ(Get("section1", "name1", "d", 5), "val1");
  EXPECT_EQ(last_return_, 4u);
  EXPECT_EQ(Get("section1", "name1", "d", 1), "");
  EXPECT_EQ(last_return_, 0u);
  EXPECT_EQ(Get("section1", "missing", "default", 4), "def");  // the default is cut the same way
  EXPECT_EQ(last_return_, 3u);

  char untouched = 'Q';
  EXPECT_EQ(GetPrivateProfileStringA("section1", "name1", "d", &untouched, 0, path_.c_str()), 0u);
  EXPECT_EQ(untouched, 'Q');
  EXPECT_EQ(GetPrivateProfileStringA("section1", "name1", "d", nullptr, 10, path_.c_str()), 0u);

  // A double-byte character is never split; the result still reports size-1.
  Put("[s]\r\nk=a\xD6\xD0\xCE\xC4\r\n");
  EXPECT_EQ(Get("s", "k", "d", 4), "a\xD6\xD0");
  EXPECT_EQ(last_return_, 3u);
  EXPECT_EQ(Get("s", "k", "d", 3), "a");
  EXPECT_EQ(last_return_, 2u);
}

TEST_F(ProfileTest, ListingsAndTheirTruncation) {
  Put(kWindowsSample);
  EXPECT_EQ(List(nullptr, 32).substr(0, 19), std::string("section1\0section2\0\0", 19));
  EXPECT_EQ(last_return_, 18u);
  EXPECT_EQ(List(nullptr, 16), std::string("section1\0secti\0\0", 16));
  EXPECT_EQ(last_return_, 14u);

  // Key listing leaves out "name3", which has no '='.
  EXPECT_EQ(List("section1", 32).substr(0, 19), std::string("name1\0name2\0name4\0\0", 19));
  EXPECT_EQ(last_return_, 18u);
  EXPECT_EQ(List("section1", 16), std::string("name1\0name2\0na\0\0", 16));
  EXPECT_EQ(last_return_, 14u);
  EXPECT_EQ(List("section1", 19), std::string("name1\0name2\0name4\0\0", 19));  // exact fit
  EXPECT_EQ(last_return_, 18u);
  EXPECT_EQ(List("section1", 18), std::string("name1\0name2\0name\0\0", 18));
  EXPECT_EQ(last_return_, 16u);
  EXPECT_EQ(List("section1", 2), std::string("\0\0", 2));
  EXPECT_EQ(last_return_, 0u);

  // A section without keys, or none at all, gives the default instead.
  EXPECT_EQ(List("section2", 10), std::string("dflt\0\0####", 10));
  EXPECT_EQ(last_return_, 4u);
  EXPECT_EQ(List("nosuch", 10).substr(0, 6), std::string("dflt\0\0", 6));

  // The whole section, quotes kept, bare keys included.
  std::string buffer(64, '#');
  DWORD n = GetPrivateProfileSectionA("SECTION1", buffer.data(), 64, path_.c_str());
  EXPECT_EQ(n, 38u);
  EXPECT_EQ(buffer.substr(0, n + 1), std::string("name1=val1\0name2=\"val2\"\0name3\0name4=a\0\0", 39));
  n = GetPrivateProfileSectionA("section1", buffer.data(), 20, path_.c_str());
  EXPECT_EQ(n, 18u);
  EXPECT_EQ(buffer.substr(0, 20), std::string("name1=val1\0name2=\"\0\0", 20));
  n = GetPrivateProfileSectionA("nosuch", buffer.data(), 64, path_.c_str());
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(buffer.substr(0, 2), std::string("\0\0", 2));

  n = GetPrivateProfileSectionNamesA(buffer.data(), 64, path_.c_str());
  EXPECT_EQ(buffer.substr(0, n + 1), std::string("section1\0section2\0\0", 19));
  EXPECT_EQ(orbe::ProfileSectionNames(path_), (Names{"section1", "section2"}));
  EXPECT_EQ(orbe::ProfileKeys(path_, "Section1"), (Names{"name1", "name2", "name4"}));
  EXPECT_EQ(orbe::ProfileSection(path_, "section1"),
            (Names{"name1=val1", "name2=\"val2\"", "name3", "name4=a"}));
  EXPECT_TRUE(orbe::ProfileSectionNames(folder_ + "/missing.ini").empty());
}

TEST_F(ProfileTest, DuplicatesFirstMatchAnswersListingsShowEveryHeader) {
  Put("[dup]\r\nk=first\r\nk=second\r\n[other]\r\n[DUP]\r\nk=third\r\nlate=1\r\n");
  EXPECT_EQ(Get("dup", "k", "d"), "first");
  EXPECT_EQ(Get("dup", "late", "d"), "d");
  EXPECT_EQ(orbe::ProfileSectionNames(path_), (Names{"dup", "other", "DUP"}));
  EXPECT_EQ(orbe::ProfileKeys(path_, "dup"), (Names{"k", "k"}));

  // Deleting the section removes every copy, so nothing older resurfaces.
  EXPECT_TRUE(WritePrivateProfileStringA("dup", nullptr, nullptr, path_.c_str()));
  EXPECT_EQ(Content(), "[other]\r\n");
}

TEST_F(ProfileTest, Integers) {
  Put("[n]\r\na=12\r\nb=  -3 "
      "apples\r\nc=0x10\r\nd=abc\r\ne=\r\nf=\"7\"\r\ng=99999999999\r\nh=-99999999999\r\n"
      "i=\" \"\r\nj=4294967295\r\n");
  const char* file = path_.c_str();
  EXPECT_EQ(GetPrivateProfileIntA("n", "a", 5, file), 12u);
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("n", "b", 5, file)), -3);
  EXPECT_EQ(GetPrivateProfileIntA("n", "c", 5, file), 16u);
  EXPECT_EQ(GetPrivateProfileIntA("n", "d", 5, file), 0u);  // present but not a number
  EXPECT_EQ(GetPrivateProfileIntA("n", "e", 5, file), 5u);  // empty: the default
  EXPECT_EQ(GetPrivateProfileIntA("n", "f", 5, file), 7u);
  EXPECT_EQ(GetPrivateProfileIntA("n", "g", 5, file), 1215752191u);  // wrapped modulo 2^32
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("n", "h", 5, file)), -1215752191);
  EXPECT_EQ(GetPrivateProfileIntA("n", "i", 5, file), 0u);  // a quoted blank is a value
  EXPECT_EQ(GetPrivateProfileIntA("n", "missing", 5, file), 5u);
  EXPECT_EQ(GetPrivateProfileIntA("n", nullptr, 5, file), 5u);
  EXPECT_EQ(GetPrivateProfileIntA(nullptr, "a", 5, file), 5u);

  EXPECT_EQ(orbe::ProfileInt(path_, "n", "a", 5), 12);
  EXPECT_EQ(orbe::ProfileInt(path_, "n", "j", 5), -1);  // the 32 bits as an int
  EXPECT_EQ(orbe::ProfileInt(path_, "n", "h", 5), -1215752191);
  EXPECT_EQ(orbe::ProfileInt(path_, "n", "e", 5), 5);
}

// Each case as Windows answers it.
TEST_F(ProfileTest, ReadsAsWindowsReadsThem) {
  struct Case {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
  } const cases[] = {
      // Lines ending in a lone CR.
      {"[a]\rk=1\rj = 2\r[b]\rz=3", "a", "j", "2"},
      {"[a]\rk=1\rj = 2\r[b]\rz=3", "b", "z", "3"},
      {"[a]\r\rk=1\r\n[b]\nz=3\r", "a", "k", "1"},
      // "[]" and "=value" are found by an empty name.
      {"[]\r\n=top\r\nk=1\r\n[s]\r\n=empty key\r\n", "", "", "top"},
      {"[]\r\n=top\r\nk=1\r\n[s]\r\n=empty key\r\n", "", "k", "1"},
      {"[]\r\n=top\r\nk=1\r\n[s]\r\n=empty key\r\n", "s", "", "empty key"},
      {"[]\r\n=top\r\nk=1\r\n[s]\r\n=empty key\r\n", "  ", "  k ", "1"},
      // Spaces around the arguments are trimmed, tabs are not.
      {"[s]\r\nk=v\r\n", " s ", " k ", "v"},
      {"[s]\r\nk=v\r\n", "\ts", "k", "dflt"},
      {"[s]\r\nk=v\r\n", "s", "k\t", "dflt"},
  };
  for (const Case& c : cases) {
    Put(c.file);
    EXPECT_EQ(Get(c.section, c.key, "dflt"), c.expected) << c.file << " [" << c.section << "] " << c.key;
  }

  // The key list of "[]" and of a section holding "=value": the empty name
  // is an item like any other.
  Put("[]\r\n=top\r\nk=1\r\n[s]\r\n=empty key\r\nx=2\r\n");
  EXPECT_EQ(List("", 8).substr(0, 4), std::string("\0k\0\0", 4));
  EXPECT_EQ(last_return_, 3u);
  EXPECT_EQ(List("s", 8).substr(0, 4), std::string("\0x\0\0", 4));
  EXPECT_EQ(orbe::ProfileKeys(path_, ""), (Names{"", "k"}));
  EXPECT_EQ(orbe::ProfileSectionNames(path_), (Names{"s"}));
}

TEST_F(ProfileTest, IntegersWrapModulo2To32BothWays) {
  struct Case {
    const char* value;
    UINT expected;
  } const cases[] = {
      {"4294967295", 4294967295u}, {"4294967296", 0u},          {"4294967297", 1u},
      {"-1", 4294967295u},         {"-4294967297", 4294967295u}, {"-2147483649", 2147483647u},
      {"0x1FFFFFFFF", 4294967295u}, {"99999999999", 1215752191u},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(WritePrivateProfileStringA("n", "v", c.value, path_.c_str()));
    EXPECT_EQ(GetPrivateProfileIntA("n", "v", 5, path_.c_str()), c.expected) << c.value;
    EXPECT_EQ(orbe::ProfileInt(path_, "n", "v", 5), static_cast<int>(c.expected)) << c.value;
  }
}

TEST_F(ProfileTest, SectionNameListsAsWindowsFillsThem) {
  // A missing file: one NUL and nothing past it, by both entry points.
  std::string buffer(6, '#');
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buffer.data(), 6, path_.c_str()), 0u);
  EXPECT_EQ(buffer, std::string("\0#####", 6));
  EXPECT_EQ(List(nullptr, 6), std::string("\0#####", 6));
  EXPECT_EQ(last_return_, 0u);

  // A buffer exactly as long as the list is too small (size-2); one byte
  // more holds it.
  Put("[ab]\r\n[c]\r\n");
  EXPECT_EQ(List(nullptr, 7), std::string("ab\0c\0\0#", 7));
  EXPECT_EQ(last_return_, 5u);
  EXPECT_EQ(List(nullptr, 6), std::string("ab\0c\0\0", 6));
  EXPECT_EQ(last_return_, 4u);
  buffer.assign(6, '#');
  EXPECT_EQ(GetPrivateProfileSectionNamesA(buffer.data(), 6, path_.c_str()), 4u);
}

TEST_F(ProfileTest, WritesAsWindowsWritesThem) {
  struct Case {
    const char* name;
    const char* before;
    const char* section;
    const char* key;    // null deletes the section
    const char* value;  // null deletes the key
    const char* after;
  } const cases[] = {
      {"value kept verbatim", "[s]\r\n", "s", "k", "  two  spaces ", "[s]\r\nk=  two  spaces \r\n"},
      {"rewrite keeps a missing last line end", "[s]\r\nk=1", "s", "k", "2", "[s]\r\nk=2"},
      {"rewrite keeps LF", "[s]\nk=1\n", "s", "k", "2", "[s]\nk=2\n"},
      {"rewrite keeps a lone CR", "[s]\rk=1\r", "s", "k", "2", "[s]\rk=2\r"},
      {"rewrite keeps a last lone CR", "[s]\r\nk=1\r", "s", "k", "2", "[s]\r\nk=2\r"},
      {"CR file gets CR lines", "[a]\rk=1\r[b]\rz=3", "a", "n", "4", "[a]\rk=1\rn=4\r[b]\rz=3"},
      {"new key below the comments", "[s]\r\nk=1\r\n; about k\r\n\r\n[t]\r\n", "s", "n", "2",
       "[s]\r\nk=1\r\n; about k\r\nn=2\r\n\r\n[t]\r\n"},
      {"new key below a lone comment", "[s]\r\n; note\r\n[t]\r\n", "s", "n", "2",
       "[s]\r\n; note\r\nn=2\r\n[t]\r\n"},
      {"deleted section keeps its comments", "[s]\r\n; note\r\nk=1\r\n; more\r\nbare\r\n\r\n[t]\r\nz=1\r\n", "s",
       nullptr, nullptr, "; note\r\n; more\r\n[t]\r\nz=1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Put(c.before);
    EXPECT_TRUE(WritePrivateProfileStringA(c.section, c.key, c.value, path_.c_str()));
    EXPECT_EQ(Content(), c.after);
  }
  // A name with a tab at an end is refused: it would read back as another.
  Put("[s]\r\nk=1\r\n");
  EXPECT_FALSE(WritePrivateProfileStringA("s", "\tk", "2", path_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("s\t", "k", "2", path_.c_str()));
  EXPECT_EQ(Content(), "[s]\r\nk=1\r\n");
  // A value written with its blanks reads back trimmed, as every value does.
  Put("[s]\r\n");
  WritePrivateProfileStringA("s", "k", "  v  ", path_.c_str());
  EXPECT_EQ(Get("s", "k", "d"), "v");
}

TEST_F(ProfileTest, WritesPlaceKeysAndKeepEveryOtherByte) {
  Put("; head comment\r\n"
      "[a]\r\n"
      "x = 1\r\n"
      "unknown line without equals\r\n"
      "; trailing comment\r\n"
      "\r\n"
      "[b]\r\n"
      "y=2\r\n");
  ASSERT_TRUE(WritePrivateProfileStringA("A", "new", "v", path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("a", "X", "10", path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("c", "z", "3", path_.c_str()));
  EXPECT_EQ(Content(),
            "; head comment\r\n"
            "[a]\r\n"
            "x=10\r\n"
            "unknown line without equals\r\n"
            "; trailing comment\r\n"
            "new=v\r\n"
            "\r\n"
            "[b]\r\n"
            "y=2\r\n"
            "[c]\r\n"
            "z=3\r\n");

  ASSERT_TRUE(WritePrivateProfileStringA("a", "x", nullptr, path_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("b", nullptr, nullptr, path_.c_str()));
  EXPECT_EQ(Content(),
            "; head comment\r\n"
            "[a]\r\n"
            "unknown line without equals\r\n"
            "; trailing comment\r\n"
            "new=v\r\n"
            "\r\n"
            "[c]\r\n"
            "z=3\r\n");

  // An LF file stays LF.
  Put("[a]\nx=1\n");
  ASSERT_TRUE(WritePrivateProfileStringA("a", "y", "2", path_.c_str()));
  EXPECT_EQ(Content(), "[a]\nx=1\ny=2\n");
}

TEST_F(ProfileTest, UnchangedWritesAndRejectedWritesLeaveTheFileAlone) {
  Put("[a]\r\nx=1\r\n");
  const auto before = orbe::IdentifyFile(path_);
  ASSERT_TRUE(before);
  EXPECT_TRUE(WritePrivateProfileStringA("a", "x", "1", path_.c_str()));
  EXPECT_EQ(orbe::IdentifyFile(path_), before);  // not rewritten

  EXPECT_FALSE(WritePrivateProfileStringA("a", "x", "1\r\n[evil]\r\nk=v", path_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("a", "k=v", "1", path_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("", "k", "1", path_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "k", "1", path_.c_str()));
  EXPECT_FALSE(WritePrivateProfileSectionA("a", "ok=1\0[evil]\0", path_.c_str()));
  EXPECT_EQ(Content(), "[a]\r\nx=1\r\n");

  // The documented cache flush: reported as FALSE, changes nothing.
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()));
  EXPECT_EQ(Get("a", "x", "d"), "1");
}

TEST_F(ProfileTest, WriteSectionReplacesTheSection) {
  Put("[a]\r\nx=1\r\n; note\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
  ASSERT_TRUE(WritePrivateProfileSectionA("A", "p=1\0q = 2\0bare\0", path_.c_str()));
  EXPECT_EQ(Content(), "[a]\r\np=1\r\nq = 2\r\nbare\r\n\r\n[b]\r\nz=3\r\n");
  EXPECT_EQ(Get("a", "q", "d"), "2");
  EXPECT_EQ(Get("a", "x", "d"), "d");
  ASSERT_TRUE(WritePrivateProfileSectionA("new", "k=v\0", path_.c_str()));
  EXPECT_EQ(Get("new", "k", "d"), "v");
  ASSERT_TRUE(WritePrivateProfileSectionA("a", nullptr, path_.c_str()));
  EXPECT_EQ(Content(), "[b]\r\nz=3\r\n[new]\r\nk=v\r\n");
}

TEST_F(ProfileTest, GbkFileRoundTripsByteForByte) {
  // Literals here are GBK bytes (the build's execution character set).
  const std::string original =
      "; 报表设置 (中文注释)\r\n"
      "[报表]\r\n"
      "名称=资产负债表\r\n"
      "标题 = \"合并 报表\"\r\n"
      "\r\n"
      "[其他]\r\n"
      "代码=600000\r\n";
  ASSERT_EQ(std::string("报表"), "\xB1\xA8\xB1\xED") << "the test must be compiled to GBK";
  Put(original);
  EXPECT_EQ(Get("报表", "名称", "d"), "资产负债表");
  EXPECT_EQ(Get("报表", "标题", "d"), "合并 报表");
  EXPECT_EQ(orbe::ProfileString(path_, "其他", "代码"), "600000");

  ASSERT_TRUE(WritePrivateProfileStringA("其他", "new", "1", path_.c_str()));
  EXPECT_EQ(Content(), original + "new=1\r\n");
  ASSERT_TRUE(orbe::WriteProfileString(path_, "报表", "单位", "万元"));
  const std::string expected =
      "; 报表设置 (中文注释)\r\n"
      "[报表]\r\n"
      "名称=资产负债表\r\n"
      "标题 = \"合并 报表\"\r\n"
      "单位=万元\r\n"
      "\r\n"
      "[其他]\r\n"
      "代码=600000\r\n"
      "new=1\r\n";
  EXPECT_EQ(Content(), expected);
}

TEST_F(ProfileTest, LongLinesHaveNoLimit) {
  const std::string long_value(200000, 'v');
  const std::string long_key(5000, 'k');
  ASSERT_TRUE(orbe::WriteProfileString(path_, "s", long_key, long_value));
  EXPECT_EQ(orbe::ProfileString(path_, "s", long_key), long_value);
  EXPECT_EQ(Get("s", long_key.c_str(), "d", 300000).size(), long_value.size());
  EXPECT_EQ(last_return_, long_value.size());
  EXPECT_EQ(Get("s", long_key.c_str(), "d", 10), std::string(9, 'v'));
  EXPECT_EQ(last_return_, 9u);
}

TEST_F(ProfileTest, ReadsSeeChangesMadeBehindTheCache) {
  Put("[s]\r\nk=old\r\n");
  EXPECT_EQ(Get("s", "k", "d"), "old");
  Put("[s]\r\nk=newer\r\n");
  EXPECT_EQ(Get("s", "k", "d"), "newer");
  ASSERT_TRUE(WritePrivateProfileStringA("s", "k", "ours", path_.c_str()));
  EXPECT_EQ(Get("s", "k", "d"), "ours");
  fs::remove(path_);
  EXPECT_EQ(Get("s", "k", "d"), "d");
}

// Inside a read scope the file is looked at once: a change behind it waits
// for the scope's end, our own writes show at once, other threads and files
// are not affected, and an inner scope hands the outer one back.
TEST_F(ProfileTest, AReadScopeKeepsItsCopyButShowsOurWrites) {
  Put("[s]\r\nk=old\r\n");
  const std::string other = folder_ + "/other.ini";
  ASSERT_TRUE(orbe::WriteFileAtomically(other, "[s]\r\nk=first\r\n"));
  {
    const orbe::ProfileReadScope scope(path_);
    Put("[s]\r\nk=behind\r\n");
    EXPECT_EQ(Get("s", "k", "d"), "old");
    std::string seen_elsewhere;
    std::thread([&] { seen_elsewhere = orbe::ProfileString(path_, "s", "k"); }).join();
    EXPECT_EQ(seen_elsewhere, "behind");
    ASSERT_TRUE(WritePrivateProfileStringA("s", "mine", "1", path_.c_str()));
    EXPECT_EQ(Get("s", "mine", "d"), "1");
    EXPECT_EQ(Get("s", "k", "d"), "behind");  // the write read the file first
    {
      const orbe::ProfileReadScope inner(other);
      ASSERT_TRUE(orbe::WriteFileAtomically(other, "[s]\r\nk=second\r\n"));
      EXPECT_EQ(orbe::ProfileString(other, "s", "k"), "first");
      EXPECT_EQ(Get("s", "k", "d"), "behind");
    }
    Put("[s]\r\nk=later\r\n");
    EXPECT_EQ(Get("s", "k", "d"), "behind");
    EXPECT_EQ(orbe::ProfileString(other, "s", "k"), "second");
  }
  EXPECT_EQ(Get("s", "k", "d"), "later");
}

TEST_F(ProfileTest, AFileThatCannotBeReadIsNeverReplaced) {
  // A folder stands in for an unreadable file (permissions do not bind root).
  ASSERT_TRUE(fs::create_directory(path_));
  EXPECT_EQ(Get("s", "k", "d"), "d");
  EXPECT_FALSE(WritePrivateProfileStringA("s", "k", "v", path_.c_str()));
  EXPECT_TRUE(fs::is_directory(path_));
}

TEST_F(ProfileTest, ConcurrentWritersLoseNothing) {
  constexpr int kThreads = 4;
  constexpr int kKeysEach = 25;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([this, t] {
      for (int k = 0; k < kKeysEach; ++k) {
        const std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
        EXPECT_TRUE(
            orbe::WriteProfileString(path_, "s" + std::to_string(k % 3), key, std::to_string(t * 100 + k)));
        EXPECT_EQ(orbe::ProfileString(path_, "s" + std::to_string(k % 3), key), std::to_string(t * 100 + k));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  orbe::FlushProfileCache();
  for (int t = 0; t < kThreads; ++t) {
    for (int k = 0; k < kKeysEach; ++k) {
      const std::string key = "t" + std::to_string(t) + "k" + std::to_string(k);
      EXPECT_EQ(orbe::ProfileInt(path_, "s" + std::to_string(k % 3), key, -1), t * 100 + k) << key;
    }
  }
  size_t keys = 0;
  for (const std::string& section : orbe::ProfileSectionNames(path_))
    keys += orbe::ProfileKeys(path_, section).size();
  EXPECT_EQ(keys, static_cast<size_t>(kThreads * kKeysEach));
}

}  // namespace
