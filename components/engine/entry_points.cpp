// The entry points the module looks up by name. Nothing is thrown across
// them; engines are owned here and handed out as interface pointers.
#include <algorithm>
#include <memory>
#include <mutex>
#include <set>

#include "data_engine.h"
#include "engine_globals.h"
#include "protocol/component_entry_points.h"

namespace {

using orbe::engine::DataEngine;
using orbe::engine::StartMode;

struct Engines {
  std::mutex mutex;
  std::unique_ptr<DataEngine> shared;
  std::set<std::unique_ptr<DataEngine>, std::less<>> owned_private;
};

Engines& TheEngines() {
  static Engines engines;
  return engines;
}

}  // namespace

#define ORBE_EXPORT extern "C" __attribute__((visibility("default")))

ORBE_EXPORT ICwDataEngin* GetCwDataEnginInstance() {
  Engines& engines = TheEngines();
  std::lock_guard<std::mutex> hold(engines.mutex);
  if (engines.shared == nullptr) engines.shared = std::make_unique<DataEngine>(StartMode::kOnFirstSession);
  return engines.shared.get();
}

ORBE_EXPORT void DelCwDataEnginInstance() {
  std::unique_ptr<DataEngine> engine;
  {
    Engines& engines = TheEngines();
    std::lock_guard<std::mutex> hold(engines.mutex);
    engine.swap(engines.shared);
  }
  // Destroyed outside the lock: its shutdown joins the I/O thread, whose
  // callbacks may ask for the instance.
}

ORBE_EXPORT ICwDataEngin* CreateCwDataEngin() {
  auto engine = std::make_unique<DataEngine>(StartMode::kOnStartSessions);
  ICwDataEngin* face = engine.get();
  Engines& engines = TheEngines();
  std::lock_guard<std::mutex> hold(engines.mutex);
  engines.owned_private.insert(std::move(engine));
  return face;
}

ORBE_EXPORT void DeleteCwDataEngin(ICwDataEngin* engine) {
  std::unique_ptr<DataEngine> owned;
  {
    Engines& engines = TheEngines();
    std::lock_guard<std::mutex> hold(engines.mutex);
    // Only engines made here are deleted; any other pointer is ignored.
    auto it = std::find_if(engines.owned_private.begin(), engines.owned_private.end(),
                           [engine](const auto& candidate) { return candidate.get() == engine; });
    if (it == engines.owned_private.end()) return;
    owned = std::move(engines.owned_private.extract(it).value());
  }
}

ORBE_EXPORT void SetGlobalProxy(CWPROXYINFO* proxy) { orbe::engine::SetGlobalProxyRecord(proxy); }

ORBE_EXPORT void SetTPPushClientNotify(IClientNotify* notify) { orbe::engine::SetPushReceiver(notify); }

// Looked up by the module and never called; accepted and without effect.
ORBE_EXPORT void SetTPSessionOption(int /*option*/) {}
ORBE_EXPORT void SetSSOHandle(void* /*handle*/) {}
