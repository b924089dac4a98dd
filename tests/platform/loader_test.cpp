#include "orbe/platform/loader.h"

#include <gtest/gtest.h>

#include "orbe/platform/sync.h"

namespace {

TEST(LoaderTest, MapsOriginalNamesToSharedObjects) {
  EXPECT_EQ(ComponentFileName("FinDataComm.dll"), "libFinDataComm.so");
  EXPECT_EQ(ComponentFileName("FINCACHESTORE.DLL"), "libFINCACHESTORE.so");
  EXPECT_EQ(ComponentFileName("KvxCtrl"), "libKvxCtrl.so");
  EXPECT_EQ(ComponentFileName("libz.so"), "libz.so");
  EXPECT_EQ(ComponentFileName("plugins\\PanelPlugin.dll"), "plugins/libPanelPlugin.so");
  EXPECT_EQ(ComponentFileName("/opt/x/libA.so"), "/opt/x/libA.so");
}

TEST(LoaderTest, LoadsComponentsFromTheirOwnFolder) {
  EXPECT_EQ(ComponentFolder(), std::string(ORBE_TEST_LIB_DIR) + "/");

  HMODULE self = LoadLibraryA("orbeplatform.dll");
  ASSERT_NE(self, nullptr) << LastLoaderError();
  using TickFn = DWORD (*)();
  const auto tick = GetProcAddressAs<TickFn>(self, "GetTickCount");
  ASSERT_NE(tick, nullptr);
  EXPECT_GT(tick() + 1u, 0u);
  EXPECT_EQ(GetProcAddress(self, "NoSuchEntryPoint"), nullptr);
  EXPECT_TRUE(FreeLibrary(self));
}

TEST(LoaderTest, MissingComponentsAreNullAndHarmless) {
  EXPECT_EQ(LoadLibraryA("NoSuchComponent.dll"), nullptr);
  EXPECT_FALSE(LastLoaderError().empty());
  EXPECT_EQ(LoadLibraryA(""), nullptr);
  EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
  EXPECT_EQ(GetProcAddress(nullptr, "GetTickCount"), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(ClockTest, TicksAreMonotonicAndKeysStartUp) {
  const std::uint64_t before = GetTickCount64();
  Sleep(2);
  EXPECT_GE(GetTickCount64(), before + 1);

  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
  SetKeyDown(VK_SHIFT, true);
  EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
  EXPECT_NE(GetAsyncKeyState(VK_SHIFT) & 0x8000, 0);
  SetKeyDown(VK_SHIFT, false);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetKeyState(-1), 0);
  EXPECT_EQ(GetKeyState(4096), 0);
}

TEST(SyncTest, CriticalSectionIsRecursiveAndWorkerJoins) {
  orbe::CriticalSection section;
  int counter = 0;
  {
    orbe::CriticalSectionLock outer(section);
    orbe::CriticalSectionLock inner(section);
    ++counter;
  }
  {
    orbe::WorkerThread worker([&] {
      for (int i = 0; i < 1000; ++i) {
        orbe::CriticalSectionLock lock(section);
        ++counter;
      }
    });
    for (int i = 0; i < 1000; ++i) {
      orbe::CriticalSectionLock lock(section);
      ++counter;
    }
  }  // joined here
  EXPECT_EQ(counter, 2001);
}

}  // namespace
