// The names an unknown one most likely meant, and the full-width forms the
// board names are written in.
#include "nearest_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orbe::terminal {
namespace {

TEST(NearestNamesTest, NearestFirstAndOnlyUsefulOnes) {
  // UTF-8 written out: the sources are compiled to GBK.
  const std::string shA = "\xE4\xB8\x8A\xE8\xAF\x81\xEF\xBC\xA1\xE8\x82\xA1";   // 上证Ａ股
  const std::string szA = "\xE6\xB7\xB1\xE8\xAF\x81\xEF\xBC\xA1\xE8\x82\xA1";   // 深证Ａ股
  const std::string gem = "\xE5\x88\x9B\xE4\xB8\x9A\xE6\x9D\xBF";               // 创业板
  const std::string shB = "\xE4\xB8\x8A\xE8\xAF\x81" "B";                         // 上证B
  const std::vector<std::string> names = {gem, szA, shA};
  // 上证B is two edits from 上证Ａ股; 深证Ａ股 (three) is no nearer than typing it anew.
  EXPECT_EQ(NearestNames(shB, names), (std::vector<std::string>{shA}));
  const std::string sz = "\xE6\xB7\xB1\xE8\xAF\x81\xEF\xBC\xA1";  // 深证Ａ
  EXPECT_EQ(NearestNames(sz, names), (std::vector<std::string>{szA, shA}));
  EXPECT_EQ(NearestNames(sz, names, 1), (std::vector<std::string>{szA}));
  EXPECT_TRUE(NearestNames("zz", names).empty());
  EXPECT_TRUE(NearestNames("anything", {}).empty());
}

TEST(NearestNamesTest, FullWidthAscii) {
  EXPECT_EQ(FullWidthAscii("\xE4\xB8\x8A\xE8\xAF\x81" "A" "\xE8\x82\xA1"),
            "\xE4\xB8\x8A\xE8\xAF\x81\xEF\xBC\xA1\xE8\x82\xA1");
  EXPECT_EQ(FullWidthAscii("a9"), "\xEF\xBD\x81\xEF\xBC\x99");
  EXPECT_EQ(FullWidthAscii("- _"), "- _");
}

}  // namespace
}  // namespace orbe::terminal
