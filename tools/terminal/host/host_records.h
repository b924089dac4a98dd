// The host's answer layouts are the module's public contract.
#ifndef ORBE_TOOLS_TERMINAL_HOST_HOST_RECORDS_H_
#define ORBE_TOOLS_TERMINAL_HOST_HOST_RECORDS_H_

#include "orbe/host_records.h"

#endif  // ORBE_TOOLS_TERMINAL_HOST_HOST_RECORDS_H_
