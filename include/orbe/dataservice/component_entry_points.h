// The components' entry points belong to the component interfaces in components/protocol,
// which the module, its components and the data server share; this name
// stays for the module's users.
#ifndef ORBE_DATASERVICE_COMPONENT_ENTRY_POINTS_H_
#define ORBE_DATASERVICE_COMPONENT_ENTRY_POINTS_H_

#include "protocol/component_entry_points.h"

#endif  // ORBE_DATASERVICE_COMPONENT_ENTRY_POINTS_H_
