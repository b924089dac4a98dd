// File transfers end to end: the manager and its handles over the real engine
// (libFinDataComm, loaded by the module) against the real orbe-dataserver's
// file server, plus a test-side server that dies in the middle of a transfer.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "dataservice/transfer_server.h"
#include "dataservice/updown_file_mgr.h"
#include "env/module_state.h"
#include "orbe/platform/file.h"
#include "orbe/platform/window.h"

namespace {

constexpr UINT kTransferMessage = WM_APP + 7;

struct Event {
  long id;
  long value;
};

class Recorder : public CWnd {
 public:
  std::vector<Event> events;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kTransferMessage) events.push_back({static_cast<long>(wparam), static_cast<long>(lparam)});
    return CWnd::WindowProc(message, wparam, lparam);
  }
};

// Half pseudo-random, half runs: some chunks compress, some do not.
std::string TestBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    bytes[i] = (i / 8192) % 2 == 0 ? static_cast<char>(state >> 16) : static_cast<char>(i / 100);
  }
  return bytes;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

CWHOSTINFO Host(int port) {
  CWHOSTINFO host{};
  std::strcpy(host.host, "127.0.0.1");
  std::snprintf(host.port, sizeof host.port, "%d", port);
  return host;
}

class TransferTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = orbe_test::ScratchFolder("e2e");
    server_ = new orbe_test::TransferServer();
    ASSERT_TRUE(server_->Start(folder_));
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
    std::filesystem::remove_all(folder_);
  }
  void SetUp() override {
    ASSERT_NE(server_, nullptr);
    ASSERT_TRUE(window_.Create(nullptr, RECT{0, 0, 10, 10}, 0));
    // What the module environment hands the manager at start-up.
    Manager().SetEngineSource(orbe::Siblings().Engine().GetCwDataEnginInstance);
    Manager().SetServers({Host(server_->FilePort())}, 0);
  }
  void TearDown() override { orbe::UpdownFileMgr::DeleteInstance(); }

  static orbe::UpdownFileMgr& Manager() { return orbe::UpdownFileMgr::Instance(); }
  HWND Window() const { return window_.GetSafeHwnd(); }

  // The values posted for `id` until its last one (100 or negative).
  std::vector<long> Await(int id) {
    const auto ended = [&] {
      for (const Event& event : window_.events) {
        if (event.id == id && (event.value == 100 || event.value < 0)) return true;
      }
      return false;
    };
    orbe::PumpUntil(ended, 60000);
    std::vector<long> values;
    for (const Event& event : window_.events) {
      if (event.id == id) values.push_back(event.value);
    }
    return values;
  }
  long Outcome(int id) {
    const std::vector<long> values = Await(id);
    return values.empty() ? 999 : values.back();
  }

  static std::string folder_;
  static orbe_test::TransferServer* server_;
  Recorder window_;
};

std::string TransferTest::folder_;
orbe_test::TransferServer* TransferTest::server_ = nullptr;

TEST_F(TransferTest, UploadAndDownloadKeepEveryByte) {
  Manager().SetUploadDirectory("up/");
  for (const std::size_t size : {std::size_t{1}, std::size_t{8191}, std::size_t{8192}, std::size_t{20000},
                                 std::size_t{5u << 20}}) {
    SCOPED_TRACE(size);
    const std::string name = "file" + std::to_string(size) + ".bin";
    const std::string bytes = TestBytes(size, static_cast<unsigned>(size));
    WriteAll(folder_ + name, bytes);
    const int up = Manager().Upload(Window(), kTransferMessage, folder_ + name);
    ASSERT_GT(up, 0);
    EXPECT_EQ(Outcome(up), 100);
    EXPECT_EQ(Manager().StatusText(up), "文件上传成功.");
    EXPECT_TRUE(ReadAll(server_->Root() + "/up/" + name) == bytes);

    const std::string back = folder_ + "back_" + name;
    const int down = Manager().Download(Window(), kTransferMessage, "up/" + name, back);
    ASSERT_GT(down, 0);
    EXPECT_EQ(Outcome(down), 100);
    EXPECT_EQ(Manager().StatusText(down), "文件下载成功.");
    EXPECT_TRUE(ReadAll(back) == bytes);
    EXPECT_FALSE(std::filesystem::exists(back + ".part"));
  }
}

TEST_F(TransferTest, EmptyFilesDownloadButDoNotUpload) {
  WriteAll(folder_ + "empty.bin", "");
  window_.events.clear();
  EXPECT_EQ(Manager().Upload(Window(), kTransferMessage, folder_ + "empty.bin"), -1);
  orbe::RunUntilIdle();
  ASSERT_EQ(window_.events.size(), 1u);
  EXPECT_EQ(window_.events[0].id, -1);
  EXPECT_EQ(window_.events[0].value, -12);

  WriteAll(server_->Root() + "/empty_remote.bin", "");
  const std::string local = folder_ + "empty_back.bin";
  const int down = Manager().Download(Window(), kTransferMessage, "empty_remote.bin", local);
  EXPECT_EQ(Outcome(down), 100);
  ASSERT_TRUE(std::filesystem::exists(local));
  EXPECT_EQ(std::filesystem::file_size(local), 0u);
}

TEST_F(TransferTest, UploadProgressAndTheSizeLimit) {
  const std::string path = folder_ + "limit.bin";
  WriteAll(path, TestBytes(20000, 3));
  Manager().SetMaxFileSize(20000);
  window_.events.clear();
  EXPECT_EQ(Manager().Upload(Window(), kTransferMessage, path), -1);
  orbe::RunUntilIdle();
  ASSERT_EQ(window_.events.size(), 1u);
  EXPECT_EQ(window_.events[0].value, -12);

  Manager().SetMaxFileSize(20001);
  const int id = Manager().Upload(Window(), kTransferMessage, path);
  ASSERT_GT(id, 0);
  EXPECT_EQ(Await(id), (std::vector<long>{0, 33, 66, 100}));
}

TEST_F(TransferTest, AnUnchangedDownloadSendsNoData) {
  const std::string bytes = TestBytes(30000, 9);
  WriteAll(server_->Root() + "/same.bin", bytes);
  const std::string local = folder_ + "same.bin";
  WriteAll(local, bytes);
  const auto before = orbe::IdentifyFile(local);
  const int id = Manager().Download(Window(), kTransferMessage, "same.bin", local);
  EXPECT_EQ(Await(id), (std::vector<long>{0, 100}));  // the start, then completion
  const auto after = orbe::IdentifyFile(local);
  ASSERT_TRUE(before && after);
  EXPECT_EQ(before->inode, after->inode);  // not rewritten
}

TEST_F(TransferTest, DeleteAndReloadReportTheirOutcome) {
  WriteAll(server_->Root() + "/gone.bin", "x");
  const int deleted = Manager().Delete(Window(), kTransferMessage, "gone.bin");
  EXPECT_EQ(Outcome(deleted), 100);
  EXPECT_EQ(Manager().StatusText(deleted), "文件删除成功.");
  EXPECT_FALSE(std::filesystem::exists(server_->Root() + "/gone.bin"));
  const int again = Manager().Delete(Window(), kTransferMessage, "gone.bin");
  EXPECT_EQ(Outcome(again), -4);
  EXPECT_EQ(Manager().StatusText(again), "删除文件不存在.");

  std::filesystem::create_directories(server_->Root() + "/up");  // each test has a fresh root
  const int reload = Manager().ReloadPath(Window(), kTransferMessage, std::string(32, 'A'), 1, "up");
  EXPECT_EQ(Outcome(reload), 100);
  const int missing = Manager().ReloadPath(Window(), kTransferMessage, std::string(32, 'A'), 1, "nothing");
  EXPECT_EQ(Outcome(missing), -4);
  EXPECT_EQ(Manager().StatusText(missing), "文件不存在.");
}

TEST_F(TransferTest, PathsThatLeaveTheRootAreRefused) {
  const std::string outside = folder_ + "outside.bin";
  WriteAll(outside, "secret");
  std::filesystem::create_symlink(outside, server_->Root() + "/link.bin");
  std::filesystem::create_directory_symlink(folder_, server_->Root() + "/linkdir");
  for (const std::string remote : {"../outside.bin", "/etc/passwd", "up/../../outside.bin", "link.bin",
                                   "linkdir/outside.bin", "..\\outside.bin"}) {
    SCOPED_TRACE(remote);
    const std::string local = folder_ + "escaped.bin";
    EXPECT_EQ(Outcome(Manager().Download(Window(), kTransferMessage, remote, local)), -4);
    EXPECT_FALSE(std::filesystem::exists(local));
    EXPECT_EQ(Outcome(Manager().Delete(Window(), kTransferMessage, remote)), -4);
  }
  EXPECT_EQ(ReadAll(outside), "secret");

  // The root's parent is folder_, so the source lives one level further down.
  std::filesystem::create_directories(folder_ + "src");
  const std::string source = folder_ + "src/evil.bin";
  WriteAll(source, "evil");
  for (const char* directory : {"../", "linkdir/", "/tmp/"}) {
    SCOPED_TRACE(directory);
    Manager().SetUploadDirectory(directory);
    EXPECT_EQ(Outcome(Manager().Upload(Window(), kTransferMessage, source)), -1);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "evil.bin"));
  }
}

// Accepts connections, answers the first request of each with status 0 and
// dies (closes) on the next one, as a server killed mid-transfer. Corrupt:
// answers a download with a data packet that is no zlib stream, then ends.
class DyingServer {
 public:
  explicit DyingServer(bool corrupt = false) : corrupt_(corrupt) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd_, 8);
    socklen_t size = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~DyingServer() {
    ::shutdown(fd_, SHUT_RDWR);
    ::close(fd_);
    thread_.join();
  }
  int Port() const { return port_; }
  int Accepted() const { return accepted_.load(); }

 private:
  void Serve() {
    for (;;) {
      const int client = ::accept(fd_, nullptr, nullptr);
      if (client < 0) return;
      ++accepted_;
      unsigned char header[14];
      if (ReadFrame(client, header)) {
        unsigned char reply[25] = {};
        std::memcpy(reply, header, 4);           // request id
        reply[5] = 1;                            // data packet
        std::memcpy(reply + 6, frame_code_, 2);  // request code
        reply[8] = 25;
        reply[12] = 100;
        reply[20] = 1;
        if (corrupt_) {
          SendCorruptDownload(client, header);
        } else {
          ::send(client, reply, sizeof reply, MSG_NOSIGNAL);
        }
        // An upload dies after its first chunk has gone; the others at once.
        if (frame_code_[0] == (2500 & 0xFF)) ReadFrame(client, header);
      }
      ::close(client);
    }
  }
  void SendCorruptDownload(int client, const unsigned char* header) {
    std::string out;
    for (const std::size_t payload : {std::size_t{48}, std::size_t{40}, std::size_t{0}}) {
      std::string packet(24 + payload, '\0');
      std::memcpy(packet.data(), header, 4);
      packet[5] = payload == 0 ? 2 : 1;
      std::memcpy(packet.data() + 6, frame_code_, 2);
      packet[8] = static_cast<char>(24 + payload);
      packet[12] = payload == 48 ? 0 : 100;
      if (payload == 0) packet[16] = 100;
      packet[20] = static_cast<char>(payload);
      if (payload == 40) std::memset(packet.data() + 32, 'z', 32);  // prefix, then no zlib stream
      out += packet;
    }
    ::send(client, out.data(), out.size(), MSG_NOSIGNAL);
  }
  bool ReadFrame(int client, unsigned char* header) {
    if (!ReadExactly(client, header, 14)) return false;
    const std::size_t total = header[6] | (header[7] << 8);
    std::vector<unsigned char> body(total > 14 ? total - 14 : 0);
    if (!ReadExactly(client, body.data(), body.size()) || body.size() < 2) return false;
    std::memcpy(frame_code_, body.data(), 2);
    return true;
  }
  static bool ReadExactly(int fd, unsigned char* at, std::size_t size) {
    while (size > 0) {
      const ssize_t got = ::recv(fd, at, size, 0);
      if (got <= 0) return false;
      at += got;
      size -= static_cast<std::size_t>(got);
    }
    return true;
  }

  const bool corrupt_;
  int fd_ = -1;
  int port_ = 0;
  std::atomic<int> accepted_{0};
  unsigned char frame_code_[2] = {};
  std::thread thread_;
};

TEST_F(TransferTest, ALostServerFailsWithMinusEightAndMovesTheIndex) {
  DyingServer first;
  DyingServer second;
  Manager().SetServers({Host(first.Port()), Host(second.Port())}, 0);
  const std::string path = folder_ + "lost.bin";
  WriteAll(path, TestBytes(100000, 5));

  const int one = Manager().Upload(Window(), kTransferMessage, path);
  const std::vector<long> values = Await(one);
  EXPECT_EQ(values, (std::vector<long>{0, -8}));  // the first chunk went, then the server died
  EXPECT_EQ(Manager().StatusText(one), "上传连接中断，上传失败.");
  EXPECT_EQ(Manager().ServerIndex(), 1);
  EXPECT_EQ(first.Accepted(), 1);

  const int two = Manager().Download(Window(), kTransferMessage, "x.bin", folder_ + "lost_back.bin");
  EXPECT_EQ(Outcome(two), -8);
  EXPECT_EQ(Manager().StatusText(two), "下载连接中断,下载失败.");
  EXPECT_EQ(Manager().ServerIndex(), 2);
  EXPECT_EQ(second.Accepted(), 1);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "lost_back.bin"));

  // Past the end of the list the next start wraps to the first server.
  const int three = Manager().Delete(Window(), kTransferMessage, "x.bin");
  EXPECT_EQ(Outcome(three), -8);
  EXPECT_EQ(first.Accepted(), 2);
  EXPECT_EQ(Manager().ServerIndex(), 1);
}

TEST_F(TransferTest, ADownloadThatDoesNotInflateFailsAndLeavesNoFile) {
  DyingServer corrupt(true);
  Manager().SetServers({Host(corrupt.Port())}, 0);
  const std::string local = folder_ + "corrupt.bin";
  WriteAll(local, "previous");
  const int id = Manager().Download(Window(), kTransferMessage, "x.bin", local);
  EXPECT_EQ(Outcome(id), -1);
  EXPECT_EQ(Manager().StatusText(id), "解压失败.");
  EXPECT_EQ(ReadAll(local), "previous");
  EXPECT_FALSE(std::filesystem::exists(local + ".part"));
}

TEST_F(TransferTest, StartsFailWithoutServersOrWithBadArguments) {
  EXPECT_EQ(Manager().Download(Window(), kTransferMessage, std::string(300, 'a'), folder_ + "long.bin"), -1);
  EXPECT_FALSE(Manager().Cancel(12345));
  EXPECT_EQ(Manager().StatusText(12345), "");
  // An empty list falls back to the default server.
  Manager().SetServers({}, 0);
  ASSERT_EQ(Manager().Servers().size(), 1u);
  EXPECT_STREQ(Manager().Servers()[0].port, "8367");
}

}  // namespace
