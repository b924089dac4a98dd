// Which door a session to this machine comes through: the server's local
// socket when the host is 127.0.0.1 and a trusted server holds the name, its
// TCP port otherwise. The doors here are bare listeners, so that the test sees
// which one the engine knocks on.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <arpa/inet.h>

#include "components/engine/engine_fixture.h"
#include "protocol/local_socket.h"

namespace orbe_test {
namespace {

// An owned listening socket.
struct Listener {
  int fd = -1;
  ~Listener() {
    if (fd >= 0) ::close(fd);
  }
};

// A TCP listener on `address` and a free port, which it returns.
std::uint16_t ListenTcp(const char* address, Listener* listener) {
  listener->fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in bound{};
  bound.sin_family = AF_INET;
  ::inet_pton(AF_INET, address, &bound.sin_addr);
  socklen_t length = sizeof bound;
  if (::bind(listener->fd, reinterpret_cast<sockaddr*>(&bound), sizeof bound) != 0 ||
      ::listen(listener->fd, 4) != 0 ||
      ::getsockname(listener->fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
    return 0;
  }
  return ntohs(bound.sin_port);
}

bool ListenLocal(std::uint16_t port, Listener* listener) {
  sockaddr_un address{};
  const socklen_t length = orbe::wire::LocalSocketAddress(port, &address);
  listener->fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return ::bind(listener->fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
         ::listen(listener->fd, 4) == 0;
}

// A local door held by another user: a child that drops to `nobody`, binds
// the name and waits to be killed.
class ForeignLocalDoor {
 public:
  explicit ForeignLocalDoor(std::uint16_t port) {
    int ready[2];
    if (::pipe(ready) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      Listener listener;
      const bool bound = ::setgid(65534) == 0 && ::setuid(65534) == 0 && ListenLocal(port, &listener);
      const char answer = bound ? 'y' : 'n';
      [[maybe_unused]] const ssize_t written = ::write(ready[1], &answer, 1);
      ::pause();
      ::_exit(0);
    }
    ::close(ready[1]);
    char answer = 'n';
    held_ = ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
  }
  ~ForeignLocalDoor() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  bool held() const { return held_; }

 private:
  pid_t pid_ = -1;
  bool held_ = false;
};

enum class Door { kNone, kLocal, kTcp };

// The door whose listener gets the engine's connection first.
Door KnockedDoor(const Listener& local, const Listener& tcp) {
  std::vector<pollfd> fds{{tcp.fd, POLLIN, 0}};
  if (local.fd >= 0) fds.push_back({local.fd, POLLIN, 0});
  if (::poll(fds.data(), fds.size(), static_cast<int>(std::chrono::milliseconds(kPatience).count())) <= 0) {
    return Door::kNone;
  }
  return fds.size() > 1 && (fds[1].revents & POLLIN) != 0 ? Door::kLocal : Door::kTcp;
}

enum class LocalDoor { kOpen, kAbsent, kForeign };

struct DoorCase {
  const char* name;
  const char* host;         // what the session is configured with
  const char* tcp_address;  // where the TCP door listens
  LocalDoor local;
  Door expected;
};

TEST(LocalSocketTest, SessionsToThisMachineUseTheLocalSocketOnlyWhenItStandsForTheHost) {
  const DoorCase cases[] = {
      {"127.0.0.1 with a local door", "127.0.0.1", "127.0.0.1", LocalDoor::kOpen, Door::kLocal},
      {"127.0.0.1 without one", "127.0.0.1", "127.0.0.1", LocalDoor::kAbsent, Door::kTcp},
      {"localhost with a local door", "localhost", "127.0.0.1", LocalDoor::kOpen, Door::kLocal},
      {"another loopback address", "127.0.0.2", "127.0.0.2", LocalDoor::kOpen, Door::kTcp},
      {"a door of another user", "127.0.0.1", "127.0.0.1", LocalDoor::kForeign, Door::kTcp},
  };
  EngineLibrary library;
  for (const DoorCase& c : cases) {
    SCOPED_TRACE(c.name);
    Listener tcp;
    const std::uint16_t port = ListenTcp(c.tcp_address, &tcp);
    ASSERT_NE(port, 0);
    Listener local;
    std::unique_ptr<ForeignLocalDoor> foreign;
    if (c.local == LocalDoor::kOpen) {
      ASSERT_TRUE(ListenLocal(port, &local));
    }
    if (c.local == LocalDoor::kForeign) {
      if (::geteuid() != 0) {
        std::printf("skipped \"%s\": only root can hold a door as another user\n", c.name);
        continue;
      }
      foreign = std::make_unique<ForeignLocalDoor>(port);
      ASSERT_TRUE(foreign->held());
    }
    PrivateEngine engine(library);
    CWHOSTINFO host = LoopbackHost(port);
    orbe::CopyToField(host.host, c.host);
    ASSERT_NE(engine->CreateRequestSession(&host, nullptr), nullptr);
    engine->StartSessions(1);
    EXPECT_EQ(KnockedDoor(local, tcp), c.expected);
  }
}

}  // namespace
}  // namespace orbe_test
