// The client end of the server benchmarks: a loopback connection with
// Nagle's delay off, as the engine makes it.
#ifndef ORBE_BENCH_LOOPBACK_CLIENT_H_
#define ORBE_BENCH_LOOPBACK_CLIENT_H_

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <cstdint>

#include "unique_fd.h"

namespace orbe_bench {

inline orbe::server::UniqueFd ConnectLoopback(std::uint16_t port) {
  orbe::server::UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address));
  const int on = 1;
  ::setsockopt(fd.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof(on));
  return fd;
}

}  // namespace orbe_bench

#endif  // ORBE_BENCH_LOOPBACK_CLIENT_H_
