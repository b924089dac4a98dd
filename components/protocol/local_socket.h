// The data server's second door for clients on its own machine: an abstract
// Unix socket named after its TCP port. Loopback TCP hands every segment to
// the kernel's network receive path, which a busy machine defers to its
// softirq thread; a Unix socket queues the bytes to the reader and wakes it
// directly, which takes a round trip from a few hundred microseconds in the
// worst cases to tens. Servers and the engine share this one name.
#ifndef ORBE_PROTOCOL_LOCAL_SOCKET_H_
#define ORBE_PROTOCOL_LOCAL_SOCKET_H_

#include <sys/socket.h>
#include <sys/un.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

namespace orbe::wire {

// The abstract address (leading NUL, no file) of the server on TCP `port`;
// returns its length for bind and connect.
inline socklen_t LocalSocketAddress(int port, sockaddr_un* address) {
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  const int written =
      std::snprintf(address->sun_path + 1, sizeof address->sun_path - 1, "orbe-dataserver:%d", port);
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + static_cast<std::size_t>(written));
}

}  // namespace orbe::wire

#endif  // ORBE_PROTOCOL_LOCAL_SOCKET_H_
