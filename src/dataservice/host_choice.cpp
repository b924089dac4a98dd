#include "dataservice/host_choice.h"

#include <iterator>

namespace orbe {
namespace {

constexpr std::uint32_t kDefaultCapacity = 3000;
constexpr std::uint64_t kFastReplyMs = 1000;
// Upper ratio bounds of the classes of fast replies, best class first.
constexpr double kClassBounds[] = {0.5, 0.8, 1.0};

bool IsFast(const HostReply& reply) { return reply.elapsed_ms < kFastReplyMs; }

int ClassOf(const HostReply& reply) {
  const double ratio = LoadRatio(reply.load, reply.capacity);
  for (int i = 0; i < static_cast<int>(std::size(kClassBounds)); ++i) {
    if (ratio < kClassBounds[i]) return i;
  }
  return -1;
}

}  // namespace

double LoadRatio(std::uint32_t load, std::uint32_t capacity) {
  return static_cast<double>(load) / static_cast<double>(capacity == 0 ? kDefaultCapacity : capacity);
}

bool DecidesAtOnce(std::uint32_t load, std::uint32_t capacity, std::uint64_t elapsed_ms) {
  return LoadRatio(load, capacity) < kClassBounds[0] && elapsed_ms < kFastReplyMs;
}

int ChooseHost(const std::vector<HostReply>& replies) {
  for (int wanted = 0; wanted < static_cast<int>(std::size(kClassBounds)); ++wanted) {
    int chosen = -1;
    for (const HostReply& reply : replies) {
      if (reply.replied && IsFast(reply) && ClassOf(reply) == wanted) chosen = reply.host_index;
    }
    if (chosen >= 0) return chosen;
  }
  int chosen = -1;
  double best = kClassBounds[std::size(kClassBounds) - 1];
  for (const HostReply& reply : replies) {
    if (!reply.replied) continue;
    const double ratio = LoadRatio(reply.load, reply.capacity);
    if (ratio < best) {
      best = ratio;
      chosen = reply.host_index;
    }
  }
  return chosen;
}

}  // namespace orbe
