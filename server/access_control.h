// Who may talk to the server and who may change its data: an allow list of
// client networks, and whether writes are served at all (docs/deploy.md).
#ifndef ORBE_SERVER_ACCESS_CONTROL_H_
#define ORBE_SERVER_ACCESS_CONTROL_H_

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbe::server {

// An IPv4 network, in host byte order.
struct Network {
  std::uint32_t address = 0;
  std::uint32_t mask = 0;
  bool Contains(std::uint32_t host) const { return (host & mask) == address; }
  bool operator==(const Network&) const = default;
};

inline constexpr Network kLoopbackNetwork{0x7F000000u, 0xFF000000u};  // 127.0.0.0/8

// "a.b.c.d/n" or a plain address (/32); host bits must be zero, so that a
// typo such as 10.1.2.3/8 is not taken for a larger network than meant.
std::optional<Network> ParseNetwork(std::string_view text);
// A ","-separated list; false with `error` naming the bad entry.
bool ParseNetworks(std::string_view text, std::vector<Network>* networks, std::string* error);
// A dotted IPv4 address in host byte order.
std::optional<std::uint32_t> ParseAddress(std::string_view text);

struct AccessPolicy {
  // Not a braced list: GCC 12 warns of a maybe-uninitialized temporary there.
  std::vector<Network> allowed = std::vector<Network>(1, kLoopbackNetwork);
  bool writable = true;

  bool Admits(const sockaddr_in& peer) const;
};

// "a.b.c.d:port" of a client, for log lines.
std::string PeerText(const sockaddr_in& peer);

}  // namespace orbe::server

#endif  // ORBE_SERVER_ACCESS_CONTROL_H_
