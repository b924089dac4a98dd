// Host-load round trips through the real server loop over loopback, next to
// plain TCP echo round trips of the same sizes: the physical limit here.
// The ratio server/echo is the figure to watch (goal >= 0.5).
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sqlite3.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>

#include "data_server.h"
#include "loopback_client.h"
#include "protocol/frame_splitter.h"
#include "protocol/requests.h"
#include "server_log.h"
#include "storage.h"
#include "unique_fd.h"

namespace {

using orbe::server::UniqueFd;

constexpr std::size_t kReplyBytes = 24 + 8 + 24;  // data packet with 8 bytes, then the end packet

bool ReadExactly(int fd, char* buffer, std::size_t size) {
  for (std::size_t done = 0; done < size;) {
    const ssize_t got = ::recv(fd, buffer + done, size - done, 0);
    if (got <= 0) return false;
    done += static_cast<std::size_t>(got);
  }
  return true;
}

std::string MakeDatabase() {
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("orbe_bench_" + std::to_string(::getpid()) + ".db")).string();
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, orbe::server::kDictionaryTablesDdl, nullptr, nullptr, nullptr);
  sqlite3_exec(db,
               "INSERT INTO orbe_tables VALUES (1, 't', 0, 1);"
               "INSERT INTO orbe_fields VALUES (1, 1, 1, 4, 4, '', 'n');",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return path;
}

void BM_ServerHostLoad(benchmark::State& state) {
  orbe::server::SetLogLevel(orbe::server::LogLevel::kOff);
  orbe::server::ServerConfig config;
  config.storage.sqlite_path = MakeDatabase();
  config.port = 0;
  std::string error;
  auto server = orbe::server::DataServer::Create(config, &error);
  if (!server) {
    state.SkipWithError(error.c_str());
    return;
  }
  const UniqueFd stop(::eventfd(0, EFD_CLOEXEC));
  std::thread loop([&] { server->Run(stop.Get()); });
  const UniqueFd client = orbe_bench::ConnectLoopback(server->Port());
  const std::string request = orbe::wire::EncodeHostLoadRequest(1);
  char reply[kReplyBytes];
  for (auto _ : state) {
    ::send(client.Get(), request.data(), request.size(), MSG_NOSIGNAL);
    if (!ReadExactly(client.Get(), reply, sizeof(reply))) state.SkipWithError("server closed");
  }
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(stop.Get(), &one, sizeof(one));
  loop.join();
  std::filesystem::remove_all(config.storage.sqlite_path + ".files");
  std::filesystem::remove(config.storage.sqlite_path);
}
BENCHMARK(BM_ServerHostLoad)->UseRealTime();

// Echo server: reads the 16-byte request, answers 56 bytes, as small as TCP allows.
void BM_PlainTcpEcho(benchmark::State& state) {
  UniqueFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  ::bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address));
  ::listen(listener.Get(), 1);
  ::getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &length);
  std::thread echo([&] {
    const UniqueFd peer(::accept(listener.Get(), nullptr, nullptr));
    const int on = 1;
    ::setsockopt(peer.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
    char request[16];
    const char reply[kReplyBytes] = {};
    while (ReadExactly(peer.Get(), request, sizeof(request))) {
      ::send(peer.Get(), reply, sizeof(reply), MSG_NOSIGNAL);
    }
  });
  UniqueFd client = orbe_bench::ConnectLoopback(ntohs(address.sin_port));
  const std::string request = orbe::wire::EncodeHostLoadRequest(1);
  char reply[kReplyBytes];
  for (auto _ : state) {
    ::send(client.Get(), request.data(), request.size(), MSG_NOSIGNAL);
    ReadExactly(client.Get(), reply, sizeof(reply));
  }
  client.Reset();
  echo.join();
}
BENCHMARK(BM_PlainTcpEcho)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
