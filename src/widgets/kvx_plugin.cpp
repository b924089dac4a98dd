#include <mutex>

#include "orbe/platform/loader.h"
#include "orbe/widgets/kvx_functions.h"

namespace {

using PluginInitFn = BOOL (*)();
using PluginUninitFn = void (*)();

std::mutex& PluginMutex() {
  static std::mutex mutex;
  return mutex;
}

HMODULE& LoadedPlugin() {
  static HMODULE module = nullptr;
  return module;
}

// Caller holds PluginMutex.
void UnloadLocked() {
  HMODULE& module = LoadedPlugin();
  if (module == nullptr) return;
  if (const auto uninit = GetProcAddressAs<PluginUninitFn>(module, "PluginUninit")) uninit();
  FreeLibrary(module);
  module = nullptr;
}

}  // namespace

BOOL LoadPluginDll(const std::string& name) {
  const std::lock_guard<std::mutex> lock(PluginMutex());
  UnloadLocked();
  const HMODULE module = LoadLibraryA(name.c_str());
  if (module == nullptr) return FALSE;
  const auto init = GetProcAddressAs<PluginInitFn>(module, "PluginInit");
  if (init != nullptr && !init()) {
    // A plug-in that refused to start gets no stop call either.
    FreeLibrary(module);
    return FALSE;
  }
  LoadedPlugin() = module;
  return TRUE;
}

void UnLoadPluginDll() {
  const std::lock_guard<std::mutex> lock(PluginMutex());
  UnloadLocked();
}
