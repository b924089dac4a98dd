// Option blocks into callers' buffers and cache keys.
#include "dataservice/reply_packets.h"

#include <gtest/gtest.h>

#include <cstring>

#include "orbe/platform/crypto.h"

namespace {

TEST(ReplyPacketsTest, OptionBlock) {
  const std::vector<orbe::SqlOption> options = {{1, "abc"}, {0, "skipped"}, {2, ""}, {3, "de"}};
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  ASSERT_EQ(orbe::EncodeSqlOptions(options, buffer, sizeof buffer), 13);
  EXPECT_EQ(std::string(buffer, 14), std::string("\x01\x03\x00" "abc\0" "\x03\x02\x00" "de\0" "\0", 14));
  // position + 4 + length must stay below the size: 7 bytes need a size of 8.
  EXPECT_EQ(orbe::EncodeSqlOptions({{1, "abc"}}, buffer, 7), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(orbe::EncodeSqlOptions({{1, "abc"}}, buffer, 8), 7);
  EXPECT_EQ(orbe::EncodeSqlOptions(options, nullptr, 8), 0);
}

TEST(ReplyPacketsTest, CacheKeyCoversStatementAndOptions) {
  EXPECT_EQ(orbe::CacheKeyOf("", ""), "");
  const std::string key = orbe::CacheKeyOf("SELECT T001 FROM 1", "");
  EXPECT_EQ(key, orbe::Md5Hex("SELECT T001 FROM 1"));
  EXPECT_EQ(key.size(), 32u);
  EXPECT_EQ(orbe::CacheKeyOf("SELECT T001 FROM 1", std::string_view("\x01\x00", 2)),
            orbe::Md5Hex(std::string("SELECT T001 FROM 1\x01", 19) + '\0'));
  EXPECT_NE(orbe::CacheKeyOf("a", "b"), orbe::CacheKeyOf("ab", "c"));
}

}  // namespace
