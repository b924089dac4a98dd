// Process-wide settings the entry points hand to every engine.
#ifndef ORBE_COMPONENTS_ENGINE_ENGINE_GLOBALS_H_
#define ORBE_COMPONENTS_ENGINE_ENGINE_GLOBALS_H_

#include <optional>

#include "protocol/cw_data_engin.h"
#include "protocol/cw_host_info.h"

namespace orbe::engine {

// Null forgets the proxy.
void SetGlobalProxyRecord(const CWPROXYINFO* proxy);
// Applied to the configured host lists of sessions made afterwards.
std::optional<CWPROXYINFO> GlobalProxyRecord();

// The receiver of pushed messages. The data service defines no push message
// yet, so it is kept for the day it does and never called.
void SetPushReceiver(IClientNotify* notify);
IClientNotify* PushReceiver();

}  // namespace orbe::engine

#endif  // ORBE_COMPONENTS_ENGINE_ENGINE_GLOBALS_H_
