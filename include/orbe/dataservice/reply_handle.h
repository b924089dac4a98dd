// The engine's request and reply objects belong to the component interfaces in components/protocol,
// which the module, its components and the data server share; this name
// stays for the module's users.
#ifndef ORBE_DATASERVICE_REPLY_HANDLE_H_
#define ORBE_DATASERVICE_REPLY_HANDLE_H_

#include "protocol/reply_handle.h"

#endif  // ORBE_DATASERVICE_REPLY_HANDLE_H_
