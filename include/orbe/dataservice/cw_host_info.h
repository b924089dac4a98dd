// The host records belong to the component interfaces in components/protocol,
// which the module, its components and the data server share; this name
// stays for the module's users.
#ifndef ORBE_DATASERVICE_CW_HOST_INFO_H_
#define ORBE_DATASERVICE_CW_HOST_INFO_H_

#include "protocol/cw_host_info.h"

#endif  // ORBE_DATASERVICE_CW_HOST_INFO_H_
