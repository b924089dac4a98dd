// Shared by the server tests: a small database under the storage contract,
// the real orbe-dataserver as a child process, and a blocking wire client.
#ifndef ORBE_TESTS_SERVER_SERVER_FIXTURE_H_
#define ORBE_TESTS_SERVER_SERVER_FIXTURE_H_

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "protocol/frame_splitter.h"
#include "protocol/replies.h"
#include "storage.h"

namespace orbe::testing {

inline constexpr std::int32_t kStockTable = 100000013;
inline constexpr std::int32_t kUnstampedTable = 100000099;
inline constexpr std::int64_t kStockStamp = 20240105093000;

// Two tables (one without a stamp row), four fields, three constants; GBK names.
inline void MakeTestDatabase(const std::string& path) {
  std::filesystem::remove(path);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, orbe::server::kDictionaryTablesDdl, nullptr, nullptr, nullptr), SQLITE_OK);
  const char* sql =
      "INSERT INTO orbe_tables VALUES (100000099, 'second', 0, 2), (100000013, '\xb9\xc9\xc6\xb1', 1, 1);"
      "INSERT INTO orbe_fields VALUES (100000013, 1, 1, 2, 6, '', '\xb4\xfa\xc2\xeb'),"
      " (100000013, 2, 2, 1, 4, '974', 'industry'), (100000013, 3, 3, 8, 8, '', 'price'),"
      " (100000099, 1, 1, 4, 4, '', 'n');"
      "INSERT INTO orbe_consts VALUES (1, '974', '01', 'a', '', ''), (2, '974', '02', 'b', '01', ''),"
      " (3, '997', 'X', 'c', '', 'y');"
      "INSERT INTO orbe_timestamps VALUES (100000013, 20240105093000);";
  char* message = nullptr;
  ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &message), SQLITE_OK) << (message ? message : "");
  sqlite3_close(db);
}

inline std::string TestDirectory(const std::string& name) {
  const std::string dir = (std::filesystem::temp_directory_path() /
                           ("orbe_srv_" + name + "_" + std::to_string(::getpid()))).string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// orbe-dataserver as a child; stopped with SIGTERM by Stop or the destructor.
class ServerProcess {
 public:
  ServerProcess() = default;
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;
  ~ServerProcess() {
    if (pid_ > 0) Stop();
  }

  // Returns the port from the "listening on" line, or 0.
  std::uint16_t Start(std::vector<std::string> arguments) {
    int out[2];
    if (::pipe(out) != 0) return 0;
    pid_ = ::fork();
    if (pid_ == 0) {
      // A crashed test must not leave its server running (and holding the
      // test's output pipe open).
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      ::dup2(out[1], STDOUT_FILENO);
      ::close(out[0]);
      ::close(out[1]);
      std::vector<char*> argv;
      static std::string program = std::string(ORBE_TEST_BIN_DIR) + "/orbe-dataserver";
      argv.push_back(program.data());
      for (std::string& argument : arguments) argv.push_back(argument.data());
      argv.push_back(nullptr);
      ::execv(program.c_str(), argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    FILE* stream = ::fdopen(out[0], "r");
    char line[256] = {};
    const bool got = std::fgets(line, sizeof(line), stream) != nullptr;
    std::fclose(stream);
    first_line_ = got ? line : "";
    unsigned port = 0;
    if (std::sscanf(line, "listening on 127.0.0.1:%u", &port) != 1) return 0;
    return static_cast<std::uint16_t>(port);
  }

  // The exit status after SIGTERM (-1 when it did not exit normally).
  int Stop() {
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  pid_t Pid() const { return pid_; }
  const std::string& FirstLine() const { return first_line_; }

 private:
  pid_t pid_ = -1;
  std::string first_line_;
};

inline int ConnectLoopback(std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

inline bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

// True when the peer closed the connection within the time (an error counts as closed).
inline bool WaitClosed(int fd, int timeout_ms) {
  pollfd entry{fd, POLLIN, 0};
  char sink[4096];
  while (::poll(&entry, 1, timeout_ms) == 1) {
    const ssize_t got = ::recv(fd, sink, sizeof(sink), 0);
    if (got <= 0) return true;
  }
  return false;
}

struct Reply {
  std::vector<std::string> bodies;  // data packet bodies, inflated
  std::vector<std::uint32_t> ids;   // request id of every packet, end packet included
  std::int32_t status = 0;          // 0: the stream ended or broke first
};

// Reads packets from a blocking socket until one end packet arrived.
class ReplyReader {
 public:
  explicit ReplyReader(int fd) : fd_(fd) {}

  Reply Next() {
    Reply reply;
    wire::ReplyPacket packet;
    for (;;) {
      const wire::SplitResult result = splitter_.Next(&packet);
      if (result == wire::SplitResult::kBad) return reply;
      if (result == wire::SplitResult::kFrame) {
        reply.ids.push_back(packet.header.request_id);
        if (packet.header.kind == wire::kPacketEnd) {
          reply.status = packet.header.status;
          return reply;
        }
        reply.bodies.push_back(wire::PacketBody(packet).value_or("<bad body>"));
        continue;
      }
      char buffer[65536];
      const ssize_t got = ::recv(fd_, buffer, sizeof(buffer), 0);
      if (got <= 0) return reply;
      splitter_.Append(buffer, static_cast<std::size_t>(got));
    }
  }
  // Bytes read from the socket and not yet taken by Next: a poll of the
  // socket does not see them.
  bool HasBuffered() const { return splitter_.Buffered() != 0; }

 private:
  int fd_;
  wire::ReplySplitter splitter_;
};

// One request, one reply, on a fresh reader.
inline Reply RoundTrip(int fd, const std::string& frame) {
  if (!SendAll(fd, frame)) return {};
  return ReplyReader(fd).Next();
}

inline std::size_t CountEntries(const std::string& folder) {
  std::error_code error;
  std::size_t count = 0;
  for (auto it = std::filesystem::directory_iterator(folder, error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    ++count;
  }
  return count;
}

}  // namespace orbe::testing

#endif  // ORBE_TESTS_SERVER_SERVER_FIXTURE_H_
