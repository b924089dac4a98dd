// The reply cache's interface belongs to the component interfaces in components/protocol,
// which the module, its components and the data server share; this name
// stays for the module's users.
#ifndef ORBE_DATASERVICE_CW_CACHE_H_
#define ORBE_DATASERVICE_CW_CACHE_H_

#include "protocol/cw_cache.h"

#endif  // ORBE_DATASERVICE_CW_CACHE_H_
