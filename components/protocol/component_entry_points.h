// The entry points the module looks up in libFinDataComm and libFinCacheStore,
// by these names and with these signatures.
#ifndef ORBE_PROTOCOL_COMPONENT_ENTRY_POINTS_H_
#define ORBE_PROTOCOL_COMPONENT_ENTRY_POINTS_H_

#include <memory>

#include "protocol/cw_cache.h"
#include "protocol/cw_data_engin.h"
#include "protocol/cw_host_info.h"

extern "C" {
// The shared engine, made on first call; DelCwDataEnginInstance releases it.
using GetCwDataEnginInstanceProc = ICwDataEngin* (*)();
using DelCwDataEnginInstanceProc = void (*)();
// A private engine of the caller.
using CreateCwDataEnginProc = ICwDataEngin* (*)();
using DeleteCwDataEnginProc = void (*)(ICwDataEngin* engine);
using SetGlobalProxyProc = void (*)(CWPROXYINFO* proxy);
// Null detaches the receiver.
using SetTPPushClientNotifyProc = void (*)(IClientNotify* notify);
// Looked up, never called by the module.
using SetTPSessionOptionProc = void (*)(int option);
using SetSSOHandleProc = void (*)(void* handle);

// Extra arguments are reserved and passed as 0.
using CreateTCwCacheInstanceProc = ITCwcache* (*)(const char* directory, int reserved1, int reserved2);
using DeleteTCwCacheInstanceProc = void (*)(ITCwcache* cache);
}  // extern "C"

namespace orbe {

// The entry points of one loaded component, each null when it is missing.
struct EngineEntryPoints {
  GetCwDataEnginInstanceProc GetCwDataEnginInstance = nullptr;
  DelCwDataEnginInstanceProc DelCwDataEnginInstance = nullptr;
  CreateCwDataEnginProc CreateCwDataEngin = nullptr;
  DeleteCwDataEnginProc DeleteCwDataEngin = nullptr;
  SetGlobalProxyProc SetGlobalProxy = nullptr;
  SetTPSessionOptionProc SetTPSessionOption = nullptr;
  SetSSOHandleProc SetSSOHandle = nullptr;
  SetTPPushClientNotifyProc SetTPPushClientNotify = nullptr;
};

struct CacheEntryPoints {
  CreateTCwCacheInstanceProc CreateTCwCacheInstance = nullptr;
  DeleteTCwCacheInstanceProc DeleteTCwCacheInstance = nullptr;
};

// Objects made by a component's create entry point and handed back to its
// delete entry point.
template <typename Object, typename Delete>
struct ComponentDeleter {
  Delete destroy = nullptr;
  void operator()(Object* object) const {
    if (destroy != nullptr) destroy(object);
  }
};
using CachePtr = std::unique_ptr<ITCwcache, ComponentDeleter<ITCwcache, DeleteTCwCacheInstanceProc>>;
using PrivateEnginePtr = std::unique_ptr<ICwDataEngin, ComponentDeleter<ICwDataEngin, DeleteCwDataEnginProc>>;

}  // namespace orbe

#endif  // ORBE_PROTOCOL_COMPONENT_ENTRY_POINTS_H_
