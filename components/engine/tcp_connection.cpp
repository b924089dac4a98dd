#include "tcp_connection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/eventfd.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "orbe/platform/text.h"
#include "protocol/local_socket.h"

namespace orbe::engine {
namespace {

// Frees an address list on every path out.
struct AddressInfoList {
  addrinfo* head = nullptr;
  ~AddressInfoList() {
    if (head != nullptr) freeaddrinfo(head);
  }
};

UniqueFd OpenSocket(int family) {
  UniqueFd fd(
      socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, family == AF_UNIX ? 0 : IPPROTO_TCP));
  if (!fd.valid() || family == AF_UNIX) return fd;
  // Requests and replies are small and answered one by one: no Nagle delay.
  const int on = 1;
  setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
}

// The one address whose server the local socket stands for: a TCP client of
// 127.0.0.1 reaches the server bound to it or to every address, and that is
// the server that holds the name.
bool IsLocalHost(const sockaddr_storage& address) {
  if (address.ss_family != AF_INET) return false;
  return ntohl(reinterpret_cast<const sockaddr_in&>(address).sin_addr.s_addr) == INADDR_LOOPBACK;
}

// The abstract name has no owner on disk: whoever binds it first holds it.
// Only a server of this user (or of the system) is trusted behind it; any
// other is passed over for the TCP port.
bool TrustedLocalPeer(int fd) {
  ucred peer{};
  socklen_t length = sizeof peer;
  if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return false;
  return peer.uid == getuid() || peer.uid == 0;
}

}  // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.Release();
  }
  return *this;
}

int UniqueFd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void UniqueFd::Reset() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

WakeSignal::WakeSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

void WakeSignal::Raise() {
  const std::uint64_t one = 1;
  // A full counter already wakes the reader; nothing to do on failure.
  [[maybe_unused]] const ssize_t written = write(fd_.get(), &one, sizeof one);
}

void WakeSignal::Drain() {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t got = read(fd_.get(), &count, sizeof count);
}

std::unique_ptr<TcpConnection> TcpConnection::StartConnect(const std::string& address, int port,
                                                           std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  AddressInfoList found;
  const int lookup = getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found.head);
  if (lookup != 0) {
    *error = Format("cannot resolve %s: %s", address.c_str(), gai_strerror(lookup));
    return nullptr;
  }
  std::vector<Address> addresses;
  for (const addrinfo* entry = found.head; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_addrlen > sizeof(sockaddr_storage)) continue;
    Address copy;
    std::memcpy(&copy.storage, entry->ai_addr, entry->ai_addrlen);
    copy.length = entry->ai_addrlen;
    copy.family = entry->ai_family;
    addresses.push_back(copy);
  }
  // A server on this machine is tried through its local socket first.
  if (std::any_of(addresses.begin(), addresses.end(),
                  [](const Address& a) { return IsLocalHost(a.storage); })) {
    Address local;
    local.length = wire::LocalSocketAddress(port, reinterpret_cast<sockaddr_un*>(&local.storage));
    local.family = AF_UNIX;
    addresses.insert(addresses.begin(), local);
  }
  auto connection = std::make_unique<TcpConnection>(address, port, std::move(addresses));
  if (!connection->TryNextAddress(error)) return nullptr;
  return connection;
}

bool TcpConnection::TryNextAddress(std::string* error) {
  if (addresses_.empty()) *error = Format("no address for %s", name_.c_str());
  while (next_ < addresses_.size()) {
    const Address& address = addresses_[next_++];
    fd_ = OpenSocket(address.family);
    if (!fd_.valid()) {
      *error = Format("cannot open a socket: %s", std::strerror(errno));
      continue;
    }
    if (connect(fd_.get(), reinterpret_cast<const sockaddr*>(&address.storage), address.length) == 0) {
      if (address.family == AF_UNIX && !TrustedLocalPeer(fd_.get())) continue;
      connected_ = true;
      return true;
    }
    // A local socket connects at once or not at all (no server, or its
    // backlog full): the TCP port is next.
    if (address.family == AF_UNIX) continue;
    if (errno == EINPROGRESS) return true;
    *error = Format("cannot connect to %s:%d: %s", name_.c_str(), port_, std::strerror(errno));
  }
  fd_.Reset();
  return false;
}

bool TcpConnection::AdvanceConnect(std::string* error) {
  if (connected_) return true;
  int result = 0;
  socklen_t length = sizeof result;
  if (getsockopt(fd_.get(), SOL_SOCKET, SO_ERROR, &result, &length) != 0) result = errno;
  if (result == 0) {
    connected_ = true;
    return true;
  }
  if (result == EINPROGRESS || result == EALREADY) return true;
  *error = Format("cannot connect to %s:%d: %s", name_.c_str(), port_, std::strerror(result));
  return TryNextAddress(error);
}

ssize_t TcpConnection::WriteSome(const char* data, std::size_t size) {
  for (;;) {
    const ssize_t written = send(fd_.get(), data, size, MSG_NOSIGNAL);
    if (written >= 0) return written;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
  }
}

ssize_t TcpConnection::ReadSome(char* data, std::size_t size) {
  for (;;) {
    const ssize_t got = recv(fd_.get(), data, size, 0);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    return errno == EAGAIN || errno == EWOULDBLOCK ? -2 : -1;
  }
}

}  // namespace orbe::engine
