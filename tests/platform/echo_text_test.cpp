// Input quoted in messages: printable UTF-8 kept, other bytes escaped, long
// input cut with its size.
#include "orbe/platform/echo_text.h"

#include <gtest/gtest.h>

#include <string>

namespace orbe {
namespace {

TEST(EchoTextTest, QuotesEscapesAndShortens) {
  struct Case {
    std::string text;
    std::size_t most;
    std::string echo;
  };
  const Case cases[] = {
      {"--bogus", kEchoBytes, "'--bogus'"},
      {"", kEchoBytes, "''"},
      {"\xE4\xB8\x8A\xE8\xAF\x81", kEchoBytes, "'\xE4\xB8\x8A\xE8\xAF\x81'"},  // UTF-8 Chinese kept
      {std::string("a\0b", 3), kEchoBytes, "'a\\x00b'"},
      {"tab\there\n", kEchoBytes, "'tab\\x09here\\x0A'"},
      {"\xFF\xFE", kEchoBytes, "'\\xFF\\xFE'"},
      {"\xE4\xB8", kEchoBytes, "'\\xE4\\xB8'"},  // a sequence cut short
      {"back\\slash", kEchoBytes, "'back\\\\slash'"},
      {std::string(100, 'x'), 10, "'xxxxxxxxxx'... (100 bytes)"},
      {"\xE4\xB8\x8A\xE8\xAF\x81", 2, "'\xE4\xB8\x8A'... (6 bytes)"},  // no character is split
  };
  for (const Case& c : cases) EXPECT_EQ(EchoText(c.text, c.most), c.echo) << c.echo;
}

TEST(EchoTextTest, ValidUtf8) {
  EXPECT_TRUE(IsValidUtf8("plain\r\n"));
  EXPECT_TRUE(IsValidUtf8("\xE8\xB4\xA2\xE5\x8A\xA1"));
  EXPECT_FALSE(IsValidUtf8("\xB2\xC6\xCE\xF1"));  // GBK
  EXPECT_FALSE(IsValidUtf8("\xC0\x80"));          // an overlong NUL
  EXPECT_FALSE(IsValidUtf8("\xE4\xB8"));
}

}  // namespace
}  // namespace orbe
