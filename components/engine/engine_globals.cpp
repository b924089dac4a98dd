#include "engine_globals.h"

#include <mutex>

namespace orbe::engine {
namespace {

struct Globals {
  std::mutex mutex;
  std::optional<CWPROXYINFO> proxy;
  IClientNotify* push = nullptr;
};

Globals& TheGlobals() {
  static Globals globals;
  return globals;
}

}  // namespace

void SetGlobalProxyRecord(const CWPROXYINFO* proxy) {
  Globals& globals = TheGlobals();
  std::lock_guard<std::mutex> hold(globals.mutex);
  globals.proxy.reset();
  if (proxy != nullptr) globals.proxy = *proxy;
}

std::optional<CWPROXYINFO> GlobalProxyRecord() {
  Globals& globals = TheGlobals();
  std::lock_guard<std::mutex> hold(globals.mutex);
  return globals.proxy;
}

void SetPushReceiver(IClientNotify* notify) {
  Globals& globals = TheGlobals();
  std::lock_guard<std::mutex> hold(globals.mutex);
  globals.push = notify;
}

IClientNotify* PushReceiver() {
  Globals& globals = TheGlobals();
  std::lock_guard<std::mutex> hold(globals.mutex);
  return globals.push;
}

}  // namespace orbe::engine
