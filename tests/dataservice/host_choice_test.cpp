#include "dataservice/host_choice.h"

#include <gtest/gtest.h>

namespace orbe {
namespace {

HostReply Reply(int index, std::uint64_t ms, std::uint32_t load, std::uint32_t capacity) {
  return HostReply{index, true, ms, load, capacity};
}

TEST(HostChoice, FastAndIdleDecidesAtOnce) {
  EXPECT_TRUE(DecidesAtOnce(300, 1000, 999));
  EXPECT_FALSE(DecidesAtOnce(300, 1000, 1000));
  EXPECT_FALSE(DecidesAtOnce(500, 1000, 10));
  // Capacity 0 counts as 3000: load 1500 is ratio 0.5, not below it.
  EXPECT_DOUBLE_EQ(LoadRatio(1500, 0), 0.5);
  EXPECT_FALSE(DecidesAtOnce(1500, 0, 10));
  EXPECT_TRUE(DecidesAtOnce(1499, 0, 10));
}

TEST(HostChoice, ClassesOfFastReplies) {
  // 0.3 and 0.6 within 1 s: the 0.3 host.
  EXPECT_EQ(ChooseHost({Reply(0, 300, 600, 1000), Reply(1, 200, 300, 1000)}), 1);
  // Class B over class C; capacity 0 as 3000 puts 1500 in class B.
  EXPECT_EQ(ChooseHost({Reply(0, 100, 1500, 0), Reply(1, 100, 850, 1000)}), 0);
  // Within a class the highest index wins.
  EXPECT_EQ(ChooseHost({Reply(0, 100, 100, 1000), Reply(1, 100, 400, 1000), Reply(2, 900, 900, 1000)}), 1);
  EXPECT_EQ(ChooseHost({Reply(0, 100, 900, 1000), Reply(1, 100, 950, 1000)}), 1);
}

TEST(HostChoice, FallbackTakesTheSmallestRatioWhateverItsTime) {
  // 0.9 and 0.7 after 1.5 s: no class applies; the 0.7 host.
  EXPECT_EQ(ChooseHost({Reply(0, 1500, 900, 1000), Reply(1, 1500, 700, 1000)}), 1);
  // A slow idle host beats a fast busy one only through the fallback, and a
  // fast class-C host comes first.
  EXPECT_EQ(ChooseHost({Reply(0, 2000, 100, 1000), Reply(1, 100, 990, 1000)}), 1);
  // Equal ratios: the first stays.
  EXPECT_EQ(ChooseHost({Reply(3, 1500, 700, 1000), Reply(4, 1500, 700, 1000)}), 3);
}

TEST(HostChoice, NothingQualifies) {
  EXPECT_EQ(ChooseHost({}), -1);
  EXPECT_EQ(ChooseHost({HostReply{0, false, 0, 0, 1000}}), -1);
  EXPECT_EQ(ChooseHost({Reply(0, 100, 1000, 1000), Reply(1, 2000, 5000, 1000)}), -1);
}

}  // namespace
}  // namespace orbe
