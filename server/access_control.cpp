#include "access_control.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>

#include "orbe/platform/text.h"

namespace orbe::server {

std::optional<std::uint32_t> ParseAddress(std::string_view text) {
  const std::string copy(TrimBlanks(text));
  in_addr address{};
  if (copy.empty() || ::inet_pton(AF_INET, copy.c_str(), &address) != 1) return std::nullopt;
  return ntohl(address.s_addr);
}

std::optional<Network> ParseNetwork(std::string_view text) {
  text = TrimBlanks(text);
  const std::size_t slash = text.find('/');
  const auto address = ParseAddress(text.substr(0, slash));
  if (!address) return std::nullopt;
  int bits = 32;
  if (slash != std::string_view::npos) {
    const std::string_view length = text.substr(slash + 1);
    const auto [end, ec] = std::from_chars(length.data(), length.data() + length.size(), bits);
    if (length.empty() || ec != std::errc() || end != length.data() + length.size() || bits < 0 || bits > 32) {
      return std::nullopt;
    }
  }
  const std::uint32_t mask = bits == 0 ? 0 : ~std::uint32_t{0} << (32 - bits);
  if ((*address & ~mask) != 0) return std::nullopt;
  return Network{*address, mask};
}

bool ParseNetworks(std::string_view text, std::vector<Network>* networks, std::string* error) {
  networks->clear();
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view entry = TrimBlanks(text.substr(start, comma - start));
    start = comma + 1;
    if (entry.empty()) continue;
    const auto network = ParseNetwork(entry);
    if (!network) {
      *error = "not a network (a.b.c.d/n with the host bits zero): " + std::string(entry);
      return false;
    }
    networks->push_back(*network);
  }
  if (networks->empty()) {
    *error = "an empty list of networks";
    return false;
  }
  return true;
}

bool AccessPolicy::Admits(const sockaddr_in& peer) const {
  const std::uint32_t host = ntohl(peer.sin_addr.s_addr);
  return std::any_of(allowed.begin(), allowed.end(), [host](const Network& network) { return network.Contains(host); });
}

std::string PeerText(const sockaddr_in& peer) {
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &peer.sin_addr, text, sizeof(text));
  return Format("%s:%u", text, ntohs(peer.sin_port));
}

}  // namespace orbe::server
