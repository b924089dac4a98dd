// A non-blocking TCP connection to one host, or to its local socket when the
// host is this machine (protocol/local_socket.h). The session's I/O thread owns it;
// other threads only write through it under the session's lock.
#ifndef ORBE_COMPONENTS_ENGINE_TCP_CONNECTION_H_
#define ORBE_COMPONENTS_ENGINE_TCP_CONNECTION_H_

#include <sys/socket.h>
#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace orbe::engine {

// An owned file descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};

// An eventfd that wakes a thread blocked in poll.
class WakeSignal {
 public:
  WakeSignal();
  bool valid() const { return fd_.valid(); }
  int fd() const { return fd_.get(); }
  void Raise();
  void Drain();

 private:
  UniqueFd fd_;
};

// Connecting never blocks: the I/O thread polls the socket for writability
// and then calls AdvanceConnect, so one thread serves many sessions.
class TcpConnection {
 public:
  // Resolves the address and starts connecting to its first usable address;
  // null (and `error` for the log) when none could even be tried.
  static std::unique_ptr<TcpConnection> StartConnect(const std::string& address, int port, std::string* error);

  int fd() const { return fd_.get(); }
  bool connected() const { return connected_; }
  // After the socket polled writable or failed while connecting: true when
  // connected or still trying (a next address); false when every address
  // failed, with `error` saying why.
  bool AdvanceConnect(std::string* error);
  // Writes what the socket takes now; -1 when the connection failed.
  ssize_t WriteSome(const char* data, std::size_t size);
  // Reads what is there; 0 at end of stream, -1 on failure, -2 when nothing is
  // there yet.
  ssize_t ReadSome(char* data, std::size_t size);

  struct Address {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = 0;
  };
  TcpConnection(std::string name, int port, std::vector<Address> addresses)
      : name_(std::move(name)), port_(port), addresses_(std::move(addresses)) {}

 private:
  // Tries addresses from next_ on until one is connecting or connected.
  bool TryNextAddress(std::string* error);

  std::string name_;
  int port_ = 0;
  std::vector<Address> addresses_;
  std::size_t next_ = 0;
  UniqueFd fd_;
  bool connected_ = false;
};

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_TCP_CONNECTION_H_
