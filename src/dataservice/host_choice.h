// The rules by which the host test picks a data host from the hosts' replies
// to the host-load request.
#ifndef ORBE_DATASERVICE_HOST_CHOICE_H_
#define ORBE_DATASERVICE_HOST_CHOICE_H_

#include <cstdint>
#include <vector>

namespace orbe {

struct HostReply {
  int host_index = 0;  // zero-based, as PrimaryCWHost counts
  bool replied = false;
  std::uint64_t elapsed_ms = 0;  // from the start of the test to the reply
  std::uint32_t load = 0;
  std::uint32_t capacity = 0;
};

// A host that reports no capacity counts as serving 3000.
double LoadRatio(std::uint32_t load, std::uint32_t capacity);
// A reply this fast from a host this idle ends the test at once.
bool DecidesAtOnce(std::uint32_t load, std::uint32_t capacity, std::uint64_t elapsed_ms);
// Among the replies within 1 s: ratio below 0.5, else below 0.8, else below
// 1.0, the last such entry winning; else the entry with the smallest ratio
// below 1.0 whatever its time (the first of equals). The host index of the
// choice, or -1 when no host qualifies.
int ChooseHost(const std::vector<HostReply>& replies);

}  // namespace orbe

#endif  // ORBE_DATASERVICE_HOST_CHOICE_H_
