#include "tcp_connection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "orbe/platform/text.h"

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
  UniqueFd fd(socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP));
  if (!fd.valid()) return fd;
  // Requests and replies are small and answered one by one: no Nagle delay.
  const int on = 1;
  setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return fd;
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
      connected_ = true;
      return true;
    }
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
