// The real orbe-dataserver over loopback.
#include <gtest/gtest.h>

#include <sched.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <thread>

#include "orbe/platform/crypto.h"
#include "orbe/platform/file.h"
#include "protocol/byte_order.h"
#include "protocol/requests.h"
#include "server_fixture.h"

namespace orbe::testing {
namespace {

class DataServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = TestDirectory(::testing::UnitTest::GetInstance()->current_test_info()->name());
    MakeTestDatabase(dir_ + "/market.db");
    const std::string asan_options = std::getenv("ASAN_OPTIONS") != nullptr ? std::getenv("ASAN_OPTIONS") : "";
#if defined(__SANITIZE_ADDRESS__)
    // Freed buffers in the sanitizer's quarantine would count as held: the
    // memory bounds are measured without it.
    if (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()).find("Bounded") !=
        std::string::npos) {
      ::setenv("ASAN_OPTIONS", (asan_options + ":quarantine_size_mb=0").c_str(), 1);
    }
#endif
    port_ = server_.Start({"--db", dir_ + "/market.db", "--port", "0", "--capacity", "500", "--file-root",
                           dir_ + "/files", "--log-level", "warn"});
    ::setenv("ASAN_OPTIONS", asan_options.c_str(), 1);
    ASSERT_NE(port_, 0) << server_.FirstLine();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string dir_;
  ServerProcess server_;
  std::uint16_t port_ = 0;
};

TEST_F(DataServerTest, HostLoadCountsLiveConnectionsAndReportsCapacity) {
  const int first = ConnectLoopback(port_);
  const int second = ConnectLoopback(port_);
  Reply reply = RoundTrip(first, wire::EncodeHostLoadRequest(11));
  ASSERT_EQ(reply.status, wire::kStatusComplete);
  ASSERT_EQ(reply.bodies.size(), 1u);
  auto load = wire::DecodeHostLoadBody(reply.bodies[0]);
  ASSERT_TRUE(load);
  EXPECT_EQ(load->load, 2u);
  EXPECT_EQ(load->capacity, 500u);
  EXPECT_EQ(reply.ids, (std::vector<std::uint32_t>{11, 11}));
  ::close(second);
  // The closed connection is gone by the time a later request is handled.
  for (int attempt = 0; attempt < 100 && load->load != 1; ++attempt) {
    load = wire::DecodeHostLoadBody(RoundTrip(first, wire::EncodeHostLoadRequest(12)).bodies.at(0));
  }
  EXPECT_EQ(load->load, 1u);
  ::close(first);
  EXPECT_EQ(server_.Stop(), 0);
}

TEST_F(DataServerTest, TimeStampsOfKnownUnstampedAndUnknownTables) {
  const int fd = ConnectLoopback(port_);
  const auto stamp_of = [fd](std::int32_t table) {
    const Reply reply = RoundTrip(fd, wire::EncodeTableRequest(1, wire::kCodeTableTimeStamp, table));
    EXPECT_EQ(reply.status, wire::kStatusComplete);
    return wire::DecodeTimeStampBody(reply.bodies.at(0)).value();
  };
  EXPECT_EQ(stamp_of(kStockTable).stamp, kStockStamp);
  EXPECT_EQ(+stamp_of(kStockTable).status, wire::kTableKnown);
  EXPECT_EQ(stamp_of(kUnstampedTable).stamp, 0);
  EXPECT_EQ(+stamp_of(42).status, wire::kTableUnknown);
  EXPECT_EQ(stamp_of(42).stamp, -1);
  // A body too short for its code, an unknown code and a SELECT of table 0 keep the connection.
  EXPECT_EQ(RoundTrip(fd, wire::EncodeRequest(2, wire::kCodeTableTimeStamp, "ab")).status,
            wire::kStatusMalformed);
  EXPECT_EQ(RoundTrip(fd, wire::EncodeRequest(3, 1999, "")).status, wire::kStatusUnknownCode);
  EXPECT_EQ(RoundTrip(fd, wire::EncodeRequest(4, wire::kCodeSelect, std::string(600, '\0'))).status,
            wire::kStatusMalformed);
  EXPECT_EQ(RoundTrip(fd, wire::EncodeKeepAliveRequest(5)).status, wire::kStatusComplete);
  ::close(fd);
}

TEST_F(DataServerTest, FileFetchSendsChangedFilesAndAnswersUnchangedWithoutData) {
  const int fd = ConnectLoopback(port_);
  const std::string none(32, '0');
  const Reply table_file = RoundTrip(fd, wire::EncodeFileFetchRequest(1, none, "tableinfo.idx.compress"));
  ASSERT_EQ(table_file.status, wire::kStatusComplete);
  std::string compressed;
  for (const std::string& body : table_file.bodies) compressed += body;
  const auto plain = Uncompress(compressed, 1 << 22);
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->size(), 2u * 75u);  // two table records

  // The client's digest is that of its plain file, which it made from the download.
  const Reply unchanged = RoundTrip(fd, wire::EncodeFileFetchRequest(2, Md5Hex(*plain), "tableinfo.idx.compress"));
  EXPECT_EQ(unchanged.status, wire::kStatusComplete);
  EXPECT_TRUE(unchanged.bodies.empty());
  const Reply consts = RoundTrip(fd, wire::EncodeFileFetchRequest(3, none, "constinfo.idx"));
  ASSERT_EQ(consts.bodies.size(), 1u);
  EXPECT_EQ(consts.bodies[0].size(), 3u * 117u);
  EXPECT_TRUE(RoundTrip(fd, wire::EncodeFileFetchRequest(4, Md5Hex(consts.bodies[0]), "constinfo.idx"))
                  .bodies.empty());

  EXPECT_EQ(RoundTrip(fd, wire::EncodeFileFetchRequest(5, none, "missing.idx")).status, wire::kStatusNotFound);
  EXPECT_EQ(RoundTrip(fd, wire::EncodeFileFetchRequest(6, none, "../market.db")).status, wire::kStatusMalformed);
  EXPECT_EQ(RoundTrip(fd, wire::EncodeFileFetchRequest(7, none, "..")).status, wire::kStatusMalformed);
  // A link placed in the root does not lead out of it.
  std::filesystem::create_symlink(dir_ + "/market.db", dir_ + "/files/link.db");
  EXPECT_EQ(RoundTrip(fd, wire::EncodeFileFetchRequest(8, none, "link.db")).status, wire::kStatusNotFound);
  ::close(fd);
}

TEST_F(DataServerTest, LargeFileComesInBoundedChunksInOrder) {
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  ASSERT_TRUE(WriteFileAtomically(dir_ + "/files/ZQ_Sort_Export_0.xml", big));
  const int fd = ConnectLoopback(port_);
  const Reply reply = RoundTrip(fd, wire::EncodeFileFetchRequest(1, "", "ZQ_Sort_Export_0.xml"));
  ASSERT_EQ(reply.bodies.size(), 4u);
  std::string joined;
  for (const std::string& body : reply.bodies) {
    EXPECT_LE(body.size(), wire::kFileChunkSize);
    joined += body;
  }
  EXPECT_EQ(joined, big);
  ::close(fd);
}

// Quick requests (load, stamps) are answered on the server's network thread
// and the rest by workers, which may write their answers themselves: a burst
// mixing both, ended by a half-close, still comes back whole and in order,
// and only then is the connection closed.
TEST_F(DataServerTest, PipelinedRequestsAreAnsweredInOrderWithTheirIds) {
  const int fd = ConnectLoopback(port_);
  std::string burst;
  const auto kind = [](std::uint32_t id) { return id % 3; };
  for (std::uint32_t id = 100; id < 160; ++id) {
    switch (kind(id)) {
      case 0: burst += wire::EncodeHostLoadRequest(id); break;
      case 1: burst += wire::EncodeTableRequest(id, wire::kCodeTableTimeStamp, kStockTable); break;
      default: burst += wire::EncodeFileFetchRequest(id, std::string(32, '0'), "absent.bin"); break;
    }
  }
  ASSERT_TRUE(SendAll(fd, burst));
  ::shutdown(fd, SHUT_WR);
  ReplyReader reader(fd);
  for (std::uint32_t id = 100; id < 160; ++id) {
    const Reply reply = reader.Next();
    ASSERT_EQ(reply.status, kind(id) == 2 ? wire::kStatusNotFound : wire::kStatusComplete) << id;
    EXPECT_EQ(reply.ids.front(), id);
    EXPECT_EQ(reply.ids.back(), id);
  }
  EXPECT_FALSE(reader.HasBuffered());
  EXPECT_TRUE(WaitClosed(fd, 5000));
  ::close(fd);
}

// Each kind of garbage on its own connection: the server closes it and keeps serving.
TEST_F(DataServerTest, GarbageClosesOnlyTheBadConnections) {
  std::mt19937 random(7);
  std::string noise(4096, '\0');
  for (char& byte : noise) byte = static_cast<char>(random());
  noise[4] = 'X';  // never a valid marker by chance
  std::string huge = wire::EncodeHostLoadRequest(1).substr(0, 14);
  wire::StoreAt<std::uint32_t>(&huge, 6, 0xFFFFFFFFu);
  std::string too_short = wire::EncodeHostLoadRequest(1);
  wire::StoreAt<std::uint32_t>(&too_short, 6, 3);
  const std::string truncated = wire::EncodeTableRequest(1, wire::kCodeTableTimeStamp, 5).substr(0, 17);

  const int healthy = ConnectLoopback(port_);
  std::vector<int> bad;
  for (const std::string* garbage : {&noise, &huge, &too_short}) {
    bad.push_back(ConnectLoopback(port_));
    ASSERT_TRUE(SendAll(bad.back(), *garbage));
  }
  const int cut = ConnectLoopback(port_);
  ASSERT_TRUE(SendAll(cut, truncated));
  ::shutdown(cut, SHUT_WR);  // the rest of the frame never comes
  bad.push_back(cut);
  // A good request before garbage on the same connection is still answered.
  const int mixed = ConnectLoopback(port_);
  ASSERT_TRUE(SendAll(mixed, wire::EncodeHostLoadRequest(77) + huge));
  EXPECT_EQ(ReplyReader(mixed).Next().status, wire::kStatusComplete);
  bad.push_back(mixed);

  for (const int fd : bad) {
    EXPECT_TRUE(WaitClosed(fd, 5000));
    ::close(fd);
  }
  const Reply reply = RoundTrip(healthy, wire::EncodeHostLoadRequest(2));
  ASSERT_EQ(reply.status, wire::kStatusComplete);
  EXPECT_EQ(wire::DecodeHostLoadBody(reply.bodies.at(0))->load, 1u);  // only the healthy one is left
  ::close(healthy);
  EXPECT_EQ(server_.Stop(), 0);
}

// Resident memory of a process in KiB, from /proc.
std::size_t ResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stoul(line.substr(6));
  }
  return 0;
}

TEST_F(DataServerTest, UnfinishedLargeFramesShareOneBoundedBudget) {
  const int probe = ConnectLoopback(port_);
  ASSERT_EQ(RoundTrip(probe, wire::EncodeHostLoadRequest(1)).status, wire::kStatusComplete);
  const std::size_t before = ResidentKiB(server_.Pid());
  // Eight clients each announce the largest frame and send 12 MiB of it.
  std::string header = wire::EncodeHostLoadRequest(1).substr(0, wire::kRequestHeaderSize);
  wire::StoreAt<std::uint32_t>(&header, 6, wire::kMaxRequestLength);
  const std::string body(12u << 20, 'x');
  std::vector<int> clients;
  for (int i = 0; i < 8; ++i) {
    const int fd = ConnectLoopback(port_);
    ASSERT_GE(fd, 0);
    clients.push_back(fd);
    if (SendAll(fd, header)) SendAll(fd, body);  // refused part way for the later ones
  }
  // The first four fit the budget and stay; the others were closed.
  for (int i = 0; i < 8; ++i) EXPECT_EQ(WaitClosed(clients[i], i < 4 ? 200 : 5000), i >= 4) << i;
  EXPECT_EQ(RoundTrip(probe, wire::EncodeHostLoadRequest(2)).status, wire::kStatusComplete);
  // Four unfinished frames of 16 MiB at most (64 MiB), not eight (96 MiB and more).
  EXPECT_LT(ResidentKiB(server_.Pid()), before + 80 * 1024);
  for (const int fd : clients) ::close(fd);
  ::close(probe);
  EXPECT_EQ(server_.Stop(), 0);
}

TEST_F(DataServerTest, HundredClientsAtOnceLeaveNoDescriptorOrThreadBehind) {
  const std::string proc = "/proc/" + std::to_string(server_.Pid());
  const int probe = ConnectLoopback(port_);
  ASSERT_EQ(RoundTrip(probe, wire::EncodeHostLoadRequest(1)).status, wire::kStatusComplete);
  const std::size_t fds_before = CountEntries(proc + "/fd");
  const std::size_t tasks_before = CountEntries(proc + "/task");

  constexpr int kClients = 100;
  constexpr int kRequests = 100;
  std::vector<int> sockets(kClients);
  for (int& fd : sockets) {
    fd = ConnectLoopback(port_);
    ASSERT_GE(fd, 0);
  }
  std::atomic<int> completed{0};
  std::atomic<std::uint32_t> peak_load{0};
  std::vector<std::thread> clients;
  for (int c = 0; c < kClients; ++c) {
    clients.emplace_back([&, fd = sockets[c]] {
      ReplyReader reader(fd);
      for (int r = 0; r < kRequests; ++r) {
        if (!SendAll(fd, wire::EncodeTableRequest(r, wire::kCodeTableTimeStamp, kStockTable))) return;
        const Reply reply = reader.Next();
        if (reply.status == wire::kStatusComplete && reply.bodies.size() == 1 &&
            wire::DecodeTimeStampBody(reply.bodies[0])->stamp == kStockStamp) {
          ++completed;
        }
      }
      const Reply load = RoundTrip(fd, wire::EncodeHostLoadRequest(0));
      const std::uint32_t seen = wire::DecodeHostLoadBody(load.bodies.at(0))->load;
      std::uint32_t peak = peak_load.load();
      while (seen > peak && !peak_load.compare_exchange_weak(peak, seen)) {}
    });
  }
  for (std::thread& client : clients) client.join();
  EXPECT_EQ(completed.load(), kClients * kRequests);
  EXPECT_EQ(peak_load.load(), kClients + 1u);  // all connected at once, plus the probe
  for (const int fd : sockets) ::close(fd);

  // Wait until the server has seen every close, then compare.
  std::uint32_t load = 0;
  for (int attempt = 0; attempt < 200; ++attempt) {
    load = wire::DecodeHostLoadBody(RoundTrip(probe, wire::EncodeHostLoadRequest(2)).bodies.at(0))->load;
    if (load == 1) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(load, 1u);
  EXPECT_EQ(CountEntries(proc + "/fd"), fds_before);
  EXPECT_EQ(CountEntries(proc + "/task"), tasks_before);
  ::close(probe);
  EXPECT_EQ(server_.Stop(), 0);
}

// Batch work never preempts a running thread when it wakes; the workers
// keep the normal policy so that statements start at once.
TEST(DataServerStartTest, OnlyTheNetworkThreadRunsAsBatchWorkUnlessTurnedOff) {
  const std::string dir = TestDirectory("policy");
  MakeTestDatabase(dir + "/market.db");
  for (const bool background : {true, false}) {
    ServerProcess server;
    const std::uint16_t port =
        server.Start({"--db", dir + "/market.db", "--port", "0", "--log-level", "warn", "--workers", "2",
                      "--background-network", background ? "on" : "off"});
    ASSERT_NE(port, 0) << server.FirstLine();
    // Answered: the network thread is in its loop.
    const int fd = ConnectLoopback(port);
    ASSERT_EQ(RoundTrip(fd, wire::EncodeHostLoadRequest(1)).status, wire::kStatusComplete);
    ::close(fd);
    int batch = 0;
    int normal = 0;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(server.Pid()) + "/task")) {
      const pid_t tid = std::stoi(task.path().filename().string());
      const int policy = ::sched_getscheduler(tid);
      if (tid == server.Pid()) {
        EXPECT_EQ(policy, background ? SCHED_BATCH : SCHED_OTHER);
      }
      batch += policy == SCHED_BATCH ? 1 : 0;
      normal += policy == SCHED_OTHER ? 1 : 0;
    }
    EXPECT_EQ(batch, background ? 1 : 0);
    EXPECT_GE(normal, 2);  // the workers
    EXPECT_EQ(server.Stop(), 0);
  }
  std::filesystem::remove_all(dir);
}

TEST(DataServerStartTest, RefusesAMissingDatabaseAndBadOptions) {
  const std::string dir = TestDirectory("start");
  ServerProcess missing;
  EXPECT_EQ(missing.Start({"--db", dir + "/none.db", "--port", "0", "--log-level", "off"}), 0);
  EXPECT_NE(missing.Stop(), 0);
  ServerProcess bad_port;
  EXPECT_EQ(bad_port.Start({"--db", dir + "/none.db", "--port", "70000"}), 0);
  EXPECT_EQ(bad_port.Stop(), 2);
  EXPECT_FALSE(std::filesystem::exists(dir + "/none.db"));  // never created
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace orbe::testing
