// The host test against the test engine, loaded by the module by name, with a
// clock the test controls: reply times are set, polls are counted, nothing
// waits for real time to pass.
#include "dataservice/host_test.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "env/module_state.h"
#include "env/test_components.h"
#include "orbe/platform/profile.h"
#include "orbe/platform/text.h"

namespace {

const bool kWithTestComponents = orbe_test::RunWithTestComponents("full");

// Time stands still at `start` for the first reading, then reads `later`.
// Sleeping counts the poll and advances a virtual total instead of waiting.
struct ScriptedClock {
  std::atomic<int> readings{0};
  std::uint64_t start = 10000;
  std::uint64_t later = 10000;
  std::atomic<int> polls{0};
  std::atomic<std::uint64_t> slept_ms{0};

  orbe::HostTestClock Clock() {
    return orbe::HostTestClock{[this] { return readings++ == 0 ? start : later; },
                               [this](DWORD ms) {
                                 ++polls;
                                 slept_ms += ms;
                                 Sleep(1);
                               }};
  }
};

class HostTestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kWithTestComponents);
    engine_ = orbe_test::EngineControl();
    ASSERT_NE(engine_, nullptr);
    engine_->Reset();
    folder_ = orbe_test::MakeTempFolder();
    ini_ = folder_ + "comm.ini";
    Put("CWSYS", "PrimaryCWHost", "9");
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void Put(const char* section, const std::string& key, const std::string& value) {
    ASSERT_TRUE(orbe::WriteProfileString(ini_, section, key, value));
  }
  // Hosts 10.0.0.1 ... with the scripts given, in order.
  void Hosts(const std::vector<TestHostScript>& scripts) {
    Put("CWSYS", "CWHostNum", orbe::Format("%zu", scripts.size()));
    for (std::size_t i = 0; i < scripts.size(); ++i) {
      Put("CWSYS", orbe::Format("CWHost%02zu", i + 1), scripts[i].address);
    }
    std::lock_guard<std::mutex> hold(engine_->mutex);
    engine_->hosts = scripts;
  }
  orbe::PrivateEngineEntryPoints EntryPoints() const {
    const orbe::EngineEntryPoints& entry = orbe::Siblings().Engine();
    return {entry.CreateCwDataEngin, entry.DeleteCwDataEngin};
  }
  std::string Primary() { return orbe::ProfileString(ini_, "CWSYS", "PrimaryCWHost"); }
  // Runs a whole test as InitDataEngin does: start, then destroy at once.
  void Run(int seconds, ScriptedClock& clock, const std::optional<CWPROXYINFO>& proxy = std::nullopt) {
    CHostTest test(ini_, EntryPoints(), clock.Clock());
    test.Start(seconds, proxy);
  }

  TestEngineControl* engine_ = nullptr;
  std::string folder_;
  std::string ini_;
};

TEST_F(HostTestTest, FastIdleHostDecidesAtItsReport) {
  // 0.3 answers at once, 0.6 much later: the test ends at the first report.
  Hosts({{"10.0.0.1", true, true, 300, 1000, 0, 2}, {"10.0.0.2", true, true, 600, 1000, 60000}});
  ScriptedClock clock;
  clock.later = clock.start + 300;
  CHostTest test(ini_, EntryPoints(), clock.Clock());
  test.Start(6, std::nullopt);
  EXPECT_EQ(test.EntryCount(), 2u);
  while (test.GetState() == CHostTest::kTesting) Sleep(1);
  EXPECT_EQ(test.ChosenHost(), 0);
  EXPECT_LT(clock.polls.load(), 61);  // decided, not timed out
  {
    std::lock_guard<std::mutex> hold(engine_->mutex);
    EXPECT_EQ(engine_->good_queries, 2);
    EXPECT_GE(engine_->stops, 1);
  }
  while (test.GetState() != CHostTest::kDone) Sleep(1);
}

TEST_F(HostTestTest, FastIdleHostIsWrittenBack) {
  Hosts({{"10.0.0.1", true, true, 600, 1000, 0}, {"10.0.0.2", true, true, 300, 1000, 0}});
  ScriptedClock clock;
  clock.later = clock.start + 300;
  Run(3, clock);
  EXPECT_EQ(Primary(), "1");
  std::lock_guard<std::mutex> hold(engine_->mutex);
  EXPECT_EQ(engine_->private_alive, 0);
  EXPECT_EQ(engine_->started_sessions, 2);
}

TEST_F(HostTestTest, SlowRepliesFallBackToTheSmallestRatio) {
  Hosts({{"10.0.0.1", true, true, 900, 1000, 0}, {"10.0.0.2", true, true, 700, 1000, 0}});
  ScriptedClock clock;
  clock.later = clock.start + 1500;
  Run(3, clock);
  EXPECT_EQ(Primary(), "1");
}

TEST_F(HostTestTest, ZeroCapacityCountsAsThreeThousand) {
  // 1500 of 3000 is class B; the other host is class C.
  Hosts({{"10.0.0.1", true, true, 1500, 0, 0}, {"10.0.0.2", true, true, 850, 1000, 0}});
  ScriptedClock clock;
  clock.later = clock.start + 100;
  Run(3, clock);
  EXPECT_EQ(Primary(), "0");
}

TEST_F(HostTestTest, SilentHostsEndTheTestAfterTheWait) {
  // One host never connects, one connects and never answers.
  Hosts({{"10.0.0.1", false, false, 0, 0, 0}, {"10.0.0.2", true, false, 0, 0, 0}});
  const int threads_before = orbe_test::ThreadCount();
  for (int seconds : {1, 3, 6}) {
    ScriptedClock clock;
    Run(seconds, clock);
    // NLB x 10 + 1 polls of 100 ms: the wait never exceeds NLB seconds by
    // more than one poll.
    EXPECT_EQ(clock.polls.load(), seconds * 10 + 1);
    EXPECT_LE(clock.slept_ms.load(), seconds * 1000u + 100u);
  }
  EXPECT_EQ(Primary(), "9");
  EXPECT_EQ(orbe_test::ThreadCount(), threads_before);
  std::lock_guard<std::mutex> hold(engine_->mutex);
  EXPECT_EQ(engine_->private_made, 3);
  EXPECT_EQ(engine_->private_alive, 0);
  EXPECT_EQ(engine_->good_queries, 3);
}

TEST_F(HostTestTest, GlobalProxyReplacesEachHostsProxy) {
  Hosts({{"10.0.0.1", false, false, 0, 0, 0}});
  Put("CWSYS", "ProxyType01", "1");
  Put("CWSYS", "ProxyIP01", "10.1.1.1");
  CWPROXYINFO global{};
  orbe::CopyToField(global.proxyAddress, "10.2.2.2");
  orbe::CopyToField(global.proxyPort, "3128");
  ScriptedClock clock;
  Run(1, clock, global);
  std::lock_guard<std::mutex> hold(engine_->mutex);
  ASSERT_EQ(engine_->tested_hosts.size(), 1u);
  EXPECT_EQ(engine_->tested_hosts[0].proxy.proxyType, 3);
  EXPECT_STREQ(engine_->tested_hosts[0].proxy.proxyAddress, "10.2.2.2");
  EXPECT_STREQ(engine_->tested_hosts[0].proxy.proxyPort, "3128");
  EXPECT_EQ(engine_->private_time_out, 6);
}

TEST_F(HostTestTest, WithoutEngineNothingRunsOrWaits) {
  Hosts({{"10.0.0.1", true, true, 100, 1000, 0}});
  ScriptedClock clock;
  {
    CHostTest test(ini_, orbe::PrivateEngineEntryPoints{}, clock.Clock());
    EXPECT_FALSE(test.HasEngine());
    test.Start(3, std::nullopt);
    EXPECT_EQ(test.GetState(), CHostTest::kIdle);
  }
  EXPECT_EQ(clock.polls.load(), 0);
  EXPECT_EQ(Primary(), "9");
  // No hosts configured: no sessions, no thread, no wait either.
  Put("CWSYS", "CWHostNum", "0");
  Run(3, clock);
  EXPECT_EQ(clock.polls.load(), 0);
}

}  // namespace
