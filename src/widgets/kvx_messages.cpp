#include "orbe/widgets/kvx_messages.h"

#include <array>

#include "orbe/platform/window.h"

namespace orbe {
namespace {

constexpr std::size_t kMessageCount = static_cast<std::size_t>(KvxMessage::kCount);

const std::array<UINT, kMessageCount>& Ids() {
  static const std::array<UINT, kMessageCount> ids = [] {
    std::array<UINT, kMessageCount> registered{};
    for (std::size_t i = 0; i < kMessageCount; ++i) registered[i] = RegisterWindowMessageA(kKvxMessageNames[i]);
    return registered;
  }();
  return ids;
}

}  // namespace

void RegisterKvxMessages() { Ids(); }

UINT KvxMessageId(KvxMessage message) {
  const auto index = static_cast<std::size_t>(message);
  return index < kMessageCount ? Ids()[index] : 0;
}

KvxMessage KvxMessageOf(UINT id) {
  const std::array<UINT, kMessageCount>& ids = Ids();
  for (std::size_t i = 0; i < kMessageCount; ++i) {
    if (id != 0 && ids[i] == id) return static_cast<KvxMessage>(i);
  }
  return KvxMessage::kCount;
}

}  // namespace orbe
