// The entry points the module looks up in libFinDataComm and libFinCacheStore,
// by these names and with these signatures.
#ifndef ORBE_PROTOCOL_COMPONENT_ENTRY_POINTS_H_
#define ORBE_PROTOCOL_COMPONENT_ENTRY_POINTS_H_

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

#endif  // ORBE_PROTOCOL_COMPONENT_ENTRY_POINTS_H_
