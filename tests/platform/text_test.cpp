#include "orbe/platform/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace orbe {
namespace {

// UTF-8 bytes regardless of the execution character set.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(TextTest, LiteralsAreGbkAndRoundTrip) {
  const std::string gbk = "中文报表";
  EXPECT_EQ(gbk, "\xD6\xD0\xCE\xC4\xB1\xA8\xB1\xED");
  EXPECT_EQ(GbkToUtf8(gbk), U8(u8"中文报表"));
  EXPECT_EQ(Utf8ToGbk(U8(u8"中文报表")), gbk);
  EXPECT_EQ(GbkToUtf8Strict(gbk), U8(u8"中文报表"));
  EXPECT_EQ(GbkToUtf8(""), "");
}

TEST(TextTest, InvalidInputIsReplacedOrRejected) {
  // A lone lead byte at the end and a byte GBK never uses.
  EXPECT_FALSE(GbkToUtf8Strict("ab\xD6").has_value());
  EXPECT_EQ(GbkToUtf8("ab\xD6"), "ab\xEF\xBF\xBD");
  EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a\xEF\xBF\xBD" "b");
  // A character outside GBK becomes one '?', a broken sequence one per byte.
  EXPECT_FALSE(Utf8ToGbkStrict(U8(u8"x😀y")).has_value());
  EXPECT_EQ(Utf8ToGbk(U8(u8"x😀y")), "x?y");
  EXPECT_EQ(Utf8ToGbk("a\xC3"), "a?");
}

TEST(TextTest, CaseMappingLeavesDoubleByteCharactersAlone) {
  // 0xD6 0x61 is not valid GBK text, but trail bytes in the ASCII letter
  // range do occur (e.g. 0x81 0x61); they must not be case-mapped.
  const std::string mixed = "ab\x81\x61" "cD";
  EXPECT_EQ(AsciiUpper(mixed), "AB\x81\x61" "CD");
  EXPECT_EQ(AsciiLower("AB\x81\x41" "Cd"), "ab\x81\x41" "cd");
  EXPECT_TRUE(EqualsIgnoreAsciiCase("CwSys", "CWSYS"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("\x81\x61", "\x81\x41"));
  EXPECT_FALSE(EqualsIgnoreAsciiCase("abc", "abcd"));
  EXPECT_TRUE(EqualsIgnoreAsciiCase("代码a", "代码A"));
}

TEST(TextTest, BoundedCopyNeverOverrunsOrSplitsCharacters) {
  char field[6];
  std::memset(field, 'X', sizeof(field));
  EXPECT_EQ(CopyBounded(field, sizeof(field), "abcdefgh"), 5u);
  EXPECT_STREQ(field, "abcde");

  EXPECT_EQ(CopyBounded(field, 3, "abc"), 2u);
  EXPECT_STREQ(field, "ab");
  EXPECT_EQ(CopyBounded(field, 1, "abc"), 0u);
  EXPECT_STREQ(field, "");
  field[0] = 'Q';
  EXPECT_EQ(CopyBounded(field, 0, "abc"), 0u);
  EXPECT_EQ(field[0], 'Q');

  // "a" then two double-byte characters: the second would need bytes 3-4 of
  // a 4-byte limit (3 bytes + NUL), so it is left out whole.
  char small[4];
  EXPECT_EQ(CopyBounded(small, sizeof(small), "a中文"), 3u);
  EXPECT_EQ(std::string(small), "a中");
  EXPECT_EQ(CopyBounded(small, 3, "a中"), 1u);
  EXPECT_EQ(std::string(small), "a");

  char record[8];
  CopyToField(record, "xy");
  EXPECT_EQ(std::string(record, 8), std::string("xy\0\0\0\0\0\0", 8));
  const char unterminated[4] = {'a', 'b', 'c', 'd'};
  EXPECT_EQ(FieldText(unterminated), "abcd");
}

TEST(TextTest, FormatAndTrim) {
  EXPECT_EQ(Format("%s=%lld", "n", 1234567890123LL), "n=1234567890123");
  const std::string long_text(1000, 'z');
  EXPECT_EQ(Format("[%s]", long_text.c_str()), "[" + long_text + "]");
  EXPECT_EQ(Format("%02X", 0xAB), "AB");
  EXPECT_EQ(TrimBlanks(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
}

}  // namespace
}  // namespace orbe
