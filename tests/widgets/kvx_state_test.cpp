#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "orbe/widgets/kvx_functions.h"

namespace {

TEST(KvxScrollBarTest, ProcessWideType) {
  EXPECT_EQ(KVXGetScrollBarType(), 0);
  KVXSetScrollBarType(2);
  EXPECT_EQ(KVXGetScrollBarType(), 2);
  std::thread([] { KVXSetScrollBarType(-1); }).join();
  EXPECT_EQ(KVXGetScrollBarType(), -1);
  KVXSetScrollBarType(0);
}

TEST(KvxGraphicsTest, StartsAndStopsAreCounted) {
  EXPECT_FALSE(IsGraphicsReady());
  EXPECT_EQ(InitGDIPlus(), TRUE);
  EXPECT_EQ(InitGDIPlus(), TRUE);
  EXPECT_TRUE(IsGraphicsReady());
  UninitGDIPlus();
  EXPECT_TRUE(IsGraphicsReady()) << "one user is still there";
  UninitGDIPlus();
  EXPECT_FALSE(IsGraphicsReady());
  // Surplus stops do not bank against the next start.
  UninitGDIPlus();
  UninitGDIPlus();
  InitGDIPlus();
  EXPECT_TRUE(IsGraphicsReady());
  UninitGDIPlus();
  EXPECT_FALSE(IsGraphicsReady());
}

TEST(KvxGraphicsTest, BalancedUseFromManyThreadsEndsStopped) {
  InitGDIPlus();
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([] {
      for (int i = 0; i < 2000; ++i) {
        InitGDIPlus();
        UninitGDIPlus();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_TRUE(IsGraphicsReady());
  UninitGDIPlus();
  EXPECT_FALSE(IsGraphicsReady());
}

}  // namespace
