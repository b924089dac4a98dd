// Registered window messages: process-wide ids for widget notifications.
#include <mutex>
#include <string>
#include <unordered_map>

#include "orbe/platform/text.h"
#include "orbe/platform/window.h"
#include "platform/no_destructor.h"

namespace {

constexpr UINT kFirstRegisteredMessage = 0xC000;
constexpr UINT kLastRegisteredMessage = 0xFFFF;

struct MessageRegistry {
  std::mutex mutex;
  std::unordered_map<std::string, UINT> ids;  // keyed by the upper-cased name
  UINT next = kFirstRegisteredMessage;
};

MessageRegistry& Registry() {
  // Never destroyed: globals register their messages during static start-up.
  static orbe::NoDestructor<MessageRegistry> registry;
  return *registry.get();
}

}  // namespace

UINT RegisterWindowMessageA(LPCSTR name) {
  if (name == nullptr || *name == '\0') return 0;
  const std::string key = orbe::AsciiUpper(name);
  MessageRegistry& registry = Registry();
  const std::lock_guard lock(registry.mutex);
  if (const auto it = registry.ids.find(key); it != registry.ids.end()) return it->second;
  if (registry.next > kLastRegisteredMessage) return 0;
  const UINT id = registry.next++;
  registry.ids.emplace(key, id);
  return id;
}
