#include <pthread.h>
#include <sched.h>

#include "orbe/platform/sync.h"

namespace orbe {

BackgroundWork::BackgroundWork() {
  int policy = 0;
  sched_param former{};
  if (pthread_getschedparam(pthread_self(), &policy, &former) != 0) return;
  // Real-time and idle threads were placed so on purpose; only the normal
  // policy is turned into batch.
  if (policy != SCHED_OTHER) return;
  const sched_param batch{};
  if (pthread_setschedparam(pthread_self(), SCHED_BATCH, &batch) != 0) return;
  former_policy_ = policy;
  former_priority_ = former.sched_priority;
}

BackgroundWork::~BackgroundWork() {
  if (former_policy_ < 0) return;
  sched_param former{};
  former.sched_priority = former_priority_;
  pthread_setschedparam(pthread_self(), former_policy_, &former);
}

}  // namespace orbe
