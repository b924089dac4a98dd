// The proxy the user configured for every connection, from "usercomm.ini".
#ifndef ORBE_ENV_GLOBAL_PROXY_H_
#define ORBE_ENV_GLOBAL_PROXY_H_

#include <optional>
#include <string>

#include "protocol/cw_host_info.h"

namespace orbe {

// Section PROXY (HasProxy) wins over KVXPROXY (HasKvxProxy and buse, type 4).
// Nothing when the path is empty or neither is switched on.
std::optional<CWPROXYINFO> ReadGlobalProxy(const std::string& user_comm_file);

}  // namespace orbe

#endif  // ORBE_ENV_GLOBAL_PROXY_H_
